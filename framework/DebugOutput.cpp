#include "framework/DebugOutput.h"

#include <windows.h>

#include <mutex>

namespace nvx {
namespace {

std::mutex sink_mutex;
DebugOutputSink current_sink; // empty: the debugger output

DebugOutputSink ExchangeSink(DebugOutputSink sink) {
    std::lock_guard lock(sink_mutex);
    std::swap(current_sink, sink);
    return sink;
}

} // namespace

void WriteDebugOutput(const std::wstring& text) noexcept {
    try {
        DebugOutputSink sink;
        {
            std::lock_guard lock(sink_mutex);
            sink = current_sink;
        }
        std::wstring line = text + L"\r\n";
        if (sink)
            sink(line);
        else
            ::OutputDebugStringW(line.c_str());
    } catch (...) {
        // Out of memory or a failing test sink: a diagnostic is not worth a crash.
    }
}

CDebugOutputSinkScope::CDebugOutputSinkScope(DebugOutputSink sink)
    : previous_(ExchangeSink(std::move(sink))) {}

CDebugOutputSinkScope::~CDebugOutputSinkScope() {
    ExchangeSink(std::move(previous_));
}

} // namespace nvx
