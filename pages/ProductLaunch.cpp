#include "pages/ProductLaunch.h"

#include "config/InstallConfig.h"
#include "selfupdate/DesktopLaunch.h"

#include <objbase.h>
#include <shlwapi.h>

void LaunchInstalledProduct() {
    std::wstring folder = theConfig.install_folder; // a copy: the stored folder keeps its form
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    const std::wstring path = folder + L"\\" + theConfig.manifest.main_component_executable;
    if (!::PathFileExistsW(path.c_str()))
        return;
    const HRESULT com = ::CoInitialize(nullptr);
    LaunchAsDesktopUser(path);
    if (SUCCEEDED(com))
        ::CoUninitialize();
}
