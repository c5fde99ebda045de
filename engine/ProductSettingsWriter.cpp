#include "engine/ProductSettingsWriter.h"

#include "config/RegistryKey.h"
#include "engine/ProductSettings.h"
#include "framework/Diagnostics.h"

bool WriteProductSettings(const InstallChoices& choices, const ManifestInfo& manifest) {
    ProductSettingsInputs inputs;
    inputs.choices = choices;
    inputs.main_component_executable = manifest.main_component_executable;
    inputs.registry = manifest.registry;
    for (const SettingWrite& write : PlanProductSettings(inputs)) {
        const bool machine = write.root == SettingRoot::LocalMachine;
        RegistryKey key(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, write.key);
        if (write.is_dword)
            key.WriteDword(write.value_name.c_str(), write.number);
        else
            key.WriteString(write.value_name.c_str(), write.text);
        nvx::Diagnose(L"settings", std::wstring(machine ? L"HKLM\\" : L"HKCU\\") + write.key + L" " +
                                       write.value_name + L" = " +
                                       (write.is_dword ? std::to_wstring(write.number) : write.text));
    }
    return true;
}
