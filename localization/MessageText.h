#pragma once
// Fills the "%s" of a UI text. The texts come from per-language string files, so they are
// never used as a printf format: a stray "%d" or "%n" in a translation stays plain text.
#include <string>
#include <string_view>

// `text` with its first "%s" replaced by `value` and every "%%" by "%"; any other "%" stays.
std::wstring FillPlaceholder(std::wstring_view text, std::wstring_view value);
