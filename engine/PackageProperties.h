#pragma once
// The property string handed to Windows Installer with the product's package.
#include "engine/InstallChoices.h"
#include "framework/PathText.h"

#include <cstdint>
#include <string>
#include <string_view>

// An update of the installed product: reinstall every feature from the new package, re-cache
// it, replace older files, rewrite machine and user data, and never restart the machine.
inline constexpr wchar_t kReinstallProperties[] = L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress";

// shell_integration_levels: the settings page's file-association choice (0 all supported image
// types, 1 types not used by another program, 2 none) as the package's word; empty outside.
std::wstring_view ShellIntegrationLevel(int32_t file_association) noexcept;

// Where the transform of a language is stored: the transform folder and "<id>.mst".
std::wstring TransformFilePath(const std::wstring& transform_folder, int32_t lang_id);

struct PackagePropertyInputs {
    InstallChoices choices;
    bool install_folder_exists = false;
    std::wstring transform_folder;
    // The plan's transform was checked and is held for this installation: only then is it named.
    bool transform_planned = false;
};

// The reinstall properties for an update, else INSTALLDIR when the folder exists; then the
// chosen language's TRANSFORMS when a language other than English was chosen from several and
// the plan's transform is in place (any other file in the transform folder, put there by
// anyone, would be applied with the installer's rights); always SHELL_INTEGRATION_LEVEL. Parts are separated
// by single spaces, so a first part left out leaves a leading space.
[[nodiscard]] std::wstring BuildPackageProperties(const PackagePropertyInputs& inputs);
