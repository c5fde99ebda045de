#pragma once
// One file fetched whole over an unreliable network, independent of WinINet: the first answer
// is the size probe and, when it is a 2xx, already the file's bytes; a transfer that breaks off
// continues with a range request from what is on disk; transient failures are tried again after
// a growing, jittered wait. Every attempt, wait and resume point goes to the diagnostic channel.
#include "net/DownloadStatus.h"
#include "net/TransferLoop.h"

#include <cstdint>
#include <memory>
#include <string>

// What a server answered, as far as the transfer needs it.
struct ResponseHead {
    uint32_t status = 0;
    bool has_length = false;
    int64_t length = 0;         // Content-Length, when has_length
    std::wstring content_range; // empty: none
    std::wstring retry_after;   // empty: none
};

// A sent request whose head has arrived; its body is read through Body(). Destroying it closes
// the request.
class IFileResponse {
public:
    virtual ~IFileResponse() = default;
    virtual const ResponseHead& Head() const = 0;
    virtual IByteSource& Body() = 0;
};

struct SendResult {
    std::unique_ptr<IFileResponse> response; // null: no answer came
    uint32_t error = 0;                      // why, when there is no answer
    std::wstring message;                    // the failure text of the step that failed
};

class IFileTransport {
public:
    // Sends the file's GET; with "Range: bytes=OFFSET-" when `offset` is not 0.
    virtual SendResult Send(uint64_t offset) = 0;

protected:
    ~IFileTransport() = default;
};

enum class TargetReady { Ready, NoRoom, CannotCreate };

// The local file. Prepare is called once, with the length, before the first byte is written.
class IDownloadTarget : public IBatchWriter {
public:
    virtual TargetReady Prepare(uint64_t length) = 0;

protected:
    ~IDownloadTarget() = default;
};

// Time as the transfer sees it: waits between attempts, the pause nap, the clocks.
class ITransferClock {
public:
    // Waits `ms`; false as soon as a cancel comes. A pause keeps it waiting.
    virtual bool Wait(uint32_t ms) = 0;
    // The short sleep between checks while paused.
    virtual void PauseNap() = 0;
    virtual uint32_t Random() = 0;
    virtual int64_t NowUnixSeconds() = 0;
    virtual uint64_t NowMs() = 0;

protected:
    ~ITransferClock() = default;
};

enum class DownloadFailure {
    None,
    Cancelled,
    Unreachable,   // no answer, or transient failures until the attempts ran out
    Rejected,      // a status that never becomes the file (probe-rejected, or not 2xx)
    NoLength,      // the first answer has no usable Content-Length
    NoRoom,        // the volume cannot take the file
    CannotCreate,  // the local file could not be created
    Changed,       // a resume answer that does not continue this file
    LengthMismatch // a complete body that does not make the file's length
};

struct DownloadOutcome {
    DownloadFailure failure = DownloadFailure::None;
    int64_t length = 0;  // the probed length; 0 before the first usable answer
    uint32_t status = 0; // the last status seen
    int attempts = 0;    // requests counted against kMaxAttempts
    bool complete() const noexcept { return failure == DownloadFailure::None; }
};

// Runs the whole download of `url` (named only in diagnostics). Reports go to `sink` as the read
// loop makes them; `status` keeps the running count and, on failure, error_code and message.
// The final report is the caller's.
DownloadOutcome RunResumableDownload(const std::wstring& url, IFileTransport& transport,
                                     IDownloadTarget& target, ICancelRequest& cancel, IDownloadCallback& sink,
                                     ITransferClock& clock, DownloadStatusInfo& status);
