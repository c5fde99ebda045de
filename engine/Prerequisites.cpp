#include "engine/Prerequisites.h"

#include "config/RegistryKey.h"
#include "engine/PrerequisiteRules.h"
#include "framework/Diagnostics.h"

#include <windows.h>

#include <optional>

const std::map<std::string, PrerequisiteDetector> prerequisite_detectors = {
    {"webview2.exe", &DetectWebView2Runtime},
    {"vc_redist.exe", &DetectVcRuntime},
    {"bonjour.msi", &DetectBonjour},
};

namespace {

// Opens an existing key for reading only (detection never creates keys) and hands it to the
// holder; false when the key is not there.
bool OpenExisting(HKEY root, const wchar_t* path, RegistryKey& holder) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    holder.Attach(key);
    return true;
}

std::optional<std::wstring> ReadVersion(HKEY root, const wchar_t* path, const wchar_t* value_name) {
    RegistryKey key;
    if (!OpenExisting(root, path, key))
        return std::nullopt;
    return key.ReadString(value_name);
}

std::string NarrowName(const std::wstring& name) {
    if (name.empty())
        return {};
    int size = ::WideCharToMultiByte(CP_THREAD_ACP, 0, name.c_str(), static_cast<int>(name.size()), nullptr,
                                     0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, name.c_str(), static_cast<int>(name.size()), narrow.data(), size,
                          nullptr, nullptr);
    return narrow;
}

} // namespace

bool IsPrerequisiteInstalled(const std::wstring& name) {
    auto detector = prerequisite_detectors.find(NarrowName(name));
    if (detector == prerequisite_detectors.end()) {
        nvx::Diagnose(L"detect", L"prerequisite " + name + L": no detector, counted as missing");
        return false;
    }
    const bool installed = detector->second();
    nvx::Diagnose(L"detect", L"prerequisite " + name + (installed ? L": installed" : L": missing"));
    return installed;
}

bool DetectWebView2Runtime() {
    return IsWebView2Installed(ReadVersion(HKEY_LOCAL_MACHINE, kWebView2MachineKey, L"pv"),
                               ReadVersion(HKEY_CURRENT_USER, kWebView2UserKey, L"pv"));
}

bool DetectVcRuntime() {
    RegistryKey key;
    VcRuntimeValues values;
    values.key_opened = OpenExisting(HKEY_LOCAL_MACHINE, kVcRuntimeKey, key);
    if (values.key_opened) {
        values.major = key.ReadDword(L"Major");
        values.minor = key.ReadDword(L"Minor");
        values.bld = key.ReadDword(L"Bld");
    }
    return IsVcRuntimeInstalled(values);
}

bool DetectBonjour() {
    RegistryKey key;
    bool opened = OpenExisting(HKEY_LOCAL_MACHINE, kBonjourKey, key);
    return IsBonjourInstalled(opened, opened ? key.ReadString(L"Version") : std::nullopt);
}
