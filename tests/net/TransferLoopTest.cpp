// The read loops: read sizes, batches, the report pairs, cancel, pause and failures.
#include "net/HttpRules.h"
#include "net/TransferLoop.h"
#include "tests/net/ScriptedTransfer.h"
#include "tests/net/StringSink.h"

#include <gtest/gtest.h>

using namespace nettest;

namespace {

struct LoopRun {
    CScriptedSource source;
    CScriptedCancel cancel;
    CImageWriter writer;
    CReportLog log;
    DownloadStatusInfo status;
    int pause_waits = 0;
    uint64_t clock_ms = 0;
    uint64_t ms_per_report = 0; // how far the clock moves at each report

    LoopRun(uint64_t size, uint32_t portion) : source(size, portion) {}

    TransferEnd Run() {
        if (ms_per_report != 0)
            log.on_report = [this](const DownloadStatusInfo&) { clock_ms += ms_per_report; };
        return RunFileReadLoop(
            source, writer, cancel, log, status, [this] { ++pause_waits; }, [this] { return clock_ms; });
    }

    bool ImageIsBodyPrefix(uint64_t length) const {
        return writer.image.size() == length && MatchesPattern(writer.image.data(), writer.image.size());
    }
};

std::vector<size_t> BatchSizes(const CImageWriter& writer, uint64_t first_offset = 0) {
    std::vector<size_t> sizes;
    uint64_t expected_offset = first_offset;
    for (const Batch& b : writer.batches) {
        EXPECT_EQ(b.offset, expected_offset) << "batches must follow each other";
        expected_offset += b.size;
        sizes.push_back(b.size);
    }
    return sizes;
}

constexpr size_t kMiB = 1u << 20;

} // namespace

TEST(FileReadLoop, ReadsLargePiecesWhateverIsOfferedAndWritesBatchesOfAtMostTheBatchSize) {
    struct Case {
        const char* name;
        uint64_t size;
        uint32_t portion;
        std::vector<size_t> batches;
    };
    const Case cases[] = {
        {"empty body", 0, 8192, {}},
        {"one short read", 1000, 8192, {1000}},
        {"exactly one batch", kMiB, 65536, {kMiB}},
        {"two batches and a tail", 2 * kMiB + 100, 65536, {kMiB, kMiB, 100}},
        // Short reads no longer end a batch: the bytes wait until the batch is full or the loop ends.
        {"small portions", 4000, 1500, {4000}},
        // Portions that do not divide the batch: a batch is written once another full read
        // would not fit.
        {"odd portions", kMiB + 5, 50000, {1000000, 48581}},
        {"large portion", 3 * 65536 + 7, 1 << 20, {3 * 65536 + 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopRun run(c.size, c.portion);
        EXPECT_EQ(run.Run(), TransferEnd::NoMoreData);
        for (uint32_t size : run.source.read_sizes)
            EXPECT_LE(size, kFileReadSize);
        EXPECT_EQ(BatchSizes(run.writer), c.batches);
        EXPECT_TRUE(run.ImageIsBodyPrefix(c.size));
        ASSERT_FALSE(run.writer.flushed_sizes.empty());
        EXPECT_EQ(run.writer.flushed_sizes.back(), c.size) << "the end is flushed";
    }
}

TEST(FileReadLoop, AReadAsksForAFullPieceEvenWhenLessIsOffered) {
    // Wine offers at most 8 KiB per availability query, yet a read returns all that arrived.
    LoopRun run(100000, 8192);
    run.Run();
    ASSERT_FALSE(run.source.read_sizes.empty());
    EXPECT_EQ(run.source.read_sizes.front(), kFileReadSize);
}

TEST(FileReadLoop, FlushesAtMostOncePerIntervalWithEverythingReadWrittenFirst) {
    LoopRun run(40 * 8192, 8192);
    run.ms_per_report = 125; // four reads per interval
    run.Run();
    const auto& flushes = run.writer.flushed_sizes;
    ASSERT_GE(flushes.size(), 9u);
    EXPECT_LE(flushes.size(), 12u);
    for (size_t i = 0; i + 1 < flushes.size(); ++i) {
        EXPECT_EQ(flushes[i] % 8192, 0u) << "a flush comes after whole reads are written";
        EXPECT_GE(flushes[i + 1] - flushes[i], 3 * 8192u) << "flushed more often than once per interval";
    }
    EXPECT_EQ(flushes.back(), 40 * 8192u);
}

TEST(FileReadLoop, ReportsEachReadTwiceWithTheRunningCount) {
    LoopRun run(3 * 8192 + 10, 8192);
    run.Run();
    const auto& reports = run.log.reports;
    ASSERT_EQ(reports.size(), 8u); // four reads
    uint64_t previous = 0;
    for (size_t i = 0; i < reports.size(); i += 2) {
        EXPECT_EQ(reports[i].state, DownloadState::InProgress);
        EXPECT_EQ(reports[i + 1].state, DownloadState::InProgress);
        EXPECT_EQ(reports[i].received, reports[i + 1].received);
        EXPECT_GT(reports[i].received, previous);
        previous = reports[i].received;
        EXPECT_EQ(reports[i].total, 0u);
        EXPECT_EQ(reports[i].error_code, 0u);
    }
    EXPECT_EQ(previous, 3 * 8192u + 10);
}

TEST(FileReadLoop, ContinuesAtTheCountItStartsWith) {
    LoopRun run(3000, 8192);
    run.status.received = 5000; // a resumed transfer: its bytes go after those on disk
    run.Run();
    EXPECT_EQ(BatchSizes(run.writer, 5000), (std::vector<size_t>{3000}));
    EXPECT_EQ(run.log.reports.back().received, 8000u);
}

TEST(FileReadLoop, CancelStopsBeforeTheNextReadAndKeepsWhatArrived) {
    LoopRun run(100000, 8192);
    run.cancel.cancel = [&] { return run.source.delivered >= 8192; };
    EXPECT_EQ(run.Run(), TransferEnd::Cancelled);
    EXPECT_EQ(run.source.delivered, 8192u);
    EXPECT_EQ(run.source.read_sizes.size(), 1u);
    EXPECT_TRUE(run.ImageIsBodyPrefix(8192)) << "bytes read before the cancel are written out";
    EXPECT_EQ(run.writer.flushed_sizes.back(), 8192u) << "and flushed";
    EXPECT_EQ(run.log.reports.back().received, 8192u);
}

TEST(FileReadLoop, CancelWinsOverPause) {
    LoopRun run(100000, 8192);
    run.cancel.cancel = [] { return true; };
    run.cancel.pause = [] { return true; };
    EXPECT_EQ(run.Run(), TransferEnd::Cancelled);
    EXPECT_EQ(run.pause_waits, 0);
    EXPECT_TRUE(run.source.read_sizes.empty());
}

TEST(FileReadLoop, PauseReadsNothingWaitsBetweenChecksAndResumesWhereItStopped) {
    LoopRun run(50000, 8192);
    int paused_checks = 0;
    size_t reads_when_paused = 0;
    run.cancel.pause = [&] {
        if (run.source.delivered < 12288 || paused_checks == 5)
            return false;
        if (paused_checks++ == 0)
            reads_when_paused = run.source.read_sizes.size();
        else
            EXPECT_EQ(run.source.read_sizes.size(), reads_when_paused) << "read while paused";
        return true;
    };
    EXPECT_EQ(run.Run(), TransferEnd::NoMoreData);
    EXPECT_EQ(run.pause_waits, 5);
    EXPECT_TRUE(run.ImageIsBodyPrefix(50000));
}

TEST(FileReadLoop, AFailedQueryEndsTheLoopAndKeepsTheError) {
    LoopRun run(100000, 8192);
    run.source.fail_at = 5000;
    EXPECT_EQ(run.Run(), TransferEnd::Failed);
    EXPECT_EQ(run.source.LastError(), 12030u);
    EXPECT_TRUE(run.ImageIsBodyPrefix(run.source.delivered)) << "what arrived is written: the resume point";
    EXPECT_EQ(run.writer.flushed_sizes.back(), run.source.delivered);
    EXPECT_GE(run.source.delivered, 5000u);
}

TEST(FileReadLoop, ASourceThatAnnouncesBytesItNeverDeliversEndsTheLoop) {
    LoopRun run(3000, 8192);
    run.source.phantom = 100;
    EXPECT_EQ(run.Run(), TransferEnd::NoMoreData);
    EXPECT_TRUE(run.ImageIsBodyPrefix(3000));
    EXPECT_LE(run.source.queries, 3);
}

TEST(FileReadLoop, AWriteFailureLeavesTheLoopAsAnException) {
    LoopRun run(3 * kMiB, 65536);
    run.writer.throw_on_batch = 2;
    EXPECT_THROW(run.Run(), std::runtime_error);
    EXPECT_EQ(run.writer.batches.size(), 1u);
}

TEST(StreamCopy, ReadsAtMost16384AndCopiesTheWholeBody) {
    CScriptedSource source(70000, 65536);
    CScriptedCancel cancel;
    nettest::CStringSink out;
    StreamCopyResult copy = CopyBodyToStream(source, out, cancel);
    EXPECT_EQ(copy.end, TransferEnd::NoMoreData);
    EXPECT_EQ(copy.received, 70000u);
    EXPECT_FALSE(copy.write_failed);
    for (uint32_t size : source.read_sizes)
        EXPECT_LE(size, kStreamReadSize);
    EXPECT_EQ(out.str().size(), 70000u);
    EXPECT_TRUE(MatchesPattern(out.str().data(), out.str().size()));
}

TEST(StreamCopy, StopsOnCancelFailureAndARefusingStream) {
    {
        CScriptedSource source(70000, 20000);
        CScriptedCancel cancel;
        cancel.cancel = [&] { return source.delivered > 0; };
        nettest::CStringSink out;
        EXPECT_EQ(CopyBodyToStream(source, out, cancel).end, TransferEnd::Cancelled);
        EXPECT_EQ(source.read_sizes.size(), 1u);
    }
    {
        CScriptedSource source(70000, 20000);
        source.fail_at = 30000;
        CScriptedCancel cancel;
        nettest::CStringSink out;
        EXPECT_EQ(CopyBodyToStream(source, out, cancel).end, TransferEnd::Failed);
    }
    {
        CScriptedSource source(70000, 20000);
        CScriptedCancel cancel;
        nettest::CStringSink out;
        out.refuse = true;
        StreamCopyResult copy = CopyBodyToStream(source, out, cancel);
        EXPECT_TRUE(copy.write_failed);
        EXPECT_EQ(source.read_sizes.size(), 1u);
    }
}

TEST(StreamCopy, AWholeBodyEndedNormallyAndMatchesAnAnnouncedLength) {
    const int64_t length = 5000;
    const int64_t other = 4999;
    struct Case {
        const char* name;
        StreamCopyResult copy;
        const int64_t* length;
        bool whole;
    };
    const Case cases[] = {
        {"announced and complete", {TransferEnd::NoMoreData, 5000, false}, &length, true},
        {"no length announced", {TransferEnd::NoMoreData, 5000, false}, nullptr, true},
        {"shorter than announced", {TransferEnd::NoMoreData, 5000, false}, &other, false},
        {"cut short", {TransferEnd::NoMoreData, 4000, false}, &length, false},
        {"read failed", {TransferEnd::Failed, 5000, false}, &length, false},
        {"read failed without length", {TransferEnd::Failed, 4000, false}, nullptr, false},
        {"cancelled", {TransferEnd::Cancelled, 5000, false}, &length, false},
        {"stream refused", {TransferEnd::NoMoreData, 5000, true}, &length, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWholeBody(c.copy, c.length), c.whole) << c.name;
}
