#pragma once
// Starting a helper program from a test and waiting for it to end.
#include "framework/Handles.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace nvxtest {

// Runs the command line and waits for it; its exit code, the error when it could not start,
// WAIT_TIMEOUT when it ran too long (it keeps running).
inline DWORD RunAndWait(std::wstring command, DWORD timeout_ms = 120000) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return ::GetLastError();
    nvx::UniqueHandle process(info.hProcess);
    nvx::UniqueHandle thread(info.hThread);
    if (::WaitForSingleObject(process.get(), timeout_ms) != WAIT_OBJECT_0)
        return WAIT_TIMEOUT;
    DWORD exit_code = 0;
    ::GetExitCodeProcess(process.get(), &exit_code);
    return exit_code;
}

// A package path of the build tree (a Unix path) as the Windows side spells it.
inline std::wstring BuildTreePackagePath(std::string unix_path) {
    std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
    return L"Z:" + std::wstring(unix_path.begin(), unix_path.end());
}

inline DWORD RunMsiexec(const std::wstring& arguments) {
    return RunAndWait(L"msiexec.exe " + arguments);
}

} // namespace nvxtest
