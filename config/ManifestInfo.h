#pragma once
// What the product manifest and the server's release section say about the product.
// Plain records of wide strings and integers; copying copies everything.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ReleaseInfo {
    std::wstring product_version;
    std::wstring min_web_installer_version;
    std::wstring web_installer_download_url;

    bool operator==(const ReleaseInfo&) const = default;
};

// A language transform of the product's package.
struct TransformInfo {
    int32_t lang_id = 0;
    std::wstring name;
    std::wstring full_url;
    // The file's SHA-256 as the manifest's optional "sha256" gives it (see Sha256Pin.h);
    // nothing when the manifest does not pin it.
    std::optional<std::wstring> sha256 = std::nullopt;

    bool operator==(const TransformInfo&) const = default;
};

// An installable language pack.
struct LanguagePackInfo {
    int32_t lang_id = 0;
    std::wstring pid;
    std::wstring name;
    std::wstring full_url;
    // The file's SHA-256 as the manifest's optional "sha256" gives it (see Sha256Pin.h);
    // nothing when the manifest does not pin it.
    std::optional<std::wstring> sha256 = std::nullopt;

    bool operator==(const LanguagePackInfo&) const = default;
};

// A prerequisite installer.
struct DependencyInfo {
    std::wstring name; // local file name
    std::wstring full_url;
    std::wstring install_commandline;
    // The file's SHA-256 as the manifest's optional "sha256" gives it (see Sha256Pin.h);
    // nothing when the manifest does not pin it.
    std::optional<std::wstring> sha256 = std::nullopt;

    bool operator==(const DependencyInfo&) const = default;
};

// One entry of the language list offered to the user.
struct LanguageItem {
    std::wstring display_name;
    int32_t lang_id = 0;
};

struct ManifestInfo {
    std::wstring web_installer_version;
    std::wstring product_code;
    std::wstring pid;
    std::wstring full_name;
    std::wstring short_name;
    std::wstring registry;
    bool standalone = false;
    std::wstring standalone_version;
    std::wstring version_check_url;
    ReleaseInfo fresh_install;
    ReleaseInfo patch_install;
    std::wstring main_component_name;
    std::wstring main_component_url;
    std::vector<LanguagePackInfo> language_packs;
    std::vector<DependencyInfo> dependencies;
    std::vector<TransformInfo> transforms;
    std::wstring main_component_executable;
    std::optional<std::wstring> main_component_sha256 = std::nullopt; // as `sha256` of the records
    // The maker's code-signing publisher ("CN=..., O=..." or the common name alone): the
    // product's package and a newer installer must be signed by it. Empty: not named.
    std::wstring publisher;

    bool operator==(const ManifestInfo&) const = default;
};
