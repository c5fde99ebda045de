#include "engine/ExternalInstaller.h"

#include "framework/Diagnostics.h"
#include "framework/Handles.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <chrono>
#include <vector>

namespace {

// msiexec gets 30 seconds; a longer run goes on while the installation moves on.
constexpr int kMsiexecWaits = 30;
constexpr DWORD kMsiexecWaitMs = 1000;

// The outcome of an installer process for the log: its exit code when it ended, and how long
// it was waited for.
void DiagnoseEnd(const wchar_t* what, HANDLE process, std::chrono::steady_clock::time_point start) {
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    DWORD code = 0;
    const bool ended =
        process && ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0 && ::GetExitCodeProcess(process, &code);
    nvx::Diagnose(L"engine",
                  std::wstring(what) +
                      (ended ? L" ended with " + std::to_wstring(code) : std::wstring(L" still running")) +
                      L" after " + std::to_wstring(waited) + L" ms");
}

void DiagnoseNotStarted(const wchar_t* what) {
    nvx::Diagnose(L"engine",
                  std::wstring(what) + L" cannot be started: error " + std::to_wstring(::GetLastError()));
}

bool RunMsiexec(const InstallStep& step) {
    std::wstring parameters = L"/i \"" + step.local_path + L"\" " + step.command_line;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = L"Msiexec.exe";
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    nvx::Diagnose(L"engine", L"running Msiexec.exe " + parameters);
    const auto start = std::chrono::steady_clock::now();
    if (!::ShellExecuteExW(&info)) {
        DiagnoseNotStarted(L"Msiexec.exe");
        return false;
    }
    nvx::UniqueHandle process(info.hProcess);
    if (process) {
        for (int wait = 0; wait < kMsiexecWaits; ++wait) {
            if (::WaitForSingleObject(process.get(), kMsiexecWaitMs) != WAIT_TIMEOUT)
                break;
        }
    }
    DiagnoseEnd(L"Msiexec.exe", process.get(), start);
    return true;
}

bool RunProgram(const InstallStep& step) {
    std::wstring command = ExternalInstallerCommandLine(step);
    std::vector<wchar_t> writable(command.begin(), command.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created{};
    nvx::Diagnose(L"engine", L"running " + command);
    const auto start = std::chrono::steady_clock::now();
    if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &created)) {
        DiagnoseNotStarted(L"the installer");
        return false;
    }
    nvx::UniqueHandle process(created.hProcess);
    nvx::UniqueHandle thread(created.hThread);
    // Waiting on the handle rather than polling the exit code: a program that exits with 259
    // (STILL_ACTIVE) would otherwise be waited for forever.
    ::WaitForSingleObject(process.get(), INFINITE);
    DiagnoseEnd(L"the installer", process.get(), start);
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
