#pragma once
// A report sink for the Windows download tests: keeps every report with the tick it arrived at.
#include "net/DownloadStatus.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace nettest {

struct TimedReport {
    DownloadStatusInfo info;
    ULONGLONG tick;
};

class CTimedReportLog final : public IDownloadCallback {
public:
    void OnDownloadStatus(DownloadStatusInfo& status) override { Add(status); }

    void Add(const DownloadStatusInfo& status) {
        reports.push_back({status, ::GetTickCount64()});
        if (on_report)
            on_report(status);
    }

    std::vector<TimedReport> reports;
    std::function<void(const DownloadStatusInfo&)> on_report;
};

} // namespace nettest
