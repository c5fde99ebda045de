#pragma once
// Keeps the messages meant for the user while it lives, in place of the sink installed before
// it, which it puts back when it goes.
#include "config/UserMessageSink.h"

#include <string>
#include <utility>
#include <vector>

class CUserMessageRecorder {
public:
    CUserMessageRecorder()
        : previous_(SetUserMessageSink([this](const std::wstring& text) { texts_.push_back(text); })) {}
    ~CUserMessageRecorder() { SetUserMessageSink(std::move(previous_)); }
    CUserMessageRecorder(const CUserMessageRecorder&) = delete;
    CUserMessageRecorder& operator=(const CUserMessageRecorder&) = delete;

    const std::vector<std::wstring>& Texts() const noexcept { return texts_; }

private:
    std::vector<std::wstring> texts_;
    UserMessageSink previous_;
};
