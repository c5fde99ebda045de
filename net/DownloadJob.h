#pragma once
// One file download of the installation engine: what to fetch, where to, the probed size and
// the engine's report handler. Run by RunDownloadJob (net/RunDownloadJob.h).
#include "net/DownloadStatus.h"
#include "net/ResumableDownload.h"

#include <cstdint>
#include <functional>
#include <string>

using DownloadReportHandler = std::function<void(const DownloadStatusInfo&)>;

class CDownloadJob : public IDownloadCallback {
public:
    CDownloadJob() = default;
    CDownloadJob(std::wstring url, std::wstring local_path)
        : url(std::move(url)), local_path(std::move(local_path)) {}

    // Passes a report on to `callback`, first stamping the probed size into it as `total`.
    void OnDownloadStatus(DownloadStatusInfo& status) override;

    std::wstring url;
    std::wstring local_path;
    int64_t size = 0;                                // found by the probe; 0 before it
    ICancelRequest* cancel_source = nullptr;         // the cancel query the job observes; not owned
    DownloadReportHandler callback;                  // may be empty
    DownloadFailure failure = DownloadFailure::None; // why the last run did not end with the file

    // Bytes the transfer has reported so far, kept whether or not there is a callback.
    uint64_t received() const noexcept { return received_; }

private:
    uint64_t received_ = 0;
};
