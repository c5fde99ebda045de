#pragma once
// Drives the real webinstaller.exe from a test running under Wine: starts it, waits for its
// windows and message boxes, presses their buttons and waits for it to end. Every wait
// pumps this thread's messages, so windows the test owns stay responsive meanwhile.
#include "framework/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace nvxtest {

// Windows path of the built installer (next to the test executables).
std::wstring InstallerExePath();
// Folder that holds the test executables and the installer.
std::wstring BuildFolder();

// Processes this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);

// Pumps messages until the condition holds or the time is up; answers the condition.
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeout_ms) {
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= timeout_ms)
            return condition();
        PumpMessages(20);
    }
    return true;
}

class CInstallerProcess {
public:
    CInstallerProcess() = default;
    ~CInstallerProcess(); // ends the process if the test left it running
    CInstallerProcess(const CInstallerProcess&) = delete;
    CInstallerProcess& operator=(const CInstallerProcess&) = delete;

    bool Start(const std::wstring& arguments, const std::wstring& exe_path = InstallerExePath());
    // True when the process ended within the time; its exit code goes to exit_code.
    bool WaitForExit(DWORD timeout_ms, DWORD* exit_code = nullptr);
    bool IsRunning() const;
    DWORD ProcessId() const noexcept { return process_id_; }
    void Terminate();

    // Top-level windows of the process (visible or not).
    std::vector<HWND> TopLevelWindows() const;
    // Waits for a top-level window of the process with that class (null: any) whose text
    // contains `title_part` (empty: any).
    HWND WaitForWindow(const wchar_t* class_name, const std::wstring& title_part, DWORD timeout_ms) const;
    // Waits for a standard message box of the process.
    HWND WaitForMessageBox(DWORD timeout_ms) const { return WaitForWindow(L"#32770", L"", timeout_ms); }

private:
    nvx::UniqueHandle process_;
    DWORD process_id_ = 0;
};

std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
// Child window whose text equals `text` after removing '&' accelerators; null when none.
HWND FindChildByText(HWND parent, const std::wstring& text);
// All texts of a window's children, for messages such as a message box's body.
std::wstring ChildTexts(HWND parent);
// Presses a standard button.
void PressButton(HWND button);
// Clicks a control with the left mouse button at its centre (for owner-drawn controls).
void ClickControl(HWND control);

} // namespace nvxtest
