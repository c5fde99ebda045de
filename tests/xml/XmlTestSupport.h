#pragma once
// Helpers of the XML reader tests: UTF-16 literals as wide strings on every platform, fixture
// paths, and a readable picture of the element tree.
#include "xml/XmlDocument.h"

#include <string>

// The UTF-16 units of a char16_t literal, one unit per wide character (wchar_t is 32-bit natively).
inline std::wstring Utf16(std::u16string_view text) {
    std::wstring out;
    for (char16_t unit : text)
        out += static_cast<wchar_t>(unit);
    return out;
}

inline std::wstring XmlFixturePath(const char* name) {
    std::string path = std::string(NVX_TEST_DATA_DIR) + "/xml/" + name;
    return std::wstring(path.begin(), path.end());
}

// The element tree as nested names, e.g. "a(b! c)": children in parentheses, "!" after an
// element whose start tag was never ended.
std::wstring TreePicture(const XmlDocument& document);

// Checks the links of every entry: parents, sibling chains, the last-child link of first
// children and the first-child flag.
void ExpectConsistentLinks(const XmlDocument& document);
