#include "net/DownloadJob.h"

void CDownloadJob::OnDownloadStatus(DownloadStatusInfo& status) {
    received_ = status.received;
    if (!callback)
        return;
    if (size != 0)
        status.total = static_cast<uint64_t>(size);
    callback(status);
}
