#include "engine/EngineBoundary.h"

#include <windows.h>

#include <exception>
#include <string>

namespace {

void Report(const wchar_t* where, const char* what) noexcept {
    try {
        std::wstring line = L"Exception at ";
        line += where;
        line += L": ";
        for (const char* c = what; *c; ++c)
            line += static_cast<wchar_t>(static_cast<unsigned char>(*c));
        line += L"\r\n";
        ::OutputDebugStringW(line.c_str());
    } catch (...) {
        ::OutputDebugStringW(L"Exception at an engine boundary\r\n");
    }
}

} // namespace

bool RunAtBoundary(const wchar_t* where, const std::function<void()>& body) noexcept {
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        Report(where, e.what());
    } catch (...) {
        Report(where, "unknown exception");
    }
    return false;
}
