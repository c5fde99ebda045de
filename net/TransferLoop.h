#pragma once
// The read loops of the HTTP client, independent of WinINet: where the bytes come from and
// where a batch goes are interfaces, so the loops' order of tests, reads, reports and writes
// is the same whatever carries them.
#include "net/ByteSink.h"
#include "net/DownloadStatus.h"

#include <cstddef>
#include <cstdint>
#include <functional>

class IByteSource {
public:
    // Bytes that can be read now (0 at the end of the body); false when the query failed.
    [[nodiscard]] virtual bool QueryDataAvailable(uint32_t& available) = 0;
    // Reads up to `size` bytes; false when the read failed.
    [[nodiscard]] virtual bool Read(uint8_t* buffer, uint32_t size, uint32_t& read) = 0;
    // Error number of the last failed query or read.
    virtual uint32_t LastError() const = 0;

protected:
    ~IByteSource() = default;
};

class IBatchWriter {
public:
    // Writes a batch at an absolute file offset; throws when that fails.
    virtual void WriteBatch(uint64_t offset, const uint8_t* data, size_t size) = 0;
    // Puts what was written on the disk; throws when that fails.
    virtual void Flush() = 0;

protected:
    ~IBatchWriter() = default;
};

enum class TransferEnd {
    NoMoreData, // nothing left to read
    Cancelled,  // a cancel was seen between reads
    Failed,     // an availability query or a read failed (the source keeps the error)
};

// Milliseconds of a steady clock; an empty one stands for the system's.
using MillisecondClock = std::function<uint64_t()>;

// Reads the body in pieces of at most kFileReadSize bytes, reporting each read twice (as
// InProgress, with the running count in status.received), and writes the bytes from offset
// status.received on in batches of at most kFileBatchSize bytes. A batch is also written, and
// the file flushed, when kFlushIntervalMs passed since the last flush, and at the end. While a
// pause is requested nothing is read and `pause_wait` is called between the checks.
TransferEnd RunFileReadLoop(IByteSource& source, IBatchWriter& writer, ICancelRequest& cancel,
                            IDownloadCallback& sink, DownloadStatusInfo& status,
                            const std::function<void()>& pause_wait, const MillisecondClock& now_ms = {});

struct StreamCopyResult {
    TransferEnd end = TransferEnd::NoMoreData;
    uint64_t received = 0;
    bool write_failed = false; // the sink refused bytes
};

// Copies the body into `out` in pieces of at most kStreamReadSize bytes; no pause, no reports.
StreamCopyResult CopyBodyToStream(IByteSource& source, IByteSink& out, ICancelRequest& cancel);

// True when the copy reached the end of the body with every byte taken by the sink and, when
// the server announced a length, with exactly that many bytes.
[[nodiscard]] bool IsWholeBody(const StreamCopyResult& copy, const int64_t* content_length) noexcept;
