#include "xml/FileAccess.h"

#include <windows.h>

namespace {

constexpr DWORD kMessageBufferSize = 100;

FileFailure DescribeError(DWORD code) {
    FileFailure failure;
    failure.code = static_cast<long>(code);
    wchar_t buffer[kMessageBufferSize] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  0, buffer, kMessageBufferSize, nullptr);
    failure.message.assign(buffer, length);
    return failure;
}

} // namespace

FILE* OpenFileForReading(const std::wstring& path) {
    return _wfopen(path.c_str(), L"rb");
}

FileFailure LastFileFailure() {
    return DescribeError(GetLastError());
}

FileFailure FileTooLargeFailure() {
    return DescribeError(ERROR_FILE_TOO_LARGE);
}
