#include "framework/Diagnostics.h"

#include <windows.h>

namespace nvx {

void WriteToDebugger(const std::wstring& formatted_line) noexcept {
    ::OutputDebugStringW(formatted_line.c_str());
}

} // namespace nvx
