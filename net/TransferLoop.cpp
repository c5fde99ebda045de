#include "net/TransferLoop.h"

#include "net/HttpRules.h"

#include <algorithm>
#include <vector>

namespace {

class CBatch {
public:
    explicit CBatch(IBatchWriter& writer) : writer_(writer) { bytes_.reserve(kFileBatchSize); }

    void Append(const uint8_t* data, uint32_t size) { bytes_.insert(bytes_.end(), data, data + size); }
    bool WouldOverflow() const noexcept { return bytes_.size() + kFileReadSize > kFileBatchSize; }
    bool Empty() const noexcept { return bytes_.empty(); }

    void WriteOut() {
        writer_.WriteBatch(offset_, bytes_.data(), bytes_.size());
        offset_ += bytes_.size();
        bytes_.clear();
    }

private:
    IBatchWriter& writer_;
    std::vector<uint8_t> bytes_;
    uint64_t offset_ = 0;
};

} // namespace

TransferEnd RunFileReadLoop(IByteSource& source, IBatchWriter& writer, ICancelRequest& cancel,
                            IDownloadCallback& sink, DownloadStatusInfo& status,
                            const std::function<void()>& pause_wait) {
    CBatch batch(writer);
    uint8_t buffer[kFileReadSize];
    TransferEnd end = TransferEnd::NoMoreData;
    for (;;) {
        uint32_t available = 0;
        if (!source.QueryDataAvailable(available)) {
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
        uint32_t read = 0;
        if (!source.Read(buffer, std::min(available, kFileReadSize), read)) {
            end = TransferEnd::Failed;
            break;
        }
        // A source that announces bytes but delivers none has nothing more to give; stopping
        // here keeps the loop from spinning.
        if (read == 0)
            break;
        status.state = DownloadState::InProgress;
        status.received += read;
        sink.OnDownloadStatus(status);
        batch.Append(buffer, read);
        if (batch.WouldOverflow() || read < kFileReadSize)
            batch.WriteOut();
        sink.OnDownloadStatus(status);
    }
    if (!batch.Empty())
        batch.WriteOut();
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
