#include "engine/ExternalInstaller.h"

#include "framework/Handles.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

namespace {

// msiexec gets 30 seconds; a longer run goes on while the installation moves on.
constexpr int kMsiexecWaits = 30;
constexpr DWORD kMsiexecWaitMs = 1000;

bool RunMsiexec(const InstallStep& step) {
    std::wstring parameters = L"/i \"" + step.local_path + L"\" " + step.command_line;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = L"Msiexec.exe";
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    if (!::ShellExecuteExW(&info))
        return false;
    nvx::UniqueHandle process(info.hProcess);
    if (process) {
        for (int wait = 0; wait < kMsiexecWaits; ++wait) {
            if (::WaitForSingleObject(process.get(), kMsiexecWaitMs) != WAIT_TIMEOUT)
                break;
        }
    }
    return true;
}

bool RunProgram(const InstallStep& step) {
    std::wstring command = ExternalInstallerCommandLine(step);
    std::vector<wchar_t> writable(command.begin(), command.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created{};
    if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &created))
        return false;
    nvx::UniqueHandle process(created.hProcess);
    nvx::UniqueHandle thread(created.hThread);
    // Waiting on the handle rather than polling the exit code: a program that exits with 259
    // (STILL_ACTIVE) would otherwise be waited for forever.
    ::WaitForSingleObject(process.get(), INFINITE);
    return true;
}

} // namespace

std::wstring ExternalInstallerCommandLine(const InstallStep& step) {
    return L"\"" + step.local_path + L"\" " + step.command_line;
}

bool RunExternalInstaller(const InstallStep& step) {
    const wchar_t* extension = ::PathFindExtensionW(step.local_path.c_str());
    if (::CompareStringOrdinal(extension, -1, L".msi", -1, TRUE) == CSTR_EQUAL)
        return RunMsiexec(step);
    return RunProgram(step);
}
