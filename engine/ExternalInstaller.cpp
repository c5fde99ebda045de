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

// The system folder without a trailing backslash; empty when Windows cannot say.
std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(folder, length);
}

bool RunMsiexec(const InstallStep& step) {
    // By its full path: a bare name would be looked up through the current folder and the
    // per-user App Paths, where anyone could have put a program of that name.
    const std::wstring system_folder = SystemFolder();
    if (system_folder.empty())
        return false;
    const std::wstring msiexec = MsiexecPath(system_folder);
    std::wstring parameters = L"/i \"" + step.local_path + L"\" " + step.command_line;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = msiexec.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = system_folder.c_str();
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

// The attribute list of a process whose DLL search takes the system folder before its own
// folder, so that a DLL left beside a downloaded installer is not loaded in its place.
class CSystemFirstAttributes {
public:
    CSystemFirstAttributes() {
        SIZE_T size = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (size == 0 || !::InitializeProcThreadAttributeList(list, 1, 0, &size))
            return;
        list_ = list;
        if (!::UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_MITIGATION_POLICY, &policy_,
                                         sizeof(policy_), nullptr, nullptr)) {
            ::DeleteProcThreadAttributeList(list_);
            list_ = nullptr;
        }
    }
    ~CSystemFirstAttributes() {
        if (list_)
            ::DeleteProcThreadAttributeList(list_);
    }
    CSystemFirstAttributes(const CSystemFirstAttributes&) = delete;
    CSystemFirstAttributes& operator=(const CSystemFirstAttributes&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST get() const noexcept { return list_; }

private:
    DWORD64 policy_ = PROCESS_CREATION_MITIGATION_POLICY_IMAGE_LOAD_PREFER_SYSTEM32_ALWAYS_ON;
    std::vector<unsigned char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

bool RunProgram(const InstallStep& step) {
    std::wstring command = ExternalInstallerCommandLine(step);
    std::vector<wchar_t> writable(command.begin(), command.end());
    writable.push_back(L'\0');
    // The system folder as the current folder: whatever lies in ours (the installer's Downloads
    // folder) is not found through it.
    const std::wstring system_folder = SystemFolder();
    CSystemFirstAttributes attributes;
    if (system_folder.empty() || !attributes.get()) {
        nvx::Diagnose(L"engine", L"cannot prepare the start of " + step.local_path);
        return false;
    }
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof(startup);
    startup.lpAttributeList = attributes.get();
    PROCESS_INFORMATION created{};
    nvx::Diagnose(L"engine", L"running " + command);
    const auto start = std::chrono::steady_clock::now();
    if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, EXTENDED_STARTUPINFO_PRESENT,
                          nullptr, system_folder.c_str(), &startup.StartupInfo, &created)) {
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

std::wstring MsiexecPath(const std::wstring& system_folder) {
    return system_folder + L"\\msiexec.exe";
}

std::wstring ExternalInstallerCommandLine(const InstallStep& step) {
    return L"\"" + step.local_path + L"\" " + step.command_line;
}

bool RunExternalInstaller(const InstallStep& step) {
    const wchar_t* extension = ::PathFindExtensionW(step.local_path.c_str());
    if (::CompareStringOrdinal(extension, -1, L".msi", -1, TRUE) == CSTR_EQUAL)
        return RunMsiexec(step);
    return RunProgram(step);
}
