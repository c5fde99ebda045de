#include "framework/Diagnostics.h"

namespace nvx {

// No debugger output outside Windows: the lines reach only the outputs added for a scope.
void WriteToDebugger(const std::wstring&) noexcept {}

} // namespace nvx
