// An installed copy of the product: its Windows Installer version, the language it was
// first installed in, its language packs and its main executable, from the product's key
// below HKEY_LOCAL_MACHINE.
#include "config/TextRules.h"
#include "config/InstallConfig.h"
#include "config/LanguageChoice.h"
#include "config/RegistryKey.h"
#include "framework/Diagnostics.h"
#include "framework/Msi.h"
#include "framework/WinApp.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwchar>
#include <iterator>

namespace {

constexpr DWORD kVersionBuffer = 260;

std::wstring LanguagePacksKey(const ManifestInfo& manifest) {
    return manifest.registry + L"\\LanguagePacks";
}

} // namespace

std::wstring GetInstalledProductVersion(const std::wstring& product_code) {
    wchar_t version[kVersionBuffer] = {};
    DWORD size = kVersionBuffer;
    UINT result =
        nvx::msi::MsiGetProductInfoW(product_code.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &size);
    if (result == ERROR_SUCCESS)
        return version;
    if (result != ERROR_UNKNOWN_PRODUCT) {
        wchar_t message[96];
        std::swprintf(message, std::size(message), L"Failed to get installed product info, error code: %d",
                      static_cast<int>(result));
        AfxMessageBox(message, MB_OK);
    }
    return {};
}

void CInstallConfig::DetectInstalledProduct(LaunchOptions& app) {
    installed_version = GetInstalledProductVersion(manifest.product_code);
    nvx::Diagnose(L"detect", L"product " + manifest.product_code + L": " +
                                 (installed_version.empty() ? L"not installed"
                                                            : L"installed, version " + installed_version));
    if (installed_version.empty())
        return;
    app.product_installed = 1;

    RegistryKey key(HKEY_LOCAL_MACHINE, LanguagePacksKey(manifest));
    std::optional<uint32_t> initial_language = key.ReadDword(L"InitialLangID");
    key.Close();
    // The product keeps the language it was first installed in, offered or not.
    if (initial_language && static_cast<int32_t>(*initial_language) != kEnglishLanguageId)
        language.language_id = static_cast<int32_t>(*initial_language);
}

std::vector<int32_t> CInstallConfig::GetInstalledLanguagePacks() const {
    RegistryKey key(HKEY_LOCAL_MACHINE, LanguagePacksKey(manifest));
    Table<wchar_t, wchar_t*> names;
    key.EnumerateSubkeys(names);
    std::vector<int32_t> ids;
    for (size_t i = 0; i < names.Count(); ++i) {
        const wchar_t* name = names.Get(static_cast<ptrdiff_t>(i));
        if (name && *name)
            ids.push_back(DecimalTextToInt(name));
    }
    return ids;
}

std::wstring CInstallConfig::GetInstalledExecutablePath() const {
    RegistryKey key(HKEY_LOCAL_MACHINE, manifest.registry);
    std::wstring path = key.ReadString(L"exe").value_or(std::wstring());
    if (path.empty() || !::PathFileExistsW(path.c_str()))
        return {};
    return path;
}
