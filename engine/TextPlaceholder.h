#pragma once
// Message texts come from string files the user can edit, so a "%s" in them is filled by
// plain replacement, never by handing the text to a formatting function as its format.
#include <string>
#include <string_view>

// The text with its first "%s" replaced by `value`; unchanged when it has none.
std::wstring FillPlaceholder(std::wstring text, std::wstring_view value);
