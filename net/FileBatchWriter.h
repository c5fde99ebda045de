#pragma once
// Writes a transfer's batches into an open file at their offsets, under the process-wide write
// lock so that the seek and write of one download is not interleaved with another's.
#include "framework/File.h"
#include "net/InternetSession.h"
#include "net/TransferLoop.h"

class CFileBatchWriter : public IBatchWriter {
public:
    explicit CFileBatchWriter(CFile& file) noexcept : file_(file) {}

    void WriteBatch(uint64_t offset, const uint8_t* data, size_t size) override {
        std::lock_guard lock(file_write_lock);
        file_.Seek(static_cast<int64_t>(offset), FILE_BEGIN);
        file_.Write(data, static_cast<uint32_t>(size));
    }

    void Flush() override {
        std::lock_guard lock(file_write_lock);
        file_.Flush();
    }

private:
    CFile& file_;
};
