// Feeds arbitrary bytes to the product manifest reader as config\manifestPro.xml, then takes
// the installer's version decision on what it read.
#include "config/InstallConfig.h"
#include "config/VersionRules.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = FuzzScratchFolder("manifest_fuzz") + "/manifestPro.xml";
    if (!WriteFuzzInput(path, data, size))
        return 0;
    CInstallConfig config;
    config.manifest_path = WidePath(path);
    ManifestInfo& manifest = config.manifest;
    if (!ParseManifest(config.manifest_path, manifest))
        return 0;

    for (const std::wstring* text :
         {&manifest.web_installer_version, &manifest.product_code, &manifest.pid, &manifest.full_name,
          &manifest.short_name, &manifest.registry, &manifest.standalone_version, &manifest.version_check_url,
          &manifest.main_component_name, &manifest.main_component_url, &manifest.main_component_executable})
        FuzzCheckReadText(*text, size);
    for (const TransformInfo& transform : manifest.transforms) {
        FuzzCheckReadText(transform.name, size);
        FuzzCheckReadText(transform.full_url, size);
    }
    for (const LanguagePackInfo& pack : manifest.language_packs) {
        FuzzCheckReadText(pack.pid, size);
        FuzzCheckReadText(pack.name, size);
        FuzzCheckReadText(pack.full_url, size);
    }
    for (const DependencyInfo& dependency : manifest.dependencies) {
        FuzzCheckReadText(dependency.name, size);
        FuzzCheckReadText(dependency.full_url, size);
        FuzzCheckReadText(dependency.install_commandline, size);
    }

    // The versions it names, against one another and against an installed copy.
    ParseVersion(manifest.web_installer_version);
    IsNewerVersion(manifest.standalone_version, manifest.web_installer_version);
    for (bool installed : {false, true})
        EvaluateVersionState(manifest, manifest.standalone_version, installed);
    return 0;
}
