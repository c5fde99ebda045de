#pragma once
// The document text: UTF-16 code units. On Windows those are wide characters; where wide
// characters are 32-bit (the native test and benchmark builds) the text is kept in 16-bit units
// all the same, so that a document takes the same memory and the same time to scan everywhere.
// The interface outside the text (names asked for, element texts, the log) stays wide strings.
#include "framework/Surrogates.h"

#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>

#if WCHAR_MAX <= 0xFFFF
#define NVX_XML_TEXT_IS_WIDE 1
using XmlChar = wchar_t;
#else
#define NVX_XML_TEXT_IS_WIDE 0
using XmlChar = char16_t;
#endif
static_assert(sizeof(XmlChar) == 2);
using XmlText = std::basic_string<XmlChar>;
using XmlTextView = std::basic_string_view<XmlChar>;

// Appends the units as wide characters, one for one.
inline void AppendXmlTextAsWide(XmlTextView units, std::wstring& out) {
#if NVX_XML_TEXT_IS_WIDE
    out.append(units);
#else
    size_t old_size = out.size();
    out.resize(old_size + units.size());
    wchar_t* wide = out.data() + old_size;
    const XmlChar* unit = units.data();
    for (size_t i = 0; i < units.size(); ++i)
        wide[i] = static_cast<wchar_t>(unit[i]);
#endif
}

// True when the units are the wide string's characters, one for one.
inline bool XmlTextEquals(XmlTextView units, std::wstring_view wide) {
    if (units.size() != wide.size())
        return false;
    for (size_t i = 0; i < units.size(); ++i) {
        if (static_cast<wchar_t>(units[i]) != wide[i])
            return false;
    }
    return true;
}

inline std::wstring WideFromXmlText(XmlTextView units) {
    return std::wstring(units.begin(), units.end());
}

// The text of a wide string. Where wide characters are 32-bit, those beyond 16 bits become
// surrogate pairs, as UTF-16 writes them.
inline XmlText XmlTextFromWide(std::wstring&& text) {
#if NVX_XML_TEXT_IS_WIDE
    return std::move(text);
#else
    XmlText units;
    units.reserve(text.size());
    for (wchar_t c : text) {
        auto code = static_cast<uint32_t>(c);
        if (code > 0xFFFF && code <= 0x10FFFF) {
            units += static_cast<XmlChar>(nvx::HighSurrogate(code));
            units += static_cast<XmlChar>(nvx::LowSurrogate(code));
        } else {
            units += static_cast<XmlChar>(code);
        }
    }
    return units;
#endif
}
