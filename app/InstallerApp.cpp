#include "app/InstallerApp.h"

#include "app/InstallGuide.h"
#include "app/RunFacts.h"
#include "app/SingleInstance.h"
#include "app/WindowsSwitchKey.h"
#include "config/InstallConfig.h"
#include "framework/Diagnostics.h"
#include "framework/Handles.h"
#include "pages/InstallFolderCheck.h"
#include "selfupdate/UpdaterStart.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"

#include <shlwapi.h>

#include <vector>

CNVXMasterInstallerApp theApp;

CNVXMasterInstallerApp::CNVXMasterInstallerApp() : validator(theConfig, *this) {
    m_pszAppName = L"Lumetra";
    // A start-up cut short by an exception did not install, whatever it had reached.
    fault_exit_code_ = kExitInstallFailure;
}

void CNVXMasterInstallerApp::ParseSwitches() {
    switch_handlers = MakeSwitchHandlers(*this);
    // The C runtime's split of the command line, program path included.
    std::vector<std::wstring> tokens;
    for (int i = 0; __wargv && i < __argc; ++i)
        tokens.emplace_back(__wargv[i]);
    ParseCommandLine(tokens, switch_handlers, WindowsSwitchKey);
    // A layout folder given relative to where the installer was started stays that folder.
    if (!layout_folder.empty()) {
        wchar_t full[MAX_PATH];
        const DWORD length = ::GetFullPathNameW(layout_folder.c_str(), MAX_PATH, full, nullptr);
        if (length > 0 && length < MAX_PATH)
            layout_folder.assign(full, length);
    }
}

// Right after the single-instance check, so that everything a run does is in its log; a quiet
// run answers every message box from here on.
void CNVXMasterInstallerApp::StartRunLog() {
    run_log_ = nvx::CRunLog::OpenForRun(log_path);
    DiagnoseRunFacts();
    if (quiet_mode) {
        quiet_prompts_ = std::make_unique<nvx::CPromptAnswererScope>(nvx::QuietAnswerer());
        nvx::Diagnose(L"app", L"quiet run: no message box is shown");
    }
}

void CNVXMasterInstallerApp::DiagnoseConfiguration() const {
    nvx::Diagnose(L"app", std::wstring(L"switches: silent ") + (silent_mode ? L"yes" : L"no") + L", quiet " +
                              (quiet_mode ? L"yes" : L"no") + L", skip version check " +
                              (skip_validation ? L"yes" : L"no") + L", launch when done " +
                              (launch_when_done ? L"yes" : L"no") + L", language \"" + requested_language +
                              L"\"");
    nvx::Diagnose(L"app", L"installed copy: " + (product_installed ? theConfig.installed_version : L"none") +
                              L"; language " + std::to_wstring(theConfig.language.language_id) +
                              L"; installation folder " + theConfig.install_folder);
}

// True when the wizard may run. A server that cannot be reached ends the run as a failure; an
// installed product that is up to date and a newer installer taking over end it as done.
bool CNVXMasterInstallerApp::RunClientValidator() {
    validator.updater_path.clear();
    validator.DoModal();
    const ValidationOutcome outcome = validator.validation_outcome;
    nvx::Diagnose(L"selfupdate", outcome == ValidationOutcome::Continue ? L"the validator lets the wizard run"
                                 : outcome == ValidationOutcome::RunUpdater
                                     ? L"a newer installer takes over at exit"
                                 : validator.check_failed ? L"stop: the server cannot be reached"
                                                          : L"stop: nothing to install");
    if (outcome == ValidationOutcome::Continue)
        return true;
    exit_code_ = validator.check_failed ? kExitInstallFailure : kExitSuccess;
    return false;
}

// A silent run shows no settings page, whose Install checks and makes the folder: without it
// a folder that does not exist yet would reach the package as no folder at all, the package
// would install into its own default, and the settings would name a program that is not
// there. The page's check runs here instead; what it refuses is told as the page tells it.
bool CNVXMasterInstallerApp::PrepareSilentInstallFolder() {
    const InstallFolderCheck check = CheckInstallFolder(theConfig.install_folder);
    if (!check.accepted) {
        ShowFolderRefused(nullptr, theConfig, check.folder);
        return false;
    }
    theConfig.install_folder = check.folder;
    return true;
}

void CNVXMasterInstallerApp::RunInstallGuide() {
    nvx::ComApartmentScope com;
    CInstallGuide guide(theConfig, *this);
    m_pMainWnd = &guide;
    guide.DoModal();
    m_pMainWnd = nullptr;
    exit_code_ = static_cast<int>(guide.exit_code());
}

BOOL CNVXMasterInstallerApp::InitInstance() {
    if (!ClaimSingleInstance(instance_semaphore)) {
        exit_code_ = kExitAnotherInstallRunning;
        return FALSE;
    }
    ParseSwitches();
    StartRunLog();
    CWinApp::InitInstance();
    SetRegistryKey(L"Local AppWizard-Generated Applications");
    if (!RegisterInstallerWindowClass()) {
        exit_code_ = kExitInstallFailure;
        return FALSE;
    }
    InitThemePalette();
    CreateThemeFonts();
    // Whatever the load reached is what the rest of the run sees; it reports nothing.
    theConfig.LoadConfiguration(*this);
    DiagnoseConfiguration();
    // A layout asked for without a folder (none given, or a UNC path, which the value rule
    // does not take) must not turn into an installation.
    if (layout_requested && layout_folder.empty()) {
        nvx::Diagnose(L"app", L"/layout needs a folder (a drive path); nothing done");
        exit_code_ = kExitInstallFailure;
        return FALSE;
    }
    if (!skip_validation && !RunClientValidator())
        return FALSE;
    if (silent_mode && !product_installed && layout_folder.empty() && !PrepareSilentInstallFolder()) {
        exit_code_ = kExitInstallFailure;
        return FALSE;
    }
    RunInstallGuide();
    return FALSE;
}

int CNVXMasterInstallerApp::ExitInstance() {
    // The log and the quiet answers end here on every path: later, at process end, the
    // diagnostic channel they are part of may be gone before the application object.
    struct CloseRun {
        CNVXMasterInstallerApp& app;
        ~CloseRun() {
            app.quiet_prompts_.reset();
            app.run_log_.reset();
        }
    } close_run{*this};
    DestroyThemeFonts();
    instance_semaphore.reset();
    if (!StartDownloadedUpdater(validator, theConfig.manifest.publisher))
        exit_code_ = kExitInstallFailure;
    // The run's result, the way Windows Installer's own tools report theirs.
    const int exit_code = CWinApp::ExitInstance();
    nvx::Diagnose(L"app", L"exit code " + std::to_wstring(exit_code));
    return exit_code;
}
