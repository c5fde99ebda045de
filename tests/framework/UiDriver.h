#pragma once
// Drives this process's own windows from a second thread while the test's thread sits in a
// modal loop. Keystrokes are posted, as the system queues them, so that they pass through the
// loop under test (a sent message would bypass it); message boxes are found by their text.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace nvxtest {

inline constexpr DWORD kUiTimeoutMs = 10000;

// Posts a key press and its release to a window.
void PostKeystroke(HWND target, WORD virtual_key);
// The window that has the keyboard focus on a thread, or null.
HWND FocusOfThread(DWORD thread_id);
// A visible message box of this process owned by `owner` whose texts contain `text`, or null.
HWND FindMessageBox(HWND owner, const std::wstring& text);
// Waits for such a box; null when none came in time.
HWND WaitForMessageBox(HWND owner, const std::wstring& text);
// Presses a key in a message box: at its focused control, or at its OK button when the focus
// is elsewhere.
void PressKeyInMessageBox(HWND box, WORD virtual_key);
// Posts IDCANCEL and IDOK to every dialog and message box of this process (ends a test whose
// script failed, instead of leaving it hanging in a modal loop).
void CancelEveryDialog();

// Runs a script on a thread of its own. A script that answers false (a wait failed) is followed
// by CancelEveryDialog until the driver is destroyed, so that the loop under test ends.
class CUiDriver {
public:
    explicit CUiDriver(std::function<bool()> script);
    ~CUiDriver();
    CUiDriver(const CUiDriver&) = delete;
    CUiDriver& operator=(const CUiDriver&) = delete;
    // Waits for the script to end (the loop under test has ended, so its waits resolve) and
    // answers whether it got through.
    bool Finish();

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> script_done_{false};
    std::atomic<bool> completed_{false};
    std::thread thread_;
};

} // namespace nvxtest
