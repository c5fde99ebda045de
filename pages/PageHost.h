#pragma once
// What a wizard page may ask of the window that hosts it. The pages find their host through
// their parent window, so that they never depend on the application's window class itself.
#include <windows.h>

class IPageHost {
public:
    // Shows the page with that index; false when there is no such page.
    virtual bool ShowPage(int index) = 0;
    virtual int CurrentPageIndex() const = 0;
    virtual bool HasPage(int index) const = 0;
    // Sizes the host window to the page shown now (its size may have changed).
    virtual void FitToCurrentPage() = 0;
    // Ends the wizard: the host window is destroyed, which ends its modal loop.
    virtual void CloseGuide() = 0;
    // How the run ended, for the process exit code (0, 1602, 1603, 3010, ...). The last report
    // counts.
    virtual void ReportExitCode(DWORD code) = 0;

protected:
    ~IPageHost() = default;
};
