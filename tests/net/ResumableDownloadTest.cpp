// A file fetched over a scripted server: resume from the bytes on disk, ranges ignored or wrong,
// transient answers tried again with their waits, permanent ones not, the attempt limit, cancel
// and pause, the free-space refusal, and what goes to the diagnostic channel.
#include "framework/Diagnostics.h"
#include "net/ResumableDownload.h"
#include "net/RetryRules.h"
#include "tests/net/ScriptedServer.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

using namespace nettest;

namespace {

constexpr int64_t kLength = 100000;

struct DownloadRun {
    CScriptedServer server;
    CImageTarget target;
    CScriptedCancel cancel;
    CRecordingClock clock{cancel};
    CReportLog log;
    DownloadStatusInfo status;
    std::vector<std::wstring> diagnostics;

    DownloadOutcome Run(std::initializer_list<ScriptedAnswer> answers) {
        server.answers.assign(answers.begin(), answers.end());
        std::mutex lock;
        nvx::CDiagnosticOutputScope listen([&](const nvx::DiagnosticLine& line) {
            std::lock_guard guard(lock);
            if (line.component == L"download")
                diagnostics.push_back(line.text);
        });
        return RunResumableDownload(L"http://127.0.0.1/f.bin", server, target, cancel, log, clock, status);
    }

    bool HoldsTheFile(int64_t length = kLength) const {
        const auto& image = target.image.image;
        return image.size() == static_cast<size_t>(length) && MatchesPattern(image.data(), image.size());
    }

    bool Said(const std::wstring& part) const {
        for (const std::wstring& line : diagnostics)
            if (line.find(part) != std::wstring::npos)
                return true;
        return false;
    }
};

} // namespace

TEST(ResumableDownload, OneRequestWhenNothingGoesWrong) {
    DownloadRun run;
    DownloadOutcome outcome = run.Run({Whole(200, kLength)});
    EXPECT_TRUE(outcome.complete());
    EXPECT_EQ(outcome.length, kLength);
    EXPECT_EQ(run.server.offsets, (std::vector<uint64_t>{0}));
    EXPECT_EQ(run.target.prepared, (std::vector<uint64_t>{kLength}));
    EXPECT_TRUE(run.HoldsTheFile());
    EXPECT_TRUE(run.clock.waits.empty());
    EXPECT_TRUE(run.Said(L"GET http://127.0.0.1/f.bin"));
    EXPECT_TRUE(run.Said(L"status 200, length 100000"));
    EXPECT_TRUE(run.Said(L"done: http://127.0.0.1/f.bin status 200, 100000 of 100000 bytes in "));
    EXPECT_TRUE(run.Said(L"MiB/s"));
}

TEST(ResumableDownload, ABodyThatBreaksOffContinuesFromTheBytesOnDisk) {
    struct Case {
        const char* name;
        ScriptedAnswer first;
    };
    const Case cases[] = {
        {"connection reset", Cut(kLength, 30000, 12031)},
        {"receive timeout", Cut(kLength, 30000, 12002)},
        {"closed early", Cut(kLength, 30000, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadRun run;
        DownloadOutcome outcome = run.Run({c.first, Range(30000, kLength)});
        EXPECT_TRUE(outcome.complete());
        EXPECT_EQ(run.server.offsets, (std::vector<uint64_t>{0, 30000}));
        EXPECT_TRUE(run.HoldsTheFile());
        ASSERT_EQ(run.clock.waits.size(), 1u);
        EXPECT_LE(run.clock.waits[0], kBackoffBaseMs);
        EXPECT_EQ(run.target.image.flushed_sizes.front(), 30000u) << "the resume point was on disk first";
        EXPECT_TRUE(run.Said(L"resuming at byte 30000"));
        EXPECT_EQ(run.log.reports.back().received, static_cast<uint64_t>(kLength));
    }
}

TEST(ResumableDownload, AServerThatIgnoresTheRangeStartsTheFileOver) {
    DownloadRun run;
    DownloadOutcome outcome = run.Run({Cut(kLength, 30000), Whole(200, kLength)});
    EXPECT_TRUE(outcome.complete());
    EXPECT_EQ(run.server.offsets, (std::vector<uint64_t>{0, 30000}));
    EXPECT_TRUE(run.HoldsTheFile());
    EXPECT_EQ(run.target.image.batches.back().offset + run.target.image.batches.back().size,
              static_cast<uint64_t>(kLength));
    EXPECT_TRUE(run.Said(L"starting over from byte 0"));
}

TEST(ResumableDownload, AResumeAnswerThatDoesNotContinueTheFileFailsWithoutAnotherTry) {
    struct Case {
        const char* name;
        ScriptedAnswer second;
        DownloadFailure failure;
    };
    const Case cases[] = {
        {"range not at the offset", Range(20000, kLength), DownloadFailure::Changed},
        {"total changed", Range(30000, kLength, L"bytes 30000-99999/100001"), DownloadFailure::Changed},
        {"no content range", Range(30000, kLength, L"garbage"), DownloadFailure::Changed},
        {"whole file of another length", Whole(200, kLength + 1), DownloadFailure::Changed},
        {"not found now", Status(404), DownloadFailure::Rejected},
        {"gone", Status(410), DownloadFailure::Rejected},
        {"range not satisfiable", Status(416), DownloadFailure::Rejected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadRun run;
        DownloadOutcome outcome = run.Run({Cut(kLength, 30000), c.second, Whole(200, kLength)});
        EXPECT_EQ(outcome.failure, c.failure);
        EXPECT_EQ(run.server.offsets.size(), 2u);
        EXPECT_TRUE(run.Said(L"failed: "));
    }
}

TEST(ResumableDownload, AComplete206ThatLeavesTheFileShortIsNotTriedAgain) {
    DownloadRun run;
    ScriptedAnswer short_range = Range(30000, kLength);
    short_range.head.length = 1000;
    short_range.deliver = 1000;
    DownloadOutcome outcome = run.Run({Cut(kLength, 30000), short_range, Range(31000, kLength)});
    EXPECT_EQ(outcome.failure, DownloadFailure::LengthMismatch);
    EXPECT_EQ(run.server.offsets.size(), 2u);
}

TEST(ResumableDownload, TheFirstAnswerKeepsTheProbeRulesAndOnlyA2xxBecomesTheFile) {
    struct Case {
        const char* name;
        ScriptedAnswer first;
        DownloadFailure failure;
    };
    ScriptedAnswer no_length = Whole(200, kLength);
    no_length.head.has_length = false;
    const Case cases[] = {
        {"not found", Status(404), DownloadFailure::Rejected},
        {"forbidden", Status(403), DownloadFailure::Rejected},
        {"gone", Status(410), DownloadFailure::Rejected},
        {"not implemented", Status(501), DownloadFailure::Rejected},
        // Accepted by the probe (the file exists) but an error page is not the file's bytes.
        {"moved", Status(301), DownloadFailure::Rejected},
        {"unauthorised", Status(401), DownloadFailure::Rejected},
        {"no length", no_length, DownloadFailure::NoLength},
        {"zero length", Whole(200, 0), DownloadFailure::NoLength},
        {"a URL that cannot be reached", NoAnswer(12005), DownloadFailure::Unreachable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadRun run;
        DownloadOutcome outcome = run.Run({c.first, Whole(200, kLength)});
        EXPECT_EQ(outcome.failure, c.failure);
        EXPECT_EQ(run.server.offsets.size(), 1u) << "not tried again";
        EXPECT_TRUE(run.target.prepared.empty()) << "no file for it";
        EXPECT_TRUE(run.target.image.batches.empty());
    }
}

TEST(ResumableDownload, TransientAnswersAreTriedAgainAfterTheirWait) {
    struct Case {
        const char* name;
        ScriptedAnswer first;
        uint32_t wait;
    };
    const Case cases[] = {
        {"503 with Retry-After", Status(503, L"2"), 2000},
        {"429 with Retry-After", Status(429, L"1"), 1000},
        {"429 with a date", Status(429, L"Sun, 06 Nov 1994 08:49:40 GMT"), 3000},
        {"503 asking too long", Status(503, L"3600"), kBackoffCapMs},
        {"500: Retry-After is not its", Status(500, L"9"), kBackoffBaseMs},
        {"502", Status(502), kBackoffBaseMs},
        {"504", Status(504), kBackoffBaseMs},
        {"408", Status(408), kBackoffBaseMs},
        {"cannot connect", NoAnswer(12029), kBackoffBaseMs},
        {"name not resolved", NoAnswer(12007), kBackoffBaseMs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadRun run;
        run.clock.random = kBackoffBaseMs; // the top of the first backoff range
        DownloadOutcome outcome = run.Run({c.first, Whole(200, kLength)});
        EXPECT_TRUE(outcome.complete());
        EXPECT_EQ(run.clock.waits, (std::vector<uint32_t>{c.wait}));
        EXPECT_TRUE(run.HoldsTheFile());
        EXPECT_EQ(run.target.prepared.size(), 1u) << "an error page never becomes the file";
        EXPECT_TRUE(run.Said(L"attempt 1 of 5: "));
        EXPECT_TRUE(run.Said(L"waiting " + std::to_wstring(c.wait) + L" ms"));
    }
}

TEST(ResumableDownload, AtMostFiveAttemptsWithGrowingWaits) {
    DownloadRun run;
    run.clock.random = 0xFFFFFFFFu;
    DownloadOutcome outcome =
        run.Run({Status(503), Status(503), Status(503), Status(503), Status(503), Whole(200, kLength)});
    EXPECT_EQ(outcome.failure, DownloadFailure::Unreachable);
    EXPECT_EQ(outcome.attempts, kMaxAttempts);
    EXPECT_EQ(run.server.offsets.size(), 5u);
    ASSERT_EQ(run.clock.waits.size(), 4u);
    for (size_t i = 0; i < run.clock.waits.size(); ++i)
        EXPECT_LE(run.clock.waits[i], kBackoffBaseMs << i);
    EXPECT_TRUE(run.Said(L"failed after 5 attempts"));
}

TEST(ResumableDownload, ACutBodyCountsAsAnAttemptUnlessItBrokeOffDuringAPause) {
    DownloadRun run;
    // The user holds the cancel question open while the first attempt's connection drops.
    int queries = 0;
    run.cancel.pause = [&] { return run.server.offsets.size() == 1 && ++queries < 3; };
    DownloadOutcome outcome = run.Run({Cut(kLength, 10000), Cut(kLength, 20000), Cut(kLength, 30000),
                                       Cut(kLength, 40000), Cut(kLength, 50000), Range(50000, kLength)});
    // Each cut answer is a whole-file 200, which starts the file over, so the resume point is
    // what the last one delivered.
    EXPECT_TRUE(outcome.complete()) << static_cast<int>(outcome.failure);
    EXPECT_EQ(run.server.offsets.size(), 6u);
    EXPECT_EQ(outcome.attempts, 5) << "the attempt broken during the pause is not counted";
}

TEST(ResumableDownload, CancelEndsAWaitAtOnceAndSendsNothingMore) {
    DownloadRun run;
    bool cancelled = false;
    run.cancel.cancel = [&] { return cancelled; };
    run.clock.on_wait = [&] { cancelled = true; };
    DownloadOutcome outcome = run.Run({Status(503, L"20"), Whole(200, kLength)});
    EXPECT_EQ(outcome.failure, DownloadFailure::Cancelled);
    EXPECT_EQ(run.server.offsets.size(), 1u);
}

TEST(ResumableDownload, NoRequestIsSentWhilePaused) {
    DownloadRun run;
    int checks = 0;
    run.cancel.pause = [&] {
        if (checks < 4) {
            EXPECT_TRUE(run.server.offsets.empty());
        }
        return ++checks <= 4;
    };
    EXPECT_TRUE(run.Run({Whole(200, kLength)}).complete());
    EXPECT_GE(run.clock.naps, 4);
}

TEST(ResumableDownload, AVolumeWithoutRoomFailsBeforeAnyByteIsWritten) {
    DownloadRun run;
    run.target.ready = TargetReady::NoRoom;
    DownloadOutcome outcome = run.Run({Whole(200, kLength), Whole(200, kLength)});
    EXPECT_EQ(outcome.failure, DownloadFailure::NoRoom);
    EXPECT_EQ(outcome.length, kLength);
    EXPECT_EQ(run.server.offsets.size(), 1u);
    EXPECT_TRUE(run.target.image.batches.empty());
    EXPECT_TRUE(run.Said(L"not enough free space for 100000 bytes"));
}
