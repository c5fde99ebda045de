#pragma once
// A file on disk. Open answers false on failure; the transfer operations throw
// CFileException, so callers that must not fail turn it into a result in one place.
#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
public:
    CFileException(const char* what, DWORD error) : std::runtime_error(what), error_(error) {}
    DWORD error() const noexcept { return error_; }

private:
    DWORD error_;
};

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeNoTruncate = 0x1000,
        modeCreate = 0x2000,
        typeBinary = 0x8000, // files are always binary; accepted for the callers' clarity
        osRandomAccess = 0x40000,
    };

    CFile() noexcept = default;
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    [[nodiscard]] bool Open(const std::wstring& path, unsigned flags, DWORD* error = nullptr) noexcept;
    void Close() noexcept;
    bool IsOpen() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    const std::wstring& GetFilePath() const noexcept { return path_; }

    uint32_t Read(void* buffer, uint32_t count);
    void Write(const void* buffer, uint32_t count);
    uint64_t Seek(int64_t offset, DWORD origin = FILE_BEGIN);
    uint64_t SeekToEnd() { return Seek(0, FILE_END); }
    uint64_t GetLength() const;
    void SetLength(uint64_t length);
    void Flush();

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::wstring path_;
};
