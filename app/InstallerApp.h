#pragma once
// The application object: single instance, switches, start-up and exit.
#include "app/CommandLine.h"
#include "config/ExitCodes.h"
#include "config/LaunchOptions.h"
#include "framework/Handles.h"
#include "framework/RunLog.h"
#include "framework/UserPrompt.h"
#include "framework/WinApp.h"
#include "net/InternetSession.h"
#include "selfupdate/ClientValidator.h"

class CNVXMasterInstallerApp : public CWinApp, public LaunchOptions {
public:
    CNVXMasterInstallerApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    nvx::UniqueHandle instance_semaphore;
    SwitchTable switch_handlers;

private:
    void ParseSwitches();
    void StartRunLog();
    void DiagnoseConfiguration() const;
    void RunInstallGuide();
    bool RunClientValidator();
    bool PrepareSilentInstallFolder();

    CInternetSessionOwner http_session_;
    // Both live until the end of the exit sequence, which may still have a message to give.
    std::unique_ptr<nvx::CRunLog> run_log_;
    std::unique_ptr<nvx::CPromptAnswererScope> quiet_prompts_;

public:
    // Declared after the session: it goes first at process end, awaiting a check that may
    // still be using the session.
    CClientValidator validator;
};

extern CNVXMasterInstallerApp theApp;
