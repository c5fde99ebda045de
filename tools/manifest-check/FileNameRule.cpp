#include "tools/manifest-check/FileNameRule.h"

#include "config/TextRules.h"

namespace {

// The device names Windows reserves in every folder, with or without an extension.
bool IsReservedDeviceName(std::wstring_view name) {
    std::wstring_view stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.remove_suffix(1);
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (EqualsIgnoringAsciiCase(stem, device))
            return true;
    }
    if (stem.size() == 4 && stem[3] >= L'1' && stem[3] <= L'9')
        return EqualsIgnoringAsciiCase(stem.substr(0, 3), L"COM") ||
               EqualsIgnoringAsciiCase(stem.substr(0, 3), L"LPT");
    return false;
}

} // namespace

std::wstring FileNameProblem(std::wstring_view name) {
    if (name.empty())
        return L"is empty";
    if (name.find_first_of(L"\\/") != std::wstring_view::npos)
        return L"contains a path separator";
    if (name == L"." || name.find(L"..") != std::wstring_view::npos)
        return L"contains \"..\"";
    if (name.find(L':') != std::wstring_view::npos)
        return L"contains a colon (a drive or an alternate data stream)";
    for (wchar_t c : name) {
        if (c < 0x20 || c == 0x7F)
            return L"contains a control character";
    }
    if (name.find_first_of(L"<>\"|?*") != std::wstring_view::npos)
        return L"contains a character Windows does not allow in file names (< > \" | ? *)";
    if (IsReservedDeviceName(name))
        return L"is a reserved device name";
    if (name.back() == L' ' || name.back() == L'.')
        return L"ends with a blank or a dot, which Windows drops";
    return {};
}
