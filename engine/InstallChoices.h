#pragma once
// What the user (or the command line) chose for this installation, taken once from the
// configuration and read by the plan, the package's property string and the product's
// settings alike, so that the three can never disagree.
#include "config/InstallConfig.h"
#include "config/LaunchOptions.h"

#include <cstdint>
#include <string>

struct InstallChoices {
    int32_t language_id = 1033;
    bool language_offered = false; // the settings page offered several languages
    std::wstring install_folder;
    int32_t file_association = 0;   // 0 all image types, 1 types no other program uses, 2 none
    bool product_installed = false; // an update of the installed copy

    bool operator==(const InstallChoices&) const = default;
};

// A language other than English chosen from several: it brings its transform into the
// property string, its language pack into the plan and its language values into the settings.
[[nodiscard]] bool UsesChosenLanguage(const InstallChoices& choices) noexcept;

[[nodiscard]] InstallChoices ChoicesFrom(const CInstallConfig& config, const LaunchOptions& options);
