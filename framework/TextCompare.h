#pragma once
// Trimming and case-blind comparison: the one home of both, with the variants the readers need.
// The string-file reader follows the Windows profile functions (blanks are space and tab, every
// letter matches its other case); the manifest, the switches' values and Windows Installer's
// messages are ASCII keywords read with the C library's white space.
#include <string_view>

inline constexpr std::wstring_view kSpaceAndTab = L" \t";
inline constexpr std::wstring_view kCWhiteSpace = L" \t\n\v\f\r";

// The text without the leading and trailing characters found in blanks.
std::wstring_view TrimmedOf(std::wstring_view text, std::wstring_view blanks) noexcept;

// Equality where only the ASCII letters A-Z and a-z match regardless of case.
bool EqualsIgnoringAsciiCase(std::wstring_view text, std::wstring_view other) noexcept;

// Equality where every letter the C library lowers matches regardless of case.
bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view other) noexcept;
