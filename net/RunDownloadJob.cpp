#include "net/RunDownloadJob.h"

#include "framework/File.h"
#include "net/HttpClient.h"
#include "net/HttpRules.h"

#include <exception>

namespace {

constexpr unsigned kCreateForDownload =
    CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary | CFile::osRandomAccess;

void ReportAborted(CDownloadJob& job, DownloadStatusInfo& report) {
    report.state = DownloadState::Aborted;
    try {
        job.OnDownloadStatus(report);
    } catch (const std::exception&) {
        // The handler failed once already; the result says enough.
    }
}

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

    CFile file;
    bool transferred = false;
    try {
        report.state = DownloadState::InProgress;
        job.OnDownloadStatus(report);
        job.size = QueryContentLength(job.url);
        if (job.size == 0)
            return false;
        report.received = 0;
        report.total = static_cast<uint64_t>(job.size);
        if (!file.Open(job.local_path, kCreateForDownload))
            return false;
        transferred = DownloadToFile(*cancel, job.url, file, job);
    } catch (const std::exception&) {
        ReportAborted(job, report);
    }
    bool created = file.IsOpen();
    file.Close();
    // A body that ended early (connection dropped, a server that announced more than it sent)
    // must not pass for the file: a later step would install it.
    bool complete = transferred && IsCompleteDownload(job.size, job.received());
    if (created && !complete && !cancel->IsCancelRequested())
        ::DeleteFileW(job.local_path.c_str());
    return complete;
}
