#pragma once
// Reading one value of a Windows profile (INI) file. The Windows build uses the platform's
// profile API; elsewhere an own reader follows the same rules: section and key names match
// without regard to case, blanks around the value and one pair of enclosing quotation marks
// are removed, a key with an empty value yields an empty string, and the result is cut to
// kProfileValueLimit characters.
#include <cstddef>
#include <string>

inline constexpr size_t kProfileBufferSize = 260;
inline constexpr size_t kProfileValueLimit = kProfileBufferSize - 1;

bool ProfileFileExists(const std::wstring& path);
std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                               const std::wstring& default_value);
