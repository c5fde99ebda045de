#include "engine/ProductSettings.h"

#include "engine/PackageProperties.h"

std::vector<SettingWrite> PlanProductSettings(const ProductSettingsInputs& inputs) {
    std::vector<SettingWrite> writes;
    // An update leaves the registry as the first installation wrote it.
    if (inputs.choices.product_installed)
        return writes;

    const std::wstring executable = JoinPath(inputs.choices.install_folder, inputs.main_component_executable);
    // The folder of the executable; none when its only backslash is its first character.
    size_t last_backslash = executable.rfind(L'\\');
    const bool has_folder = last_backslash != std::wstring::npos && last_backslash > 0;
    const std::wstring folder = has_folder ? executable.substr(0, last_backslash + 1) : std::wstring();

    if (has_folder) {
        writes.push_back({SettingRoot::LocalMachine, inputs.registry, L"InstallDir", false, folder, 0});
        writes.push_back({SettingRoot::LocalMachine, inputs.registry, L"exe", false, executable, 0});
    }
    if (UsesChosenLanguage(inputs.choices)) {
        const auto language = static_cast<uint32_t>(inputs.choices.language_id);
        writes.push_back({SettingRoot::LocalMachine, inputs.registry + L"\\LanguagePacks", L"InitialLangID",
                          true, L"", language});
        writes.push_back(
            {SettingRoot::CurrentUser, inputs.registry, L"ApplicationLanguage", true, L"", language});
        if (has_folder)
            writes.push_back({SettingRoot::CurrentUser, kResourceLanguageKey, folder + kCompanionAgentName,
                              false, std::to_wstring(inputs.choices.language_id), 0});
    }
    return writes;
}
