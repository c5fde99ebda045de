// Feeds arbitrary bytes to the reader of the server's version.xml over a manifest that names
// an installed product, then takes the installer's version decision on the releases read.
#include "config/InstallConfig.h"
#include "config/VersionRules.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <string>

namespace {

void CheckRelease(const ReleaseInfo& release, size_t size) {
    FuzzCheckReadText(release.product_version, size);
    FuzzCheckReadText(release.min_web_installer_version, size);
    FuzzCheckReadText(release.web_installer_download_url, size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = FuzzScratchFolder("version_xml_fuzz") + "/version.xml";
    if (!WriteFuzzInput(path, data, size))
        return 0;
    CInstallConfig config;
    config.manifest.web_installer_version = L"1.0.0.5";
    config.manifest.standalone_version = L"17.0.0.100";
    if (!ParseVersionXml(WidePath(path), config.manifest))
        return 0;
    const ManifestInfo& manifest = config.manifest;
    CheckRelease(manifest.fresh_install, size);
    CheckRelease(manifest.patch_install, size);
    // The update's version replaces the standalone version only when the update names one.
    FuzzCheck(manifest.standalone_version == L"17.0.0.100" ||
              manifest.standalone_version == manifest.patch_install.product_version);

    for (const ReleaseInfo* release : {&manifest.fresh_install, &manifest.patch_install}) {
        ParseVersion(release->product_version);
        IsNewerVersion(release->min_web_installer_version, manifest.web_installer_version);
    }
    for (bool installed : {false, true})
        EvaluateVersionState(manifest, L"17.0.0.100", installed);
    return 0;
}
