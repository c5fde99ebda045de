#pragma once
// The application object: single instance, switches, start-up and exit.
#include "app/CommandLine.h"
#include "config/LaunchOptions.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "net/InternetSession.h"

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

    CInternetSessionOwner http_session_;
};

extern CNVXMasterInstallerApp theApp;
