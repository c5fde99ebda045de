#pragma once
// Small text rules shared by the readers of the manifest and the registry (case-blind comparison
// and trimming live in framework/TextCompare.h).
//
// Decimal text to integer the way the C library's wide-string conversion reads it: leading
// white space and one sign are accepted, reading stops at the first non-digit, no digits
// give 0. Values beyond the int range are clamped instead of overflowing.
#include <cstdint>
#include <string_view>

int32_t DecimalTextToInt(std::wstring_view text) noexcept;
