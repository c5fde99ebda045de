#pragma once
// Wide text as UTF-8 bytes, for files the program writes. UTF-16 pairs (Windows' wchar_t) and
// whole code points (32-bit wchar_t) are both taken; a lone surrogate becomes U+FFFD.
#include <string>
#include <string_view>

std::string ToUtf8(std::wstring_view text);
