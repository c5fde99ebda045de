#pragma once
// The application object: one global instance derived from CWinApp; the program entry
// drives InitInstance and, when it answers FALSE, goes straight to ExitInstance.
#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    CWinApp() noexcept;
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return exit_code_; }
    // Message loop for an application that keeps running after InitInstance.
    virtual int Run();

    void SetRegistryKey(const wchar_t* key) { registry_key_ = key; }
    const std::wstring& GetRegistryKey() const noexcept { return registry_key_; }

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    std::wstring m_pszAppName;

protected:
    int exit_code_ = 0;
    // The exit code of a run whose start-up or message loop ended with an exception.
    int fault_exit_code_ = -1;

private:
    friend int AfxWinMain(HINSTANCE instance);
    std::wstring registry_key_;
};

CWinApp* AfxGetApp() noexcept;

// The program entry's whole job.
int AfxWinMain(HINSTANCE instance);

// A message box owned by the application's main window when it is visible, captioned with
// the application name.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);
