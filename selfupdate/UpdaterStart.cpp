#include "selfupdate/UpdaterStart.h"

#include "framework/Diagnostics.h"
#include "framework/WinApp.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

bool StartDownloadedUpdater(const ValidationState& state) {
    if (state.validation_outcome != ValidationOutcome::RunUpdater || state.updater_path.empty() ||
        !::PathFileExistsW(state.updater_path.c_str()))
        return true;
    HINSTANCE started =
        ::ShellExecuteW(nullptr, L"open", state.updater_path.c_str(), L"/n", nullptr, SW_SHOWNORMAL);
    nvx::Diagnose(L"selfupdate", L"starting " + state.updater_path + L" /n: " +
                                     std::to_wstring(reinterpret_cast<INT_PTR>(started)));
    if (reinterpret_cast<INT_PTR>(started) > 32)
        return true;
    AfxMessageBox(L"The updater cannot be launched!", MB_OK | MB_ICONERROR);
    return false;
}
