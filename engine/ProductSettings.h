#pragma once
// The registry values a first installation leaves for the product, its companion agent and
// later runs of this installer, decided as a list of writes so the rules are tested without a
// registry.
#include "engine/InstallChoices.h"

#include <cstdint>
#include <string>
#include <vector>

enum class SettingRoot { LocalMachine, CurrentUser };

struct SettingWrite {
    SettingRoot root = SettingRoot::LocalMachine;
    std::wstring key;
    std::wstring value_name;
    bool is_dword = false;
    std::wstring text;   // REG_SZ data
    uint32_t number = 0; // REG_DWORD data

    bool operator==(const SettingWrite&) const = default;
};

struct ProductSettingsInputs {
    InstallChoices choices;
    std::wstring main_component_executable;
    std::wstring registry; // the product's key below the hive root
};

// The companion agent whose language the settings record, and the key that records it.
inline constexpr wchar_t kCompanionAgentName[] = L"nvxLinkAgent2.exe";
inline constexpr wchar_t kResourceLanguageKey[] = L"SOFTWARE\\NVX Systems\\ResourceLangID";

// Nothing for an update. Otherwise "InstallDir" (the folder with one trailing backslash) and
// "exe" (the main executable) below the product's machine key; and, for a language other than
// English chosen from several, "InitialLangID" (machine), "ApplicationLanguage" (user) and the
// companion agent's language (user).
[[nodiscard]] std::vector<SettingWrite> PlanProductSettings(const ProductSettingsInputs& inputs);
