#include "selfupdate/UpdaterStart.h"

#include "framework/Diagnostics.h"
#include "framework/WinApp.h"
#include "selfupdate/UpdaterTrust.h"

#include <windows.h>
#include <shellapi.h>

bool StartDownloadedUpdater(ValidationState& state, const std::wstring& publisher) {
    if (state.validation_outcome != ValidationOutcome::RunUpdater || state.updater_path.empty())
        return true;
    // Checked on the held file right before the start: what runs is what was judged.
    const bool accepted =
        state.updater_file && AcceptUpdater(state.updater_file.get(), state.updater_path, publisher);
    HINSTANCE started = nullptr;
    if (accepted) {
        started =
            ::ShellExecuteW(nullptr, L"open", state.updater_path.c_str(), L"/n", nullptr, SW_SHOWNORMAL);
        nvx::Diagnose(L"selfupdate", L"starting " + state.updater_path + L" /n: " +
                                         std::to_wstring(reinterpret_cast<INT_PTR>(started)));
    }
    state.updater_file.reset();
    if (!accepted)
        DiscardUpdater(state.updater_path);
    else if (reinterpret_cast<INT_PTR>(started) > 32)
        return true;
    AfxMessageBox(L"The updater cannot be launched!", MB_OK | MB_ICONERROR);
    return false;
}
