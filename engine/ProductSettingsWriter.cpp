#include "engine/ProductSettingsWriter.h"

#include "config/RegistryKey.h"
#include "engine/ProductSettings.h"

bool WriteProductSettings(const CInstallConfig& config, const LaunchOptions& app) {
    ProductSettingsInputs inputs;
    inputs.product_installed = app.product_installed != 0;
    inputs.install_folder = config.install_folder;
    inputs.main_component_executable = config.manifest.main_component_executable;
    inputs.registry = config.manifest.registry;
    inputs.language_id = config.language.language_id;
    inputs.language_choice_enabled = config.language_choice_enabled != 0;
    for (const SettingWrite& write : PlanProductSettings(inputs)) {
        RegistryKey key(write.root == SettingRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                        write.key);
        if (write.is_dword)
            key.WriteDword(write.value_name.c_str(), write.number);
        else
            key.WriteString(write.value_name.c_str(), write.text);
    }
    return true;
}
