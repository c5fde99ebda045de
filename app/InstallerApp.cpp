#include "app/InstallerApp.h"

#include "app/InstallGuide.h"
#include "app/SingleInstance.h"
#include "app/WindowsSwitchKey.h"
#include "config/InstallConfig.h"
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
}

// True when the wizard may run. A server that cannot be reached ends the run as a failure; an
// installed product that is up to date and a newer installer taking over end it as done.
bool CNVXMasterInstallerApp::RunClientValidator() {
    validator.updater_path.clear();
    validator.DoModal();
    if (validator.validation_outcome == ValidationOutcome::Continue)
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
    CWinApp::InitInstance();
    ParseSwitches();
    SetRegistryKey(L"Local AppWizard-Generated Applications");
    if (!RegisterInstallerWindowClass()) {
        exit_code_ = kExitInstallFailure;
        return FALSE;
    }
    InitThemePalette();
    CreateThemeFonts();
    // Whatever the load reached is what the rest of the run sees; it reports nothing.
    theConfig.LoadConfiguration(*this);
    if (!skip_validation && !RunClientValidator())
        return FALSE;
    if (silent_mode && !product_installed && !PrepareSilentInstallFolder()) {
        exit_code_ = kExitInstallFailure;
        return FALSE;
    }
    RunInstallGuide();
    return FALSE;
}

int CNVXMasterInstallerApp::ExitInstance() {
    DestroyThemeFonts();
    instance_semaphore.reset();
    if (!StartDownloadedUpdater(validator, theConfig.manifest.publisher))
        exit_code_ = kExitInstallFailure;
    // The run's result, the way Windows Installer's own tools report theirs.
    return CWinApp::ExitInstance();
}
