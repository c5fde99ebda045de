#pragma once
// The application object: single instance, switches, start-up and exit.
#include "app/CommandLine.h"
#include "config/LaunchOptions.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "net/InternetSession.h"
#include "selfupdate/ClientValidator.h"

// Process exit codes, as Windows Installer's tools use them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitInstallFailure = 1603;        // ERROR_INSTALL_FAILURE
inline constexpr int kExitAnotherInstallRunning = 1618; // ERROR_INSTALL_ALREADY_RUNNING

class CNVXMasterInstallerApp : public CWinApp, public LaunchOptions {
public:
    CNVXMasterInstallerApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    nvx::UniqueHandle instance_semaphore;
    SwitchTable switch_handlers;

private:
    void ParseSwitches();
    void RunInstallGuide();
    bool RunClientValidator();
    bool PrepareSilentInstallFolder();

    CInternetSessionOwner http_session_;

public:
    // Declared after the session: it goes first at process end, awaiting a check that may
    // still be using the session.
    CClientValidator validator;
};

extern CNVXMasterInstallerApp theApp;
