#include "app/InstallerApp.h"

#include "app/InstallGuide.h"
#include "app/SingleInstance.h"
#include "app/WindowsSwitchKey.h"
#include "config/InstallConfig.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

CNVXMasterInstallerApp theApp;

CNVXMasterInstallerApp::CNVXMasterInstallerApp() {
    m_pszAppName = L"Lumetra";
}

void CNVXMasterInstallerApp::ParseSwitches() {
    switch_handlers = MakeSwitchHandlers(*this);
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> tokens;
    for (int i = 0; arguments && i < count; ++i)
        tokens.emplace_back(arguments[i]);
    if (arguments)
        ::LocalFree(arguments);
    ParseCommandLine(tokens, switch_handlers, WindowsSwitchKey);
}

void CNVXMasterInstallerApp::RunInstallGuide() {
    ::CoInitialize(nullptr);
    {
        CInstallGuide guide;
        m_pMainWnd = &guide;
        guide.DoModal();
        m_pMainWnd = nullptr;
    }
    ::CoUninitialize();
}

BOOL CNVXMasterInstallerApp::InitInstance() {
    if (!ClaimSingleInstance(instance_semaphore))
        return FALSE;
    CWinApp::InitInstance();
    ParseSwitches();
    SetRegistryKey(L"Local AppWizard-Generated Applications");
    if (!RegisterInstallerWindowClass())
        return FALSE;
    // Whatever the load reached is what the rest of the run sees; it reports nothing.
    theConfig.LoadConfiguration(*this);
    RunInstallGuide();
    return FALSE;
}

int CNVXMasterInstallerApp::ExitInstance() {
    instance_semaphore.reset();
    return CWinApp::ExitInstance();
}
