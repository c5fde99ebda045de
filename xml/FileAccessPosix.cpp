#include "xml/FileAccess.h"

#include "framework/NarrowPath.h"
#include "xml/Utf8.h"

#include <cerrno>
#include <cstring>

namespace {

FileFailure DescribeError(int code) {
    FileFailure failure;
    failure.code = code;
    XmlText message;
    AppendUtf8AsUtf16(std::strerror(code), message);
    failure.message = WideFromXmlText(message);
    return failure;
}

} // namespace

FILE* OpenFileForReading(const std::wstring& path) {
    return std::fopen(NarrowPath(path).c_str(), "rb");
}

FileFailure LastFileFailure() {
    return DescribeError(errno);
}

FileFailure FileTooLargeFailure() {
    return DescribeError(EFBIG);
}
