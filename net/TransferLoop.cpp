#include "net/TransferLoop.h"

#include "net/HttpRules.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

// The bytes read but not yet written, kept where the next read lands so that nothing is copied.
class CBatch {
public:
    CBatch(IBatchWriter& writer, uint64_t offset)
        : writer_(writer), bytes_(kFileBatchSize), offset_(offset) {}

    uint8_t* Tail() noexcept { return bytes_.data() + filled_; }
    uint32_t Room() const noexcept { return static_cast<uint32_t>(bytes_.size() - filled_); }
    void Grow(uint32_t size) noexcept { filled_ += size; }
    bool Empty() const noexcept { return filled_ == 0; }

    void WriteOut() {
        if (filled_ == 0)
            return;
        writer_.WriteBatch(offset_, bytes_.data(), filled_);
        offset_ += filled_;
        filled_ = 0;
    }

private:
    IBatchWriter& writer_;
    std::vector<uint8_t> bytes_;
    size_t filled_ = 0;
    uint64_t offset_;
};

uint64_t SteadyMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

} // namespace

TransferEnd RunFileReadLoop(IByteSource& source, IBatchWriter& writer, ICancelRequest& cancel,
                            IDownloadCallback& sink, DownloadStatusInfo& status,
                            const std::function<void()>& pause_wait, const MillisecondClock& now_ms) {
    auto now = [&now_ms] { return now_ms ? now_ms() : SteadyMs(); };
    CBatch batch(writer, status.received);
    uint64_t last_flush = now();
    TransferEnd end = TransferEnd::NoMoreData;
    bool flowing = false; // the last read filled all it asked for: more is on its way
    for (;;) {
        // While the body streams in, the next read waits for it itself; asking first would
        // double the calls for nothing.
        uint32_t available = flowing ? kFileReadSize : 0;
        if (!flowing && !source.QueryDataAvailable(available)) {
            end = TransferEnd::Failed;
            break;
        }
        if (cancel.IsCancelRequested()) {
            end = TransferEnd::Cancelled;
            break;
        }
        if (cancel.IsPauseRequested()) {
            pause_wait();
            continue;
        }
        if (available == 0)
            break;
        // A read takes what has arrived up to its size, whatever the availability query
        // offered (Wine's offers at most 8 KiB).
        uint32_t read = 0;
        const uint32_t asked = std::min(batch.Room(), kFileReadSize);
        if (!source.Read(batch.Tail(), asked, read)) {
            end = TransferEnd::Failed;
            break;
        }
        // A source that announces bytes but delivers none has nothing more to give; stopping
        // here keeps the loop from spinning.
        if (read == 0)
            break;
        flowing = read == asked;
        status.state = DownloadState::InProgress;
        status.received += read;
        sink.OnDownloadStatus(status);
        batch.Grow(read);
        if (batch.Room() < kFileReadSize)
            batch.WriteOut();
        if (now() - last_flush >= kFlushIntervalMs) {
            batch.WriteOut();
            writer.Flush();
            last_flush = now();
        }
        sink.OnDownloadStatus(status);
    }
    batch.WriteOut();
    writer.Flush();
    return end;
}

StreamCopyResult CopyBodyToStream(IByteSource& source, IByteSink& out, ICancelRequest& cancel) {
    StreamCopyResult result;
    std::vector<uint8_t> buffer(kStreamReadSize);
    for (;;) {
        uint32_t available = 0;
        if (!source.QueryDataAvailable(available)) {
            result.end = TransferEnd::Failed;
            break;
        }
        if (cancel.IsCancelRequested()) {
            result.end = TransferEnd::Cancelled;
            break;
        }
        if (available == 0)
            break;
        uint32_t read = 0;
        if (!source.Read(buffer.data(), std::min(available, kStreamReadSize), read)) {
            result.end = TransferEnd::Failed;
            break;
        }
        if (read == 0)
            break;
        result.received += read;
        if (!out.Write(buffer.data(), read)) {
            result.write_failed = true;
            break;
        }
    }
    return result;
}

bool IsWholeBody(const StreamCopyResult& copy, const int64_t* content_length) noexcept {
    if (copy.end != TransferEnd::NoMoreData || copy.write_failed)
        return false;
    return !content_length ||
           (*content_length >= 0 && copy.received == static_cast<uint64_t>(*content_length));
}
