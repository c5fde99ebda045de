#pragma once
// Drives the real webinstaller.exe from a test running under Wine: starts it, waits for its
// windows and message boxes, presses their buttons and waits for it to end. Every wait
// pumps this thread's messages, so windows the test owns stay responsive meanwhile, and
// waits for the state the test goes on with (a window initialised, shown, a box's text set),
// never for a window's mere existence: a window exists from the moment it is created, long
// before its text, its controls or its visibility are what they will be.
#include "framework/Handles.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace nvxtest {

// Windows path of the built installer (next to the test executables).
std::wstring InstallerExePath();
// Folder that holds the test executables and the installer.
std::wstring BuildFolder();

// Processes this thread's messages for the given time (0: those waiting now).
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
    // Waits for a top-level window of the process for which `ready` holds; null when the time
    // is up or the process ended first.
    HWND WaitForWindow(const std::function<bool(HWND)>& ready, DWORD timeout_ms) const;
    // Waits for a top-level window of the process with that class (null: any) whose text
    // contains `title_part` (empty: any) and that has settled (see HasSettled): created and
    // initialised, shown or hidden as its program decided.
    HWND WaitForWindow(const wchar_t* class_name, const std::wstring& title_part, DWORD timeout_ms) const;
    // Waits for such a window that is on screen: visible, enabled and settled.
    HWND WaitForShownWindow(const wchar_t* class_name, DWORD timeout_ms) const;
    // Waits for a standard message box of the process on screen whose texts contain
    // `text_part` (empty: any), its text and buttons in place.
    HWND WaitForMessageBox(DWORD timeout_ms, const std::wstring& text_part = L"") const;
    // Waits for such a box, presses its button of that text, then waits for the process to
    // end. The exit code; nothing when the box or the end did not come in time.
    std::optional<DWORD> AnswerBoxAndWaitForExit(DWORD timeout_ms, const std::wstring& text_part,
                                                 const std::wstring& button = L"OK");

private:
    nvx::UniqueHandle process_;
    DWORD process_id_ = 0;
};

// True once the thread that owns the window has answered messages sent to it now, twice: what
// it was doing when the window was found (creating it, running its initialisation) is over and
// it is back in its message loop; twice because a dialog manager shows its dialog the first
// time its queue runs empty, which is after it answered the first. False when the thread did
// not answer within the time (busy, or the window is gone).
bool HasSettled(HWND hwnd, DWORD timeout_ms = 5000);
// A control a user could operate: visible and enabled.
bool IsUsable(HWND control);

std::wstring WindowText(HWND hwnd);
// The text a control holds, asked of the control itself (WM_GETTEXT): for a control of another
// process WindowText gives only the text the window was created with, never what an edit field
// holds now.
std::wstring ControlText(HWND control);
std::wstring ClassName(HWND hwnd);
// Child window whose text equals `text` after removing '&' accelerators; null when none.
HWND FindChildByText(HWND parent, const std::wstring& text);
// All texts of a window's children, for messages such as a message box's body.
std::wstring ChildTexts(HWND parent);
// Presses a standard button.
void PressButton(HWND button);
// Clicks a control with the left mouse button at its centre (for owner-drawn controls).
void ClickControl(HWND control);

// A visible control with that id anywhere below the window (the wizard's pages are child
// dialogs); null when there is none.
HWND FindShownControl(HWND top, int id);
// Waits for such a control; null when the time is up or the window went.
HWND WaitForShownControl(HWND top, int id, DWORD timeout_ms);

// The window that has the keyboard focus in the thread of `top` when it is `top` or one of its
// children; otherwise `top` itself. Keys a user types go there.
HWND KeyboardFocus(HWND top);
// A key pressed and released, as the keyboard delivers it to the window with the focus: through
// the receiving thread's queue, so its dialog manager sees it.
void PostKeyPress(HWND focus, UINT virtual_key);
// Waits until the thread of `edit` (an edit control, shown or not) has handled the messages
// posted to its windows before this call: posts a harmless marker behind them (a change of the
// edit's selection, kept afterwards) and waits for its effect. False when the time is up or the
// edit went first.
bool WaitUntilPostedHandled(HWND edit, DWORD timeout_ms);
// A control with that id anywhere below the window, shown or not; null when there is none.
HWND FindControl(HWND top, int id);
// Visible standard dialogs (message boxes and the like) of the process.
std::vector<HWND> ShownDialogs(const CInstallerProcess& installer);

// Closes the wizard the way a user does (WM_CLOSE, as the caption's Close button sends it) and
// answers its question whether to cancel the installation with Yes. False when no question came.
bool CloseWizardConfirming(const CInstallerProcess& installer, HWND wizard, DWORD timeout_ms);

} // namespace nvxtest
