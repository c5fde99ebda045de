// What a download job passes on to the engine's report handler.
#include "net/DownloadJob.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DownloadJobReports, CarryTheProbedSizeAsTotalOnceThereIsOne) {
    std::vector<DownloadStatusInfo> seen;
    CDownloadJob job(L"http://127.0.0.1/a.bin", L"a.bin");
    job.callback = [&](const DownloadStatusInfo& s) { seen.push_back(s); };

    DownloadStatusInfo start;
    start.state = DownloadState::InProgress;
    job.OnDownloadStatus(start);

    job.size = 3000000000LL;
    DownloadStatusInfo progress;
    progress.state = DownloadState::InProgress;
    progress.received = 4096;
    job.OnDownloadStatus(progress);
    DownloadStatusInfo end;
    end.state = DownloadState::Ended;
    end.received = 8192;
    end.total = 17; // whatever the sender put there
    job.OnDownloadStatus(end);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].total, 0u) << "before the probe there is no size";
    EXPECT_EQ(seen[1].total, 3000000000ULL);
    EXPECT_EQ(seen[2].total, 3000000000ULL);
    EXPECT_EQ(end.total, 3000000000ULL) << "the sender's record is stamped in place";
    EXPECT_EQ(seen[2].received, 8192u);
    EXPECT_EQ(job.received(), 8192u);
}

TEST(DownloadJobReports, WithoutCallbackNothingIsCalledButTheCountIsKept) {
    CDownloadJob job(L"http://127.0.0.1/a.bin", L"a.bin");
    job.size = 100;
    DownloadStatusInfo progress;
    progress.received = 60;
    job.OnDownloadStatus(progress);
    EXPECT_EQ(progress.total, 0u) << "an unforwarded report is left as it was";
    EXPECT_EQ(job.received(), 60u);
}
