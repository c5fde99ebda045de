// Profile files where the platform's profile API is not available.
#include "localization/IniText.h"
#include "localization/ProfileFile.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

// Backslashes separate folders in the installer's paths; here they become slashes.
std::string NativePath(const std::wstring& path) {
    std::string native;
    for (wchar_t c : path) {
        uint32_t code = c == L'\\' ? L'/' : static_cast<uint32_t>(c);
        if (code < 0x80) {
            native.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            native.push_back(static_cast<char>(0xC0 | code >> 6));
            native.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            native.push_back(static_cast<char>(0xE0 | code >> 12));
            native.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            native.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return native;
}

std::wstring Limit(std::wstring text) {
    if (text.size() > kProfileValueLimit)
        text.resize(kProfileValueLimit);
    return text;
}

} // namespace

bool ProfileFileExists(const std::wstring& path) {
    struct stat info {};
    return ::stat(NativePath(path).c_str(), &info) == 0;
}

std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                               const std::wstring& default_value) {
    std::ifstream file(NativePath(path), std::ios::binary);
    if (!file)
        return Limit(default_value);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::optional<std::wstring> value = FindIniValue(DecodeIniBytes(bytes), section, key);
    return Limit(value ? *value : default_value);
}
