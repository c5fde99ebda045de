#include "xml/CodePageConversion.h"

#include <windows.h>

#include <climits>

bool ConvertFromCodePage(int code_page, std::string_view bytes, XmlText& text) {
    if (bytes.empty())
        return true;
    if (bytes.size() > INT_MAX) // files that large are refused before they get here
        return false;
    auto page = static_cast<UINT>(code_page);
    int count = static_cast<int>(bytes.size());
    int needed = MultiByteToWideChar(page, 0, bytes.data(), count, nullptr, 0);
    if (needed <= 0)
        return false;
    size_t before = text.size();
    text.resize(before + static_cast<size_t>(needed));
    int written = MultiByteToWideChar(page, 0, bytes.data(), count, text.data() + before, needed);
    text.resize(before + static_cast<size_t>(written > 0 ? written : 0));
    return written > 0;
}
