#pragma once
// Starting a program as the signed-in user. The installer runs elevated, and a program it
// starts itself would inherit that; so it asks the desktop's shell (which runs as the user)
// to start the program instead. The caller has initialised COM on its thread.
//
// The route, step by step: the shell windows collection; the desktop window's dispatch
// object; its service provider; the top-level browser; the browser's active shell view; the
// view's background dispatch object; that object as a folder view; the folder view's
// application object as the shell dispatch; and its ShellExecute. A step that fails (or
// finds nothing) ends the route without effect and without a message.
#include <windows.h>
#include <unknwn.h>

#include <string>

enum class DesktopLaunchStep : int {
    CreateShellWindows,
    FindDesktopWindow,
    QueryServiceProvider,
    QueryTopLevelBrowser,
    QueryActiveShellView,
    GetBackgroundDispatch,
    QueryFolderViewDual,
    GetApplication,
    QueryShellDispatch,
    ShellExecute,
};
inline constexpr int kDesktopLaunchStepCount = 10;

// The steps of the route, replaceable so that each one can be made to fail.
class IDesktopLaunchSteps {
public:
    virtual ~IDesktopLaunchSteps() = default;
    // Runs `step` on the interface the step before handed out (null for the first) and hands
    // out the next one in `*next` (a reference the caller owns), except the last step, which
    // starts `path` and hands out nothing.
    virtual HRESULT Run(DesktopLaunchStep step, IUnknown* previous, const std::wstring& path,
                        IUnknown** next) = 0;
};

// The route through the real shell.
class CShellLaunchSteps final : public IDesktopLaunchSteps {
public:
    HRESULT Run(DesktopLaunchStep step, IUnknown* previous, const std::wstring& path,
                IUnknown** next) override;
};

void LaunchAsDesktopUser(const std::wstring& path);

// The route over the given steps. Answers whether the shell was asked to start the program;
// every interface obtained is released on every path.
bool LaunchAsDesktopUser(const std::wstring& path, IDesktopLaunchSteps& steps);
