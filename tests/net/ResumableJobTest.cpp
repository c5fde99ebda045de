// Download jobs over real WinINet against servers that misbehave: bodies cut or stalled and
// continued by range, ranges ignored or answered wrongly, busy answers with Retry-After, error
// pages, a connection the server drops while the transfer is held paused.
#include "net/InternetSession.h"
#include "net/RunDownloadJob.h"
#include "tests/net/CancelEvents.h"
#include "tests/net/NetServers.h"
#include "tests/net/ShortWaits.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/ProcessRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

using namespace nettest;

namespace {

constexpr uint64_t kLength = 300000;

bool Said(const CDiagnosticRecorder& recorder, const std::wstring& part) {
    for (const std::wstring& text : recorder.Texts(L"download"))
        if (text.find(part) != std::wstring::npos)
            return true;
    return false;
}

struct FlakyRun {
    std::wstring tag = NewTag();
    CCancelEvents events;
    CDownloadJob job;
    bool result = false;

    explicit FlakyRun(const std::wstring& query)
        : job(ServerUrl(L"fault", L"/flaky?len=" + std::to_wstring(kLength) + L"&key=" + tag + L"&tag=" +
                                      tag + L"&" + query),
              FreshDownloadFolder() + L"\\flaky.bin") {}

    bool Run() { return result = RunDownloadJob(job, &events.query, nullptr); }
    std::string Requests() const { return RecordedRequests(tag); }
};

} // namespace

TEST(ResumableJob, ABodyCutOffContinuesByRangeOrStartsOverAndEndsWithTheFile) {
    CShortWaits short_waits;
    struct Case {
        const wchar_t* query;
        const char* second_request_range; // the range the second request asks for; null: any
    };
    const Case cases[] = {
        {L"cut=100000&fail=close", "Range: bytes=100000-"},
        // A reset may throw away what had arrived but was not read yet: the range, if any,
        // starts wherever the bytes on disk end.
        {L"cut=100000&fail=reset", nullptr},
        {L"cut=100000&fail=close&ranges=ignore", "Range: bytes=100000-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.query);
        CDiagnosticRecorder diagnostics;
        FlakyRun run(c.query);
        EXPECT_TRUE(run.Run());
        EXPECT_TRUE(HoldsPattern(run.job.local_path, kLength));
        std::string requests = run.Requests();
        EXPECT_EQ(CountOccurrences(requests, "GET "), 2u) << requests;
        if (c.second_request_range) {
            EXPECT_EQ(CountOccurrences(requests, c.second_request_range), 1u) << requests;
        }
        EXPECT_TRUE(Said(diagnostics, L"attempt 1 of 5: "));
        EXPECT_TRUE(Said(diagnostics, L"done: "));
    }
}

TEST(ResumableJob, AResumeAnswerForAnotherFileFailsAndLeavesNothing) {
    CShortWaits short_waits;
    for (const wchar_t* query : {L"cut=100000&ranges=shift", L"cut=100000&ranges=total"}) {
        SCOPED_TRACE(testing::Message() << query);
        FlakyRun run(query);
        EXPECT_FALSE(run.Run());
        EXPECT_EQ(run.job.failure, DownloadFailure::Changed);
        EXPECT_EQ(FileSize(run.job.local_path), -1) << "a truncated or mixed file must not stay";
        EXPECT_EQ(CountOccurrences(run.Requests(), "GET "), 2u) << "not tried again";
    }
}

TEST(ResumableJob, BusyAnswersAreWaitedOutAsTheServerAsks) {
    struct Case {
        const wchar_t* query;
        DWORD at_least_ms;
    };
    const Case cases[] = {
        {L"busy=2&status=503&retry_after=1", 2000},
        {L"busy=1&status=429&retry_after=2", 2000},
        {L"busy=1&status=500", 0},
        {L"busy=1&status=502", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.query);
        CDiagnosticRecorder diagnostics;
        FlakyRun run(c.query);
        ULONGLONG start = ::GetTickCount64();
        EXPECT_TRUE(run.Run());
        ULONGLONG elapsed = ::GetTickCount64() - start;
        EXPECT_GE(elapsed, c.at_least_ms);
        EXPECT_TRUE(HoldsPattern(run.job.local_path, kLength)) << "the busy page is not the file";
        EXPECT_TRUE(Said(diagnostics, L"ms, then trying again"));
    }
}

TEST(ResumableJob, GivesUpAfterFiveAttemptsAndStoresNoErrorPage) {
    CShortWaits short_waits;
    FlakyRun busy(L"busy=9&status=503");
    EXPECT_FALSE(busy.Run());
    EXPECT_EQ(CountOccurrences(busy.Requests(), "GET "), 5u);
    EXPECT_EQ(busy.job.failure, DownloadFailure::Unreachable);
    EXPECT_EQ(FileSize(busy.job.local_path), -1);

    // Error pages with bodies that the size probe lets through: never the file's bytes, and
    // not tried again unless the status says "later".
    for (const wchar_t* path :
         {L"/status/301?len=777", L"/status/401?len=777", L"/status/404?len=777", L"/status/410?len=777"}) {
        SCOPED_TRACE(testing::Message() << path);
        std::wstring tag = NewTag();
        CCancelEvents events;
        CDownloadJob job(ServerUrl(L"fault", std::wstring(path) + L"&tag=" + tag),
                         FreshDownloadFolder() + L"\\vc_redist.exe");
        EXPECT_FALSE(RunDownloadJob(job, &events.query, nullptr));
        EXPECT_EQ(FileSize(job.local_path), -1);
        EXPECT_EQ(CountOccurrences(RecordedRequests(tag), "GET "), 1u);
    }
}

TEST(ResumableJob, AStallLongerThanTheReceiveTimeoutIsResumed) {
    CShortWaits short_waits;
    receive_timeout_ms = 1500;
    FlakyRun run(L"cut=100000&fail=stall&hold=60");
    bool ok = run.Run();
    receive_timeout_ms = kReceiveTimeoutMs;
    EXPECT_TRUE(ok);
    EXPECT_TRUE(HoldsPattern(run.job.local_path, kLength));
    // Wine's read that times out after taking the bytes it had buffered reports none of them,
    // so the range may start before 100000: at whatever was written.
    EXPECT_EQ(CountOccurrences(run.Requests(), "GET "), 2u) << run.Requests();
    EXPECT_EQ(CountOccurrences(run.Requests(), "Range: bytes="), 1u) << run.Requests();
}

TEST(ResumableJob, AConnectionTheServerDroppedDuringAPauseResumesWhenThePauseEnds) {
    // The server gives up on a client that reads nothing for 2 s; the pause lasts 5 s.
    const uint64_t size = 48ull * 1024 * 1024 + 7;
    CDiagnosticRecorder diagnostics;
    CCancelEvents events;
    CDownloadJob job(ServerUrl(L"http", L"/impatient/paused.bin"), FreshDownloadFolder() + L"\\paused.bin");
    std::atomic<uint64_t> received{0};
    std::thread user([&] {
        while (received.load() < (1u << 20))
            ::Sleep(1);
        ::ResetEvent(events.resume_gate.get()); // the cancel question is on screen
        ::Sleep(5000);
        ::SetEvent(events.resume_gate.get()); // answered No
    });
    bool ok = RunDownloadJob(job, &events.query, [&](const DownloadStatusInfo& s) {
        received.store(s.state == DownloadState::InProgress ? s.received : UINT64_MAX);
    });
    user.join();
    EXPECT_TRUE(ok);
    EXPECT_TRUE(HoldsPattern(job.local_path, size));
    EXPECT_TRUE(Said(diagnostics, L"resuming at byte ")) << "the server kept the connection: no drop shown";
    EXPECT_TRUE(Said(diagnostics, L"(asked from byte "));
}

namespace {

// A 32 MiB file system mounted on the host for one test (the tests run as root there).
class CSmallFileSystem {
public:
    CSmallFileSystem() : host_path_(L"/tmp/nvx-small-" + NewTag()) {
        mounted_ = Host(L"/bin/mkdir -p " + host_path_) &&
                   Host(L"/bin/mount -t tmpfs -o size=32m nvx-small " + host_path_);
    }
    ~CSmallFileSystem() {
        if (mounted_)
            Host(L"/bin/umount " + host_path_);
        Host(L"/bin/rmdir " + host_path_);
    }
    CSmallFileSystem(const CSmallFileSystem&) = delete;
    CSmallFileSystem& operator=(const CSmallFileSystem&) = delete;

    bool mounted() const noexcept { return mounted_; }
    std::wstring WindowsPath(const std::wstring& name) const {
        std::wstring path = L"Z:" + host_path_ + L"/" + name;
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return path;
    }

private:
    static bool Host(const std::wstring& command) {
        return nvxtest::RunAndWait(L"start.exe /wait /unix " + command) == 0;
    }

    std::wstring host_path_;
    bool mounted_ = false;
};

} // namespace

TEST(ResumableJob, AFileItsVolumeCannotTakeIsRefusedBeforeAnyByteIsWritten) {
    CSmallFileSystem small;
    if (!small.mounted())
        GTEST_SKIP() << "no small file system could be mounted on the host (not root?)";
    // 4 MiB and the margin fit into 32 MiB; 48 MiB do not.
    CCancelEvents events;
    CDownloadJob fits(ServerUrl(L"http", L"/files/large.bin"), small.WindowsPath(L"large.bin"));
    EXPECT_TRUE(RunDownloadJob(fits, &events.query, nullptr));
    EXPECT_TRUE(HoldsPattern(fits.local_path, 4 * 1024 * 1024 + 123));

    CDiagnosticRecorder diagnostics;
    CDownloadJob too_big(ServerUrl(L"http", L"/files/paused.bin"), small.WindowsPath(L"paused.bin"));
    EXPECT_FALSE(RunDownloadJob(too_big, &events.query, nullptr));
    EXPECT_EQ(too_big.failure, DownloadFailure::NoRoom);
    EXPECT_EQ(too_big.size, 48ll * 1024 * 1024 + 7);
    EXPECT_EQ(FileSize(too_big.local_path), -1) << "nothing half-written";
    EXPECT_TRUE(Said(diagnostics, L"not enough free space"));
}
