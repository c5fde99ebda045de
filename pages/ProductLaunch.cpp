#include "pages/ProductLaunch.h"

#include "framework/DesktopLaunch.h"
#include "framework/Diagnostics.h"
#include "framework/Handles.h"
#include "framework/PathText.h"
#include "pages/WebAddress.h"

#include <shlwapi.h>

void LaunchInstalledProduct(const std::wstring& install_folder, const std::wstring& executable) {
    const std::wstring path = JoinPath(install_folder, executable);
    if (!::PathFileExistsW(path.c_str()))
        return;
    nvx::ComApartmentScope com;
    LaunchAsDesktopUser(path);
}

bool OpenWebAddress(const std::wstring& address) {
    if (!IsWebAddress(address)) {
        nvx::Diagnose(L"pages", L"not opened, not a web address: " + address);
        return false;
    }
    nvx::Diagnose(L"pages", L"opening " + address + L" as the signed-in user");
    nvx::ComApartmentScope com;
    LaunchAsDesktopUser(address);
    return true;
}
