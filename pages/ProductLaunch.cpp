#include "pages/ProductLaunch.h"

#include "framework/DesktopLaunch.h"
#include "framework/Handles.h"
#include "framework/PathText.h"

#include <shlwapi.h>

void LaunchInstalledProduct(const std::wstring& install_folder, const std::wstring& executable) {
    const std::wstring path = JoinPath(install_folder, executable);
    if (!::PathFileExistsW(path.c_str()))
        return;
    nvx::ComApartmentScope com;
    LaunchAsDesktopUser(path);
}
