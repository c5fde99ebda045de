#pragma once
// The program's one diagnostic channel. Every component writes lines to it; each line carries
// the time it was written and the component that wrote it. The debugger output is always one
// of its outputs; more outputs (a log file, a test that listens) are added for a scope. Writing
// never throws and never fails the caller: a diagnostic is not worth a crash.
//
//   nvx::Diagnose(L"engine", L"download failed: " + url);
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace nvx {

struct DiagnosticLine {
    std::chrono::system_clock::time_point time;
    std::wstring component;
    std::wstring text;
};

// "2026-12-11T06:20:01.123Z [component] text": UTC, so that lines from machines in different
// time zones line up; control characters in the text become spaces, so that one call is
// always one line whatever a server or a file put into it.
std::wstring FormatDiagnosticLine(const DiagnosticLine& line);

// Sends one line to every output.
void Diagnose(std::wstring_view component, std::wstring_view text) noexcept;

using DiagnosticOutput = std::function<void(const DiagnosticLine& line)>;

// Adds an output for one scope, beside the others, and removes it on scope exit. Outputs are
// called on the writing thread, one line at a time (never two at once).
class CDiagnosticOutputScope {
public:
    explicit CDiagnosticOutputScope(DiagnosticOutput output);
    ~CDiagnosticOutputScope();
    CDiagnosticOutputScope(const CDiagnosticOutputScope&) = delete;
    CDiagnosticOutputScope& operator=(const CDiagnosticOutputScope&) = delete;

private:
    uint64_t id_;
};

// The platform's debugger output (nothing where there is none); defined per platform.
void WriteToDebugger(const std::wstring& formatted_line) noexcept;

} // namespace nvx
