#pragma once
// Installing and removing the small test packages built with wixl, through the prefix's msiexec.
#include "framework/Handles.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace nvxtest {

// A package path of the build tree (a Unix path) as the Windows side spells it.
inline std::wstring BuildTreePackagePath(std::string unix_path) {
    std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
    return L"Z:" + std::wstring(unix_path.begin(), unix_path.end());
}

// Runs "msiexec.exe <arguments>" and answers its exit code (or why it could not run).
inline DWORD RunMsiexec(const std::wstring& arguments) {
    std::wstring command = L"msiexec.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return ::GetLastError();
    nvx::UniqueHandle process(info.hProcess);
    nvx::UniqueHandle thread(info.hThread);
    if (::WaitForSingleObject(process.get(), 120000) != WAIT_OBJECT_0)
        return WAIT_TIMEOUT;
    DWORD exit_code = 0;
    ::GetExitCodeProcess(process.get(), &exit_code);
    return exit_code;
}

} // namespace nvxtest
