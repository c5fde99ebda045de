#pragma once
// The debugger output, the program's only diagnostic channel. Lines go through one
// replaceable sink so that tests can read what the program reports.
#include <functional>
#include <string>

namespace nvx {

using DebugOutputSink = std::function<void(const std::wstring& line)>;

// Writes one line (a line end is added) to the sink in force; never throws.
void WriteDebugOutput(const std::wstring& text) noexcept;

// Replaces the sink for one scope (an empty sink means the debugger output) and puts the
// previous one back on scope exit.
class CDebugOutputSinkScope {
public:
    explicit CDebugOutputSinkScope(DebugOutputSink sink);
    ~CDebugOutputSinkScope();
    CDebugOutputSinkScope(const CDebugOutputSinkScope&) = delete;
    CDebugOutputSinkScope& operator=(const CDebugOutputSinkScope&) = delete;

private:
    DebugOutputSink previous_;
};

} // namespace nvx
