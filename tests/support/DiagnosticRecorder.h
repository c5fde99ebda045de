#pragma once
// Keeps the lines written to the diagnostic channel while it lives (from any thread).
#include "framework/Diagnostics.h"

#include <mutex>
#include <string>
#include <vector>

class CDiagnosticRecorder {
public:
    CDiagnosticRecorder()
        : scope_([this](const nvx::DiagnosticLine& line) {
              std::lock_guard lock(mutex_);
              lines_.push_back(line);
          }) {}
    CDiagnosticRecorder(const CDiagnosticRecorder&) = delete;
    CDiagnosticRecorder& operator=(const CDiagnosticRecorder&) = delete;

    std::vector<nvx::DiagnosticLine> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    // The texts of the lines, of one component or of all.
    std::vector<std::wstring> Texts(const std::wstring& component = {}) const {
        std::vector<std::wstring> texts;
        for (const nvx::DiagnosticLine& line : Lines()) {
            if (component.empty() || line.component == component)
                texts.push_back(line.text);
        }
        return texts;
    }

private:
    mutable std::mutex mutex_;
    std::vector<nvx::DiagnosticLine> lines_;
    nvx::CDiagnosticOutputScope scope_; // last: it goes first, before what it records into
};
