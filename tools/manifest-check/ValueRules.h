#pragma once
// The forms the installer needs its values in. Each rule answers with an empty string when the
// value is fine, and otherwise with what is wrong, as a phrase.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct StrictVersion {
    uint32_t numbers[4] = {};
};

// Four decimal numbers separated by dots, nothing else ("17.0.0.100").
std::optional<StrictVersion> ReadStrictVersion(std::wstring_view text);
// Newer in the ordinary sense: the first number that differs is greater.
bool IsLaterVersion(const StrictVersion& candidate, const StrictVersion& reference);

// An address the installer can fetch: "http://" or "https://" and a host, no blanks.
std::wstring UrlProblem(std::wstring_view url);
bool IsHttpsUrl(std::wstring_view url);

// A language id: a positive decimal number and nothing else.
bool IsPlainLanguageId(std::wstring_view text);

// A pin: 64 hexadecimal digits.
bool IsSha256Text(std::wstring_view text);

// A Windows Installer product code: a GUID in braces.
bool IsBracedGuid(std::wstring_view text);
