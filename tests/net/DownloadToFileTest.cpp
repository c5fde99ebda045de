// File transfers against real servers: whole bodies, the report sequence, failures before the
// body, bodies that end early, cancel and pause.
#include "framework/Handles.h"
#include "net/CancelRequest.h"
#include "net/HttpClient.h"
#include "net/HttpRules.h"
#include "net/InternetSession.h"
#include "tests/net/NetServers.h"
#include "tests/net/ReportLog.h"

#include <gtest/gtest.h>

#include <thread>

using namespace nettest;

namespace {

// One transfer into a fresh file, with its reports and result.
struct Transfer {
    std::wstring path;
    CTimedReportLog log;
    bool result = false;

    explicit Transfer(const std::wstring& file_name = L"download.bin")
        : path(FreshDownloadFolder() + L"\\" + file_name) {}

    bool Run(ICancelRequest& cancel, const std::wstring& url) {
        CFile file;
        EXPECT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        result = DownloadToFile(cancel, url, file, log);
        return result;
    }
    bool Run(const std::wstring& url) {
        CancelRequest never;
        return Run(never, url);
    }

    const DownloadStatusInfo& Last() const { return log.reports.back().info; }

    // Everything before the final report is a pair of equal InProgress reports per read, the
    // count growing with each pair.
    void ExpectProgressPairs() const {
        ASSERT_FALSE(log.reports.empty());
        size_t progress = log.reports.size() - 1;
        ASSERT_EQ(progress % 2, 0u);
        uint64_t previous = 0;
        for (size_t i = 0; i < progress; i += 2) {
            const DownloadStatusInfo& a = log.reports[i].info;
            const DownloadStatusInfo& b = log.reports[i + 1].info;
            EXPECT_EQ(a.state, DownloadState::InProgress);
            EXPECT_EQ(b.state, DownloadState::InProgress);
            EXPECT_EQ(a.received, b.received);
            EXPECT_GT(a.received, previous);
            EXPECT_LE(a.received - previous, kFileReadSize);
            EXPECT_EQ(a.total, 0u) << "the transfer leaves total to the job";
            previous = a.received;
        }
    }
};

} // namespace

TEST(DownloadToFile, WritesWholeBodiesAndEndsWithAnEndedReport) {
    struct Case {
        const wchar_t* path;
        uint64_t size;
    };
    const Case cases[] = {
        {L"/files/small.bin", 1000},
        {L"/files/batch.bin", 40960},
        {L"/files/pages.bin", 25 * 4096}, // a multiple of 4096: the last batch is written after the loop
        {L"/files/large.bin", 4 * 1024 * 1024 + 123},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        Transfer t;
        EXPECT_TRUE(t.Run(ServerUrl(L"http", c.path)));
        EXPECT_TRUE(HoldsPattern(t.path, c.size));
        t.ExpectProgressPairs();
        EXPECT_EQ(t.Last().state, DownloadState::Ended);
        EXPECT_EQ(t.Last().received, c.size);
        EXPECT_EQ(t.Last().error_code, 0u);
        EXPECT_EQ(t.Last().message, L"");
    }
}

TEST(DownloadToFile, SendsAGetForAnyTypeWithTheAgent) {
    std::wstring tag = NewTag();
    Transfer t;
    EXPECT_TRUE(t.Run(ServerUrl(L"fault", L"/status/200?len=5000&tag=" + tag)));
    std::string head = RecordedRequests(tag);
    EXPECT_EQ(head.rfind("GET /status/200?len=5000&tag=", 0), 0u) << head;
    EXPECT_NE(head.find("\r\nAccept: */*\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Lumetra Web Installer Client\r\n"), std::string::npos) << head;
}

TEST(DownloadToFile, FailuresBeforeTheBodyEndWithOneEndedReportCarryingTheFailure) {
    struct Case {
        const char* name;
        std::wstring url;
        uint32_t error_code;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"uncrackable url", L"no scheme here", 0, L""},
        {"nobody listening", L"http://127.0.0.1:" + std::to_wstring(ClosedPort()) + L"/a.bin",
         ERROR_INTERNET_CANNOT_CONNECT, L"HttpSendRequest Failed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Transfer t;
        EXPECT_FALSE(t.Run(c.url));
        ASSERT_EQ(t.log.reports.size(), 1u);
        EXPECT_EQ(t.Last().state, DownloadState::Ended);
        EXPECT_EQ(t.Last().received, 0u);
        EXPECT_EQ(t.Last().error_code, c.error_code);
        EXPECT_EQ(t.Last().message, c.message);
        EXPECT_EQ(FileSize(t.path), 0);
    }
}

TEST(DownloadToFile, WithoutASessionTheConnectionFails) {
    HINTERNET session = internet_session;
    internet_session = nullptr;
    Transfer t;
    EXPECT_FALSE(t.Run(ServerUrl(L"http", L"/files/small.bin")));
    internet_session = session;
    ASSERT_EQ(t.log.reports.size(), 1u);
    EXPECT_EQ(t.Last().state, DownloadState::Ended);
    EXPECT_NE(t.Last().error_code, 0u);
    EXPECT_EQ(t.Last().message, L"InternetConnect Failed.");
}

TEST(DownloadToFile, ABodyEndingEarlyIsNotAFailureOfTheTransferItself) {
    // The job compares the bytes with the probed size; the transfer only says it was not cancelled.
    struct Case {
        const wchar_t* path;
        uint64_t arrived;
    };
    const Case cases[] = {
        {L"/cut?len=100000&send=30000", 30000},          // connection closed mid-body
        {L"/stall?len=100000&send=20000&hold=2", 20000}, // silence, then closed
        {L"/cut?len=3000000000&send=50000", 50000},      // announced far more than it had
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        Transfer t;
        EXPECT_TRUE(t.Run(ServerUrl(L"fault", c.path)));
        EXPECT_TRUE(HoldsPattern(t.path, c.arrived)) << "the file holds what arrived";
        t.ExpectProgressPairs();
        EXPECT_EQ(t.Last().state, DownloadState::Ended);
        EXPECT_EQ(t.Last().received, c.arrived);
    }
}

TEST(DownloadToFile, CancelStopsBeforeTheNextReadAndReportsCancelledHalfASecondLater) {
    nvx::UniqueHandle cancel_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    CancelRequest cancel(cancel_event.get(), nullptr);
    Transfer t;
    t.log.on_report = [&](const DownloadStatusInfo& s) {
        if (s.state == DownloadState::InProgress && s.received >= 20000)
            ::SetEvent(cancel_event.get());
    };
    EXPECT_FALSE(t.Run(cancel, ServerUrl(L"fault", L"/drip?len=400000&chunk=8192&delay=10")));

    const auto& reports = t.log.reports;
    ASSERT_GE(reports.size(), 3u);
    const TimedReport& final_report = reports.back();
    const TimedReport& last_progress = reports[reports.size() - 2];
    EXPECT_EQ(final_report.info.state, DownloadState::Cancelled);
    EXPECT_GE(last_progress.info.received, 20000u);
    EXPECT_LT(last_progress.info.received, 20000u + kFileReadSize) << "read on after the cancel";
    EXPECT_EQ(final_report.info.received, last_progress.info.received);
    EXPECT_GE(final_report.tick - last_progress.tick, 450u) << "the final report comes half a second later";
    EXPECT_TRUE(HoldsPattern(t.path, last_progress.info.received)) << "data already read stays in the file";
}

TEST(DownloadToFile, ACancelSeenAfterSendingReadsNothing) {
    nvx::UniqueHandle cancel_event(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    CancelRequest cancel(cancel_event.get(), nullptr);
    Transfer t;
    EXPECT_FALSE(t.Run(cancel, ServerUrl(L"http", L"/files/small.bin")));
    ASSERT_EQ(t.log.reports.size(), 1u);
    EXPECT_EQ(t.Last().state, DownloadState::Cancelled);
    EXPECT_EQ(t.Last().received, 0u);
    EXPECT_EQ(FileSize(t.path), 0);
}

TEST(DownloadToFile, PauseReadsNothingUntilTheGateOpensAndThenFinishes) {
    nvx::UniqueHandle gate(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    CancelRequest cancel(nullptr, gate.get());
    Transfer t;
    ULONGLONG paused_at = 0;
    std::thread opener;
    t.log.on_report = [&](const DownloadStatusInfo& s) {
        if (paused_at == 0 && s.received >= 16384) {
            ::ResetEvent(gate.get());
            paused_at = ::GetTickCount64();
            opener = std::thread([&] {
                ::Sleep(1000);
                ::SetEvent(gate.get());
            });
        }
    };
    EXPECT_TRUE(t.Run(cancel, ServerUrl(L"fault", L"/drip?len=200000&chunk=8192&delay=5")));
    opener.join();
    EXPECT_TRUE(HoldsPattern(t.path, 200000));
    t.ExpectProgressPairs();

    // Only the second report of the pausing read may come while the gate is shut.
    size_t during_pause = 0;
    for (const TimedReport& r : t.log.reports)
        if (r.tick > paused_at && r.tick < paused_at + 950)
            ++during_pause;
    EXPECT_LE(during_pause, 1u);
}
