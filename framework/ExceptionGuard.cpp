#include "framework/ExceptionGuard.h"

#include "framework/Diagnostics.h"

#include <cwchar>
#include <exception>
#include <string>

namespace nvx {
namespace {

// Exception texts are narrow and ours are UTF-8; stray bytes become replacement characters.
std::wstring Widen(const char* text) {
    int length = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring(text, text + std::char_traits<char>::length(text));
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

std::wstring WhatWasThrown() {
    try {
        throw;
    } catch (const std::exception& caught) {
        return Widen(caught.what());
    } catch (...) {
        return L"unknown exception";
    }
}

} // namespace

void ReportCurrentException(const GuardSite& site) noexcept {
    try {
        std::wstring line = L"Exception caught in " + Widen(site.function ? site.function : "?");
        if (site.has_message) {
            wchar_t message[32];
            std::swprintf(message, std::size(message), L" (message 0x%04X)", site.message);
            line += message;
        }
        line += L": " + WhatWasThrown();
        Diagnose(L"guard", line);
    } catch (...) {
        // Nothing left to tell it with.
    }
}

} // namespace nvx
