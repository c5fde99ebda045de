// Download jobs end to end: report sequences, results and what is left on disk.
#include "net/InternetSession.h"
#include "net/RunDownloadJob.h"
#include "tests/net/CancelEvents.h"
#include "tests/net/NetServers.h"
#include "tests/net/ReportLog.h"
#include "tests/net/ShortWaits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <thread>

using namespace nettest;

namespace {

struct JobRun {
    CCancelEvents events;
    CDownloadJob job;
    CTimedReportLog log;
    bool result = false;

    JobRun(const std::wstring& url, const std::wstring& file_name = L"job.bin")
        : job(url, FreshDownloadFolder() + L"\\" + file_name) {}

    bool Run() {
        result = RunDownloadJob(job, &events.query, [this](const DownloadStatusInfo& s) { log.Add(s); });
        return result;
    }

    const std::vector<TimedReport>& Reports() const { return log.reports; }
    const DownloadStatusInfo& Last() const { return log.reports.back().info; }

    // InProgress 0 of 0, then pairs of InProgress reports with total = the probed size, then
    // the final report, also with that total.
    void ExpectJobSequence(uint64_t size, DownloadState final_state) const {
        const auto& r = log.reports;
        ASSERT_GE(r.size(), 2u);
        EXPECT_EQ(r.front().info.state, DownloadState::InProgress);
        EXPECT_EQ(r.front().info.received, 0u);
        EXPECT_EQ(r.front().info.total, 0u);
        ASSERT_EQ((r.size() - 2) % 2, 0u);
        for (size_t i = 1; i + 1 < r.size(); i += 2) {
            EXPECT_EQ(r[i].info.state, DownloadState::InProgress);
            EXPECT_EQ(r[i + 1].info.received, r[i].info.received);
            EXPECT_EQ(r[i].info.total, size);
            EXPECT_EQ(r[i + 1].info.total, size);
        }
        EXPECT_EQ(r.back().info.state, final_state);
        EXPECT_EQ(r.back().info.total, size);
    }
};

} // namespace

TEST(RunDownloadJob, DownloadsTheFileAndStampsEveryReportWithTheProbedSize) {
    struct Case {
        const wchar_t* server;
        const wchar_t* path;
        uint64_t size;
    };
    const Case cases[] = {
        {L"http", L"/files/small.bin", 1000},
        {L"http", L"/files/pages.bin", 25 * 4096},
        {L"http", L"/files/large.bin", 4 * 1024 * 1024 + 123},
        {L"fault", L"/status/200?len=777", 777},
        {L"fault", L"/status/206?len=778", 778},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        JobRun run(ServerUrl(c.server, c.path));
        EXPECT_TRUE(run.Run());
        EXPECT_EQ(run.job.size, static_cast<int64_t>(c.size));
        EXPECT_TRUE(HoldsPattern(run.job.local_path, c.size));
        run.ExpectJobSequence(c.size, DownloadState::Ended);
        EXPECT_EQ(run.Last().received, c.size);
        EXPECT_EQ(run.job.cancel_source, &run.events.query);
    }
}

TEST(RunDownloadJob, WithoutCancelQueryNothingHappens) {
    CDownloadJob job(ServerUrl(L"http", L"/files/small.bin"), FreshDownloadFolder() + L"\\job.bin");
    int calls = 0;
    EXPECT_FALSE(RunDownloadJob(job, nullptr, [&](const DownloadStatusInfo&) { ++calls; }));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(FileSize(job.local_path), -1);
}

TEST(RunDownloadJob, WithoutCallbackRunsNormally) {
    CCancelEvents events;
    CDownloadJob job(ServerUrl(L"http", L"/files/pages.bin"), FreshDownloadFolder() + L"\\job.bin");
    EXPECT_TRUE(RunDownloadJob(job, &events.query, nullptr));
    EXPECT_TRUE(HoldsPattern(job.local_path, 25 * 4096));
}

TEST(RunDownloadJob, AfterACancelSendsOneAbortedReportAndNoRequest) {
    std::wstring tag = NewTag();
    JobRun run(ServerUrl(L"fault", L"/status/200?len=1000&tag=" + tag));
    ::SetEvent(run.events.cancel_event.get());
    EXPECT_FALSE(run.Run());
    ASSERT_EQ(run.Reports().size(), 1u);
    EXPECT_EQ(run.Last().state, DownloadState::Aborted);
    EXPECT_EQ(RecordedRequests(tag), "");
    EXPECT_EQ(FileSize(run.job.local_path), -1);
}

TEST(RunDownloadJob, ARejectedProbeReportsOnlyTheStartAndCreatesNoFile) {
    const wchar_t* const paths[] = {L"/status/404?len=100", L"/status/403?len=100", L"/nolength?len=100"};
    for (const wchar_t* path : paths) {
        SCOPED_TRACE(testing::Message() << path);
        JobRun run(ServerUrl(L"fault", path));
        EXPECT_FALSE(run.Run());
        ASSERT_EQ(run.Reports().size(), 1u);
        EXPECT_EQ(run.Last().state, DownloadState::InProgress);
        EXPECT_EQ(run.Last().received, 0u);
        EXPECT_EQ(run.Last().total, 0u);
        EXPECT_EQ(FileSize(run.job.local_path), -1);
    }
}

TEST(RunDownloadJob, AFileThatCannotBeCreatedReportsOnlyTheStart) {
    CCancelEvents events;
    CDownloadJob job(ServerUrl(L"http", L"/files/small.bin"), FreshDownloadFolder() + L"\\missing\\job.bin");
    CTimedReportLog log;
    EXPECT_FALSE(RunDownloadJob(job, &events.query, [&](const DownloadStatusInfo& s) { log.Add(s); }));
    ASSERT_EQ(log.reports.size(), 1u);
    EXPECT_EQ(log.reports[0].info.state, DownloadState::InProgress);
}

TEST(RunDownloadJob, ABodyThatKeepsEndingShortFailsAfterItsAttemptsAndLeavesNoFile) {
    // Connection dropped, a server announcing more than it has, a stall ended by the server, on
    // every attempt (these answers ignore ranges: each attempt starts over).
    CShortWaits short_waits;
    struct Case {
        const wchar_t* path;
        uint64_t size;
        uint64_t arrived;
    };
    const Case cases[] = {
        {L"/cut?len=100000&send=30000", 100000, 30000},
        {L"/cut?len=3000000000&send=50000", 3000000000ULL, 50000},
        {L"/stall?len=100000&send=8192&hold=1", 100000, 8192},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        JobRun run(ServerUrl(L"fault", c.path));
        EXPECT_FALSE(run.Run());
        run.ExpectJobSequence(c.size, DownloadState::Ended);
        EXPECT_EQ(run.Last().received, c.arrived);
        EXPECT_EQ(FileSize(run.job.local_path), -1) << "an incomplete file must not stay behind";
    }
}

TEST(RunDownloadJob, ASilentServerFailsTheJobAfterTheReceiveTimeouts) {
    CShortWaits short_waits;
    EXPECT_EQ(receive_timeout_ms, kReceiveTimeoutMs);
    // A shorter limit for the test; the server stays silent for a minute.
    receive_timeout_ms = 1500;
    JobRun run(ServerUrl(L"fault", L"/stall?len=100000&send=8192&hold=60"));
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(run.Run());
    DWORD elapsed = ::GetTickCount() - start;
    receive_timeout_ms = kReceiveTimeoutMs;
    EXPECT_LT(elapsed, 30000u) << "the job waited for the server instead of giving up";
    run.ExpectJobSequence(100000, DownloadState::Ended);
    // Wine's read that times out after taking the bytes it had buffered reports none of them.
    EXPECT_LE(run.Last().received, 8192u);
    EXPECT_EQ(FileSize(run.job.local_path), -1);
}

TEST(RunDownloadJob, AnExceptionFromTheHandlerEndsWithAnAbortedReport) {
    JobRun run(ServerUrl(L"http", L"/files/pages.bin"));
    bool thrown = false;
    bool result = RunDownloadJob(run.job, &run.events.query, [&](const DownloadStatusInfo& s) {
        run.log.Add(s);
        if (!thrown && s.received >= 8192) {
            thrown = true;
            throw std::runtime_error("handler failed");
        }
    });
    EXPECT_FALSE(result);
    EXPECT_EQ(run.Last().state, DownloadState::Aborted);
    EXPECT_EQ(run.Last().total, 25u * 4096u);
    EXPECT_EQ(FileSize(run.job.local_path), -1);
}

TEST(RunDownloadJob, ACancelDuringTheTransferKeepsWhatWasWritten) {
    JobRun run(ServerUrl(L"fault", L"/drip?len=400000&chunk=8192&delay=10"));
    // The cancel comes from another thread, as the UI thread's would, once bytes are flowing.
    std::atomic<uint64_t> received{0};
    std::thread canceller([&] {
        while (received.load() < 16384)
            ::Sleep(1);
        ::SetEvent(run.events.cancel_event.get());
    });
    EXPECT_FALSE(RunDownloadJob(run.job, &run.events.query, [&](const DownloadStatusInfo& s) {
        run.log.Add(s);
        received.store(std::max<uint64_t>(s.received, 1));
        if (s.state != DownloadState::InProgress)
            received.store(UINT64_MAX); // lets the canceller go should the job end early
    }));
    canceller.join();
    run.ExpectJobSequence(400000, DownloadState::Cancelled);
    uint64_t bytes = run.Last().received;
    EXPECT_GE(bytes, 16384u);
    EXPECT_LT(bytes, 400000u);
    EXPECT_TRUE(HoldsPattern(run.job.local_path, bytes));
}

TEST(RunDownloadJob, AShutGatePausesTheJobUntilItOpens) {
    JobRun run(ServerUrl(L"fault", L"/drip?len=200000&chunk=8192&delay=5"));
    ::ResetEvent(run.events.resume_gate.get());
    ULONGLONG opened_at = 0;
    std::thread opener([&] {
        ::Sleep(800);
        opened_at = ::GetTickCount64();
        ::SetEvent(run.events.resume_gate.get());
    });
    EXPECT_TRUE(run.Run());
    opener.join();
    EXPECT_TRUE(HoldsPattern(run.job.local_path, 200000));
    run.ExpectJobSequence(200000, DownloadState::Ended);
    // Only the start report comes before the gate opens: no byte is read while it is shut.
    ASSERT_GE(run.Reports().size(), 2u);
    EXPECT_GE(run.Reports()[1].tick, opened_at);
}
