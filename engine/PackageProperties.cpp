#include "engine/PackageProperties.h"

#include <array>

namespace {

constexpr std::array<std::wstring_view, 3> shell_integration_levels = {L"All", L"Free", L"None"};

std::wstring QuotedProperty(std::wstring_view name, std::wstring_view value) {
    std::wstring part(name);
    part += L"=\"";
    part += value;
    part += L'"';
    return part;
}

} // namespace

std::wstring_view ShellIntegrationLevel(int32_t file_association) noexcept {
    if (file_association < 0 || static_cast<size_t>(file_association) >= shell_integration_levels.size())
        return {};
    return shell_integration_levels[static_cast<size_t>(file_association)];
}

std::wstring TransformFilePath(const std::wstring& transform_folder, int32_t lang_id) {
    return transform_folder + std::to_wstring(lang_id) + L".mst";
}

std::wstring BuildPackageProperties(const PackagePropertyInputs& inputs) {
    const InstallChoices& choices = inputs.choices;
    std::wstring properties;
    if (choices.product_installed)
        properties = kReinstallProperties;
    else if (inputs.install_folder_exists)
        properties = QuotedProperty(L"INSTALLDIR", WithoutTrailingBackslash(choices.install_folder));

    if (UsesChosenLanguage(choices) && inputs.transform_planned)
        properties += L' ' + QuotedProperty(L"TRANSFORMS",
                                            TransformFilePath(inputs.transform_folder, choices.language_id));

    properties +=
        L' ' + QuotedProperty(L"SHELL_INTEGRATION_LEVEL", ShellIntegrationLevel(choices.file_association));
    return properties;
}
