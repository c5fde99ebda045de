#include "config/InstallConfig.h"

#include "config/LanguageChoice.h"

CInstallConfig theConfig;

void CInstallConfig::BuildLanguageList(const std::wstring& requested_language, int32_t user_ui_language) {
    language.language_folder = module_folder + L"\\language\\";
    BaseLanguage base = BaseLanguageOf(manifest.pid);
    languages.push_back(base.item);
    for (const LanguagePackInfo& pack : manifest.language_packs)
        languages.push_back({language.LookupLanguageTitle(pack.lang_id), pack.lang_id});

    int32_t preferred = PreferredLanguage(requested_language, base, user_ui_language);
    for (const LanguageItem& item : languages) {
        if (item.lang_id == preferred) {
            language.language_id = item.lang_id;
            break;
        }
    }
    if (languages.size() < 2)
        language_choice_enabled = 0;
}
