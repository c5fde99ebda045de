#pragma once
// Answers the message boxes this process shows, from a thread of its own (the box's modal
// loop holds the test's thread), and keeps what they said. The answer is the button id
// (IDOK unless told: IDYES, IDNO, IDRETRY, IDCANCEL, ...); `look` runs on the answering thread
// with the box on screen, before the answer, for what the test checks while the box shows.
#include "tests/support/InstallerProcess.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class CMessageBoxAnswerer {
public:
    explicit CMessageBoxAnswerer(int answer = IDOK, std::function<void(HWND)> look = {})
        : answer_(answer), look_(std::move(look)), thread_([this] { Run(); }) {}
    ~CMessageBoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    CMessageBoxAnswerer(const CMessageBoxAnswerer&) = delete;
    CMessageBoxAnswerer& operator=(const CMessageBoxAnswerer&) = delete;

    std::vector<std::wstring> Texts() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return texts_;
    }

private:
    void Run() {
        while (!stop_) {
            ::EnumWindows(&CMessageBoxAnswerer::Visit, reinterpret_cast<LPARAM>(this));
            ::Sleep(20);
        }
    }

    static BOOL CALLBACK Visit(HWND hwnd, LPARAM self_pointer) {
        auto* self = reinterpret_cast<CMessageBoxAnswerer*>(self_pointer);
        DWORD process = 0;
        ::GetWindowThreadProcessId(hwnd, &process);
        if (process != ::GetCurrentProcessId() || nvxtest::ClassName(hwnd) != L"#32770" ||
            !::IsWindowVisible(hwnd))
            return TRUE;
        std::lock_guard<std::mutex> lock(self->mutex_);
        if (self->answered_.insert(hwnd).second) {
            self->texts_.push_back(nvxtest::ChildTexts(hwnd));
            if (self->look_)
                self->look_(hwnd);
            ::PostMessageW(hwnd, WM_COMMAND, static_cast<WPARAM>(self->answer_), 0);
        }
        return TRUE;
    }

    const int answer_;
    const std::function<void(HWND)> look_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::set<HWND> answered_;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};
