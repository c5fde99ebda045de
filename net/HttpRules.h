#pragma once
// The rules the HTTP client applies to what a server answers, kept free of WinINet.
#include <cstdint>
#include <string_view>

// Read and batch sizes of the transfers. A file is read in large pieces (a read returns what has
// arrived, up to its size) and written in batches; what was written is flushed at most once per
// interval and at the end, since a resumed transfer continues from what is on disk.
inline constexpr uint32_t kFileReadSize = 65536;
inline constexpr uint32_t kFileBatchSize = 1u << 20;
inline constexpr uint32_t kFlushIntervalMs = 1000;
inline constexpr uint32_t kStreamReadSize = 16384;

// How long a paused transfer sleeps between its checks: short enough that a resumed download
// goes on at once, long enough that a pause costs next to no CPU.
inline constexpr uint32_t kPauseRecheckMs = 20;
// The pause before a cancelled transfer's final report.
inline constexpr uint32_t kCancelSettleMs = 500;

// The size probe accepts every status from 200 to 500 except 403 and 404.
bool IsAcceptedProbeStatus(uint32_t status) noexcept;

// A small document is only taken from a 2xx answer.
bool IsSuccessStatus(uint32_t status) noexcept;

// The value of a Content-Length header as a 64-bit count; 0 when it is not a plain decimal
// number that fits (surrounding blanks are allowed).
int64_t ParseContentLength(std::wstring_view text) noexcept;

// A downloaded file is complete only when it holds exactly the probed number of bytes.
bool IsCompleteDownload(int64_t probed_size, uint64_t received) noexcept;
