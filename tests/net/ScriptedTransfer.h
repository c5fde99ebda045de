#pragma once
// Stand-ins for the network and the file around the read loops: a body that arrives in portions
// of a chosen size, a cancel query driven by the test, a writer that keeps an image of the file.
#include "net/TransferLoop.h"
#include "tests/net/Pattern.h"

#include <cstdint>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

namespace nettest {

// A body of `size` pattern bytes. Each availability query with nothing pending lets the next
// `portion` bytes arrive, the way a network stack hands out what it has buffered.
class CScriptedSource final : public IByteSource {
public:
    CScriptedSource(uint64_t size, uint32_t portion) : size_(size), portion_(portion) {}

    bool QueryDataAvailable(uint32_t& available) override {
        ++queries;
        if (fail_at && delivered >= fail_at) {
            error_ = 12030;
            return false;
        }
        if (pending_ == 0)
            pending_ = static_cast<uint32_t>(std::min<uint64_t>(portion_, size_ - delivered));
        available = pending_ + phantom;
        return true;
    }

    bool Read(uint8_t* buffer, uint32_t size, uint32_t& read) override {
        read_sizes.push_back(size);
        // A read without a query first waits for the next portion, as a network read does.
        if (pending_ == 0)
            pending_ = static_cast<uint32_t>(std::min<uint64_t>(portion_, size_ - delivered));
        uint32_t n = std::min(size, pending_);
        for (uint32_t i = 0; i < n; ++i)
            buffer[i] = PatternByte(delivered + i);
        delivered += n;
        pending_ -= n;
        read = n;
        return true;
    }

    uint32_t LastError() const override { return error_; }

    uint64_t delivered = 0;
    uint64_t fail_at = 0; // the query fails once this many bytes were read (0: never)
    uint32_t phantom = 0; // bytes announced on top of what can be read
    int queries = 0;
    std::vector<uint32_t> read_sizes;

private:
    uint64_t size_;
    uint32_t portion_;
    uint32_t pending_ = 0;
    uint32_t error_ = 0;
};

class CScriptedCancel final : public ICancelRequest {
public:
    bool IsCancelRequested() override { return cancel && cancel(); }
    bool IsPauseRequested() override { return pause && pause(); }

    std::function<bool()> cancel;
    std::function<bool()> pause;
};

struct Batch {
    uint64_t offset;
    size_t size;
};

class CImageWriter final : public IBatchWriter {
public:
    void WriteBatch(uint64_t offset, const uint8_t* data, size_t size) override {
        if (throw_on_batch && batches.size() + 1 == throw_on_batch)
            throw std::runtime_error("disk full");
        batches.push_back({offset, size});
        if (image.size() < offset + size)
            image.resize(offset + size);
        std::copy(data, data + size, image.begin() + static_cast<std::ptrdiff_t>(offset));
    }

    void Flush() override { flushed_sizes.push_back(image.size()); }

    std::vector<Batch> batches;
    std::vector<size_t> flushed_sizes; // the image's size at each flush
    std::vector<uint8_t> image;
    size_t throw_on_batch = 0; // 1-based; 0: never
};

class CReportLog final : public IDownloadCallback {
public:
    void OnDownloadStatus(DownloadStatusInfo& status) override {
        reports.push_back(status);
        if (on_report)
            on_report(status);
    }

    std::vector<DownloadStatusInfo> reports;
    std::function<void(const DownloadStatusInfo&)> on_report;
};

} // namespace nettest
