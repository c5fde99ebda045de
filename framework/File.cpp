#include "framework/File.h"

bool CFile::Open(const std::wstring& path, unsigned flags, DWORD* error) noexcept {
    Close();
    DWORD access = GENERIC_READ;
    if (flags & modeWrite)
        access = GENERIC_WRITE;
    else if (flags & modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (flags & shareDenyWrite)
        share = FILE_SHARE_READ;
    if (flags & shareExclusive)
        share = 0;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (flags & osRandomAccess)
        attributes |= FILE_FLAG_RANDOM_ACCESS;
    DWORD disposition = OPEN_EXISTING;
    if (flags & modeCreate)
        disposition = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    handle_ = ::CreateFileW(path.c_str(), access, share, nullptr, disposition, attributes, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        if (error)
            *error = ::GetLastError();
        return false;
    }
    path_ = path;
    return true;
}

void CFile::Close() noexcept {
    if (handle_ != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

uint32_t CFile::Read(void* buffer, uint32_t count) {
    DWORD read = 0;
    if (!::ReadFile(handle_, buffer, count, &read, nullptr))
        throw CFileException("read failed", ::GetLastError());
    return read;
}

void CFile::Write(const void* buffer, uint32_t count) {
    DWORD written = 0;
    if (!::WriteFile(handle_, buffer, count, &written, nullptr) || written != count)
        throw CFileException("write failed", ::GetLastError());
}

uint64_t CFile::Seek(int64_t offset, DWORD origin) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(handle_, distance, &position, origin))
        throw CFileException("seek failed", ::GetLastError());
    return static_cast<uint64_t>(position.QuadPart);
}

uint64_t CFile::GetLength() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_, &size))
        throw CFileException("size query failed", ::GetLastError());
    return static_cast<uint64_t>(size.QuadPart);
}

void CFile::SetLength(uint64_t length) {
    Seek(static_cast<int64_t>(length));
    if (!::SetEndOfFile(handle_))
        throw CFileException("truncate failed", ::GetLastError());
}

void CFile::Flush() {
    if (!::FlushFileBuffers(handle_))
        throw CFileException("flush failed", ::GetLastError());
}
