#pragma once
// The rules the HTTP client applies to what a server answers, kept free of WinINet.
#include <cstdint>
#include <string_view>

// Read and batch sizes of the transfers.
inline constexpr uint32_t kFileReadSize = 4096;
inline constexpr uint32_t kFileBatchSize = 40960;
inline constexpr uint32_t kStreamReadSize = 16384;

// The size probe accepts every status from 200 to 500 except 403 and 404.
bool IsAcceptedProbeStatus(uint32_t status) noexcept;

// A small document is only taken from a 2xx answer.
bool IsSuccessStatus(uint32_t status) noexcept;

// The value of a Content-Length header as a 64-bit count; 0 when it is not a plain decimal
// number that fits (surrounding blanks are allowed).
int64_t ParseContentLength(std::wstring_view text) noexcept;

// A downloaded file is complete only when it holds exactly the probed number of bytes.
bool IsCompleteDownload(int64_t probed_size, uint64_t received) noexcept;
