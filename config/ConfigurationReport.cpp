#include "config/ConfigurationReport.h"

#include "config/InstallConfig.h"
#include "framework/Diagnostics.h"

namespace {

std::wstring OrNone(const std::wstring& text) {
    return text.empty() ? L"(none)" : text;
}

const wchar_t* VerdictName(VersionCheckResult result) {
    switch (result) {
    case VersionCheckResult::Proceed:
        return L"proceed";
    case VersionCheckResult::AlreadyInstalled:
        return L"already installed";
    case VersionCheckResult::ClientTooOld:
        return L"installer too old";
    }
    return L"unknown";
}

} // namespace

std::vector<std::wstring> DescribeManifest(const ManifestInfo& manifest) {
    std::vector<std::wstring> lines;
    lines.push_back(L"product " + OrNone(manifest.full_name) + L" (" + OrNone(manifest.short_name) +
                    L"), product code " + OrNone(manifest.product_code) + L", pid " + OrNone(manifest.pid) +
                    L", registry key " + OrNone(manifest.registry));
    lines.push_back(L"installer version " + OrNone(manifest.web_installer_version) + L", standalone " +
                    (manifest.standalone ? L"yes, version " + OrNone(manifest.standalone_version) : L"no") +
                    L", version check " + OrNone(manifest.version_check_url));
    lines.push_back(L"main component " + OrNone(manifest.main_component_name) + L" from " +
                    OrNone(manifest.main_component_url) + L", executable " +
                    OrNone(manifest.main_component_executable));
    for (const DependencyInfo& dependency : manifest.dependencies)
        lines.push_back(L"prerequisite " + OrNone(dependency.name) + L" from " + OrNone(dependency.full_url) +
                        L", arguments " + OrNone(dependency.install_commandline));
    for (const TransformInfo& transform : manifest.transforms)
        lines.push_back(L"transform " + std::to_wstring(transform.lang_id) + L" " + OrNone(transform.name) +
                        L" from " + OrNone(transform.full_url));
    for (const LanguagePackInfo& pack : manifest.language_packs)
        lines.push_back(L"language pack " + std::to_wstring(pack.lang_id) + L" " + OrNone(pack.name) +
                        L" from " + OrNone(pack.full_url) + L", pid " + OrNone(pack.pid));
    return lines;
}

std::wstring DescribeRelease(const ReleaseInfo& release) {
    return L"product " + OrNone(release.product_version) + L", minimum installer " +
           OrNone(release.min_web_installer_version) + L", installer download " +
           OrNone(release.web_installer_download_url);
}

VersionCheckResult CInstallConfig::EvaluateVersionState(const LaunchOptions& app) const {
    if (!manifest.standalone) {
        nvx::Diagnose(L"config",
                      L"release for a fresh installation: " + DescribeRelease(manifest.fresh_install));
        nvx::Diagnose(L"config", L"release for an update: " + DescribeRelease(manifest.patch_install));
    }
    const VersionVerdict verdict =
        DecideVersionState(manifest, installed_version, app.product_installed != 0);
    nvx::Diagnose(L"config",
                  std::wstring(L"version verdict: ") + VerdictName(verdict.result) + L": " + verdict.reason);
    return verdict.result;
}
