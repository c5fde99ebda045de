#pragma once
// Progress reports of a download and the interfaces a transfer talks to: the report sink and
// the cancel query.
#include <cstdint>
#include <string>

enum class DownloadState : int32_t {
    InProgress = 2, // the transfer has started or advanced
    Ended = 3,      // the transfer is over; the operation's result says whether it succeeded
    Cancelled = 4,  // the transfer stopped because of a cancel
    Aborted = 5,    // the job stopped before or outside the transfer
};

struct DownloadStatusInfo {
    DownloadState state{}; // 0 until the first report
    uint64_t received = 0;
    uint64_t total = 0;
    uint32_t error_code = 0;
    std::wstring message;
};

class IDownloadCallback {
public:
    virtual void OnDownloadStatus(DownloadStatusInfo& status) = 0;

protected:
    ~IDownloadCallback() = default;
};

// Answered at once from signals another thread sets; never waits.
class ICancelRequest {
public:
    virtual bool IsCancelRequested() = 0;
    virtual bool IsPauseRequested() = 0;

protected:
    ~ICancelRequest() = default;
};
