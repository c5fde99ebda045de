// The start-up load: the manifest next to the executable (or the one the user's registry
// points at), then the language list, the installed copy and the local folders. Each stop
// is silent; start-up goes on with what was filled.
#include "config/ConfigurationReport.h"
#include "config/FileNameRules.h"
#include "config/InstallConfig.h"
#include "config/LocalPaths.h"
#include "config/RegistryKey.h"
#include "framework/Diagnostics.h"

#include <windows.h>
#include <shlwapi.h>

namespace {

constexpr wchar_t kOverrideKey[] = L"SOFTWARE\\NVX Systems\\Lumetra Professional\\170";
constexpr wchar_t kOverrideValue[] = L"WebInstallerManifest";
constexpr DWORD kModulePathBuffer = 512;

void Report(const std::wstring& text) {
    nvx::Diagnose(L"config", text);
}

} // namespace

void CInstallConfig::LoadConfiguration(LaunchOptions& app) {
    wchar_t path[kModulePathBuffer];
    DWORD length = ::GetModuleFileNameW(nullptr, path, kModulePathBuffer);
    // A full buffer means the path was cut: its folder would be wrong.
    if (length == 0 || length >= kModulePathBuffer) {
        Report(L"the installer's own path cannot be read: no configuration");
        return;
    }
    LoadConfigurationFor(std::wstring(path, length), app);
}

void CInstallConfig::LoadConfigurationFor(const std::wstring& module_path, LaunchOptions& app) {
    std::optional<std::wstring> folder = ModuleFolderOf(module_path);
    if (!folder)
        return;
    module_folder = *folder;
    manifest_path = module_folder + L"\\config\\manifestPro.xml";
    if (!ParseManifest(manifest_path, manifest)) {
        Report(L"the manifest " + manifest_path + L" cannot be read: no configuration");
        return;
    }

    std::wstring override_path;
    if (!manifest.standalone && ReadManifestOverride(override_path)) {
        Report(L"the user's registry names another manifest: " + override_path);
        manifest_path = override_path;
        ManifestInfo replacement;
        if (!ParseManifest(manifest_path, replacement)) {
            Report(L"the manifest " + manifest_path + L" cannot be read: no configuration");
            return;
        }
        manifest = std::move(replacement);
    }

    Report(L"manifest " + manifest_path);
    for (const std::wstring& line : DescribeManifest(manifest))
        Report(line);
    if (manifest.pid.empty() || manifest.registry.empty() || manifest.main_component_url.empty()) {
        Report(L"the manifest lacks its pid, registry key or main component URL: configuration stops here");
        return;
    }
    // Names become file names below the installer's folders: an unsafe one is never used.
    RefuseUnsafeNames(manifest);
    BuildLanguageList(app);
    DetectInstalledProduct(app);
    PrepareFolders();
}

bool CInstallConfig::ReadManifestOverride(std::wstring& path) const {
    RegistryKey key(HKEY_CURRENT_USER, kOverrideKey);
    path = key.ReadString(kOverrideValue).value_or(std::wstring());
    key.Close();
    return !path.empty() && ::PathFileExistsW(path.c_str());
}

void CInstallConfig::BuildLanguageList(const LaunchOptions& app) {
    BuildLanguageList(app.requested_language, static_cast<int32_t>(::GetUserDefaultUILanguage()));
}
