#pragma once
// When a file transfer is tried again, how long it waits first, and whether a range answer
// continues the bytes already on disk. Free of WinINet: error numbers are plain values.
#include <cstdint>
#include <optional>
#include <string_view>

// A file is tried at most this many times; waits between tries grow from the base to the cap.
inline constexpr int kMaxAttempts = 5;
inline constexpr uint32_t kBackoffBaseMs = 1000;
inline constexpr uint32_t kBackoffCapMs = 30000;

// Statuses that say "not now" rather than "never": 408, 429, 500, 502, 503, 504.
bool IsTransientStatus(uint32_t status) noexcept;

// Errors of a request or a read that another try may not meet: no connection, a connection
// reset or aborted, a name that did not resolve, a timeout, a garbled answer.
bool IsTransientError(uint32_t error) noexcept;

// The wait before try `attempt` + 1 (attempt counts from 1) with full jitter: uniform in
// [0, min(cap, base × 2^(attempt − 1))], drawn from `random`.
uint32_t BackoffDelayMs(int attempt, uint32_t random) noexcept;

// A Retry-After value in milliseconds: delta seconds, or an HTTP date taken against `now_unix`
// (seconds since 1970); a date in the past is 0. Nothing when the text is neither.
std::optional<uint64_t> ParseRetryAfterMs(std::wstring_view text, int64_t now_unix) noexcept;

// The wait before the next try: the server's Retry-After when it gave one (never above the
// cap), else the backoff.
uint32_t RetryWaitMs(uint32_t backoff_ms, std::optional<uint64_t> retry_after_ms) noexcept;

// "bytes FIRST-LAST/TOTAL" of a Content-Range header; TOTAL may be "*" (unknown: -1).
struct ContentRange {
    int64_t first = 0;
    int64_t last = 0;
    int64_t total = -1;
};
std::optional<ContentRange> ParseContentRange(std::wstring_view text) noexcept;

// A 206 continues a file of `length` bytes from `offset` only when its range starts there,
// runs to the file's end and names that same total.
bool ContinuesFileAt(const ContentRange& range, uint64_t offset, int64_t length) noexcept;

// A file is only started when its volume can take it with some room to spare.
inline constexpr uint64_t kFreeSpaceMarginBytes = 16ull << 20;
bool HasRoomFor(uint64_t free_bytes, uint64_t length) noexcept;
