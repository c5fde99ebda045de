#pragma once
// The rules of profile files over text already decoded to UTF-16, and the decoding of the
// file's bytes (UTF-16 with either byte-order mark, UTF-8 with or without one, else Latin-1).
#include <optional>
#include <string>
#include <string_view>

std::wstring DecodeIniBytes(std::string_view bytes);

// The raw value of section/key, or nothing when the section or key is absent.
std::optional<std::wstring> FindIniValue(std::wstring_view text, std::wstring_view section,
                                         std::wstring_view key);
