#include "engine/InstallChoices.h"

#include "config/LanguageChoice.h"

bool UsesChosenLanguage(const InstallChoices& choices) noexcept {
    return choices.language_offered && choices.language_id != kEnglishLanguageId;
}

InstallChoices ChoicesFrom(const CInstallConfig& config, const LaunchOptions& options) {
    InstallChoices choices;
    choices.language_id = config.language.language_id;
    choices.language_offered = config.language_choice_enabled != 0;
    choices.install_folder = config.install_folder;
    choices.file_association = config.file_association;
    choices.product_installed = options.product_installed != 0;
    return choices;
}
