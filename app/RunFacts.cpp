#include "app/RunFacts.h"

#include "framework/Diagnostics.h"
#include "framework/Handles.h"

#include <windows.h>

#include <string>

namespace {

// The file version of the running executable, from its own version resource (no version.dll:
// the resource is in memory already).
std::wstring OwnFileVersion() {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    const DWORD size = found ? ::SizeofResource(nullptr, found) : 0;
    // The fixed part follows the header; found by its signature, aligned to four bytes.
    for (DWORD offset = 0; bytes && offset + sizeof(VS_FIXEDFILEINFO) <= size; offset += 4) {
        const auto* info = reinterpret_cast<const VS_FIXEDFILEINFO*>(bytes + offset);
        if (info->dwSignature == 0xFEEF04BD)
            return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
                   std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
                   std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
                   std::to_wstring(LOWORD(info->dwFileVersionLS));
    }
    return L"unknown";
}

std::wstring ModulePath() {
    wchar_t path[1024] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, 1024);
    return length > 0 && length < 1024 ? std::wstring(path, length) : L"unknown";
}

// The version the system really is: GetVersionEx answers what the application manifest
// declares support for.
std::wstring WindowsVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    auto get_version = ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                                   reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                             : nullptr;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!get_version || get_version(&info) != 0)
        return L"unknown";
    SYSTEM_INFO system{};
    ::GetNativeSystemInfo(&system);
    const wchar_t* architecture = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64   ? L"x64"
                                  : system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64 ? L"ARM64"
                                                                                                  : L"x86";
    std::wstring text = std::to_wstring(info.dwMajorVersion) + L"." + std::to_wstring(info.dwMinorVersion) +
                        L"." + std::to_wstring(info.dwBuildNumber);
    if (info.szCSDVersion[0])
        text += std::wstring(L" ") + info.szCSDVersion;
    return text + L" " + architecture;
}

std::wstring Elevation() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return L"unknown";
    nvx::UniqueHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!::GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size))
        return L"unknown";
    return elevation.TokenIsElevated ? L"yes" : L"no";
}

} // namespace

void DiagnoseRunFacts() {
    nvx::Diagnose(L"app", L"installer " + ModulePath() + L", file version " + OwnFileVersion() +
                              L", process " + std::to_wstring(::GetCurrentProcessId()));
    nvx::Diagnose(L"app", std::wstring(L"command line: ") + ::GetCommandLineW());
    nvx::Diagnose(L"app", L"Windows " + WindowsVersion() + L", user default UI language " +
                              std::to_wstring(::GetUserDefaultUILanguage()));
    nvx::Diagnose(L"app", L"elevated: " + Elevation());
}
