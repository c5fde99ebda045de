#include "app/InstallerApp.h"

#include "app/InstallGuide.h"
#include "app/SingleInstance.h"
#include "app/WindowsSwitchKey.h"
#include "config/InstallConfig.h"
#include "framework/Handles.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"

#include <shlwapi.h>

#include <vector>

CNVXMasterInstallerApp theApp;

CNVXMasterInstallerApp::CNVXMasterInstallerApp() {
    m_pszAppName = L"Lumetra";
}

void CNVXMasterInstallerApp::ParseSwitches() {
    switch_handlers = MakeSwitchHandlers(*this);
    // The C runtime's split of the command line, program path included.
    std::vector<std::wstring> tokens;
    for (int i = 0; __wargv && i < __argc; ++i)
        tokens.emplace_back(__wargv[i]);
    ParseCommandLine(tokens, switch_handlers, WindowsSwitchKey);
}

void CNVXMasterInstallerApp::RunInstallGuide() {
    nvx::ComApartmentScope com;
    CInstallGuide guide;
    m_pMainWnd = &guide;
    guide.DoModal();
    m_pMainWnd = nullptr;
}

BOOL CNVXMasterInstallerApp::InitInstance() {
    if (!ClaimSingleInstance(instance_semaphore))
        return FALSE;
    CWinApp::InitInstance();
    ParseSwitches();
    SetRegistryKey(L"Local AppWizard-Generated Applications");
    if (!RegisterInstallerWindowClass())
        return FALSE;
    InitThemePalette();
    CreateThemeFonts();
    // Whatever the load reached is what the rest of the run sees; it reports nothing.
    theConfig.LoadConfiguration(*this);
    RunInstallGuide();
    return FALSE;
}

int CNVXMasterInstallerApp::ExitInstance() {
    DestroyThemeFonts();
    instance_semaphore.reset();
    return CWinApp::ExitInstance();
}
