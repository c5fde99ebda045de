#pragma once
// The local file of a download job: created only once the server's answer says how long it
// is, and only when its volume has room for it.
#include "framework/File.h"
#include "net/FileBatchWriter.h"
#include "net/ResumableDownload.h"

#include <cstdint>
#include <functional>
#include <string>

// Free bytes available to this user on the volume of `folder`; false when it cannot be told.
using FreeSpaceQuery = std::function<bool(const std::wstring& folder, uint64_t& free_bytes)>;
// The query in force (tests put a small volume in its place).
extern FreeSpaceQuery free_space_query;

class CDownloadFileTarget final : public IDownloadTarget {
public:
    explicit CDownloadFileTarget(std::wstring path) : path_(std::move(path)), writer_(file_) {}

    TargetReady Prepare(uint64_t length) override;
    void WriteBatch(uint64_t offset, const uint8_t* data, size_t size) override {
        writer_.WriteBatch(offset, data, size);
    }
    void Flush() override { writer_.Flush(); }

    bool created() const noexcept { return created_; }
    void Close() noexcept { file_.Close(); }

private:
    std::wstring path_;
    CFile file_;
    CFileBatchWriter writer_;
    bool created_ = false;
};

// The folder part of a file path (up to and including its last backslash).
std::wstring FolderOf(const std::wstring& path);
