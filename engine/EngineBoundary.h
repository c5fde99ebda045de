#pragma once
// The engine's thread entry and its Windows Installer callback are boundaries no exception may
// cross. Until the framework offers its guard for such places, this one catches there and says
// what escaped, and where, on the debugger output.
#include <functional>

// Runs `body`; true when it returned normally, false when it threw (the exception is reported).
bool RunAtBoundary(const wchar_t* where, const std::function<void()>& body) noexcept;
