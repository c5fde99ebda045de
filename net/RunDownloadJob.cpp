#include "net/RunDownloadJob.h"

#include "net/DownloadFileTarget.h"
#include "net/HttpRules.h"
#include "net/ResumableDownload.h"
#include "net/WinInetTransport.h"

#include <windows.h>

#include <ctime>
#include <exception>
#include <random>

uint32_t retry_wait_percent = 100;

namespace {

void ReportAborted(CDownloadJob& job, DownloadStatusInfo& report) {
    report.state = DownloadState::Aborted;
    try {
        job.OnDownloadStatus(report);
    } catch (const std::exception&) {
        // The handler failed once already; the result says enough.
    }
}

// Waits in short slices so that a cancel ends a wait at once and a pause holds it.
class CTransferClock final : public ITransferClock {
public:
    explicit CTransferClock(ICancelRequest& cancel) : cancel_(cancel), random_(std::random_device{}()) {}

    bool Wait(uint32_t ms) override {
        const uint64_t wait = static_cast<uint64_t>(ms) * retry_wait_percent / 100;
        uint64_t waited = 0;
        while (waited < wait) {
            if (cancel_.IsCancelRequested())
                return false;
            ::Sleep(kPauseRecheckMs);
            if (!cancel_.IsPauseRequested())
                waited += kPauseRecheckMs;
        }
        return !cancel_.IsCancelRequested();
    }
    void PauseNap() override { ::Sleep(kPauseRecheckMs); }
    uint32_t Random() override { return random_(); }
    int64_t NowUnixSeconds() override { return static_cast<int64_t>(std::time(nullptr)); }
    uint64_t NowMs() override { return ::GetTickCount64(); }

private:
    ICancelRequest& cancel_;
    std::mt19937 random_;
};

// The job's file, telling the job its length as soon as the answer gives it, so that every
// report carries it as its total.
class CJobTarget final : public IDownloadTarget {
public:
    CJobTarget(CDownloadJob& job, IDownloadTarget& file) noexcept : job_(job), file_(file) {}

    TargetReady Prepare(uint64_t length) override {
        job_.size = static_cast<int64_t>(length);
        return file_.Prepare(length);
    }
    void WriteBatch(uint64_t offset, const uint8_t* data, size_t size) override {
        file_.WriteBatch(offset, data, size);
    }
    void Flush() override { file_.Flush(); }

private:
    CDownloadJob& job_;
    IDownloadTarget& file_;
};

} // namespace

bool RunDownloadJob(CDownloadJob& job, ICancelRequest* cancel, DownloadReportHandler callback) {
    if (!cancel)
        return false;
    job.cancel_source = cancel;
    job.callback = std::move(callback);
    DownloadStatusInfo report;
    if (cancel->IsCancelRequested()) {
        report.state = DownloadState::Aborted;
        job.OnDownloadStatus(report);
        return false;
    }

    CDownloadFileTarget target(job.local_path);
    DownloadOutcome outcome;
    try {
        report.state = DownloadState::InProgress;
        job.OnDownloadStatus(report);
        CWinInetTransport transport(job.url);
        CTransferClock clock(*cancel);
        DownloadStatusInfo status;
        CJobTarget job_target(job, target);
        outcome = RunResumableDownload(job.url, transport, job_target, *cancel, job, clock, status);
        job.size = outcome.length;
        job.failure = outcome.failure;
        // Nothing was created for an answer that never became the file: no final report, as
        // for a rejected probe.
        if (target.created()) {
            target.Close();
            if (outcome.failure == DownloadFailure::Cancelled) {
                status.state = DownloadState::Cancelled;
                ::Sleep(kCancelSettleMs);
            } else {
                status.state = DownloadState::Ended;
            }
            job.OnDownloadStatus(status);
        }
    } catch (const std::exception&) {
        ReportAborted(job, report);
        job.failure = DownloadFailure::Unreachable;
        outcome.failure = DownloadFailure::Unreachable;
    }
    target.Close();
    const bool complete = outcome.complete() && IsCompleteDownload(job.size, job.received());
    // A file that is not whole must not pass for the file: a later step would install it. After
    // a cancel the bytes already written stay.
    if (target.created() && !complete && !cancel->IsCancelRequested())
        ::DeleteFileW(job.local_path.c_str());
    return complete;
}
