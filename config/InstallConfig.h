#pragma once
// The installer's configuration: the product manifest next to the executable (or the file
// named by the registry override), the server's release data, the local folders, the
// language list and the current language, the detected installed copy, and the choices of
// the settings page. One global instance, `theConfig`, filled once at start-up and read
// everywhere afterwards.
//
// The application's flags (the "/lang" value read here, `product_installed` set by the
// detection) are passed in as LaunchOptions: the application object lives in the
// executable, and tests drive these operations with flags of their own.
#include "config/LaunchOptions.h"
#include "config/ManifestInfo.h"
#include "config/VersionRules.h"
#include "localization/LanguageContext.h"

#include <cstdint>
#include <string>
#include <vector>

class CInstallConfig {
public:
    std::wstring module_folder; // no trailing backslash
    ManifestInfo manifest;
    std::wstring installed_version;
    std::wstring manifest_path;
    std::wstring component_folder;
    std::wstring msi_folder;
    std::wstring transform_folder;
    std::wstring install_homepage_url;
    LanguageContext language;
    int language_choice_enabled = 1;
    std::vector<LanguageItem> languages;
    std::wstring install_folder = L"C:\\Program Files\\NVX Systems";
    int file_association = 0;

    // Start-up: reads everything above from the running executable's folder. Stops quietly
    // at the first problem, keeping what was filled so far.
    void LoadConfiguration(LaunchOptions& app);
    // The same for an executable at `module_path`.
    void LoadConfigurationFor(const std::wstring& module_path, LaunchOptions& app);

    // The manifest path stored in the user's registry; true when it names an existing file.
    [[nodiscard]] bool ReadManifestOverride(std::wstring& path) const;

    // Fills `languages` and picks the starting language_id.
    void BuildLanguageList(const LaunchOptions& app);
    void BuildLanguageList(const std::wstring& requested_language, int32_t user_ui_language);
    std::vector<LanguageItem> GetLanguageList() const { return languages; }

    // Sets the component, msi and transform folders and creates the missing ones.
    bool PrepareFolders();

    std::wstring MakeDownloadPath(const std::wstring& file_name) const;
    std::wstring MakeLanguagePackPath(int32_t lang_id) const;
    // A fresh temporary folder for a newer installer and the installer's path in it; empty
    // when the folder cannot be created.
    std::wstring MakeUpdaterPath() const;

    // Installed copy of the product (Windows Installer and the product's registry key).
    void DetectInstalledProduct(LaunchOptions& app);
    std::vector<int32_t> GetInstalledLanguagePacks() const;
    std::wstring GetInstalledExecutablePath() const;
    // The version rules on this configuration; the release data and the verdict with its reason
    // go to the log.
    VersionCheckResult EvaluateVersionState(const LaunchOptions& app) const;
};

// Reads the manifest at `manifest_path` into `target` (lists are appended to). False only when
// the file cannot be read or is not well-formed.
[[nodiscard]] bool ParseManifest(const std::wstring& manifest_path, ManifestInfo& target);
// Reads the release section of a downloaded version.xml into the manifest's fresh_install,
// patch_install and standalone_version. False when it cannot be read or is larger than 1 MiB.
[[nodiscard]] bool ParseVersionXml(const std::wstring& path, ManifestInfo& manifest);

// The installed version of a Windows Installer product; empty when it is not installed.
// Errors other than "unknown product" go to the user in the application's message box.
std::wstring GetInstalledProductVersion(const std::wstring& product_code);

extern CInstallConfig theConfig;
