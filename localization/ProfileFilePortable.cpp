// Profile files where the platform's profile API is not available.
#include "framework/NarrowPath.h"
#include "localization/IniText.h"
#include "localization/ProfileFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

// Backslashes separate folders in the installer's paths; here they become slashes.
std::string NativePath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return NarrowPath(path);
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
