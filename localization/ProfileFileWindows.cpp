#include "localization/ProfileFile.h"

#include <windows.h>
#include <shlwapi.h>

bool ProfileFileExists(const std::wstring& path) {
    return ::PathFileExistsW(path.c_str()) != FALSE;
}

std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                               const std::wstring& default_value) {
    wchar_t buffer[kProfileBufferSize] = {};
    DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), default_value.c_str(), buffer,
                                              static_cast<DWORD>(kProfileBufferSize), path.c_str());
    return std::wstring(buffer, length);
}
