#include "config/UserMessageSink.h"

#include <windows.h>

#include <utility>

namespace {

UserMessageSink& CurrentSink() {
    static UserMessageSink sink;
    return sink;
}

} // namespace

UserMessageSink SetUserMessageSink(UserMessageSink sink) {
    return std::exchange(CurrentSink(), std::move(sink));
}

void ShowUserMessage(const std::wstring& text) {
    if (const UserMessageSink& sink = CurrentSink()) {
        sink(text);
        return;
    }
    ::OutputDebugStringW((text + L"\r\n").c_str());
}
