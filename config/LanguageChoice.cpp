#include "config/LanguageChoice.h"

#include "config/TextRules.h"
#include "framework/TextCompare.h"

namespace {

struct SuffixLanguage {
    const wchar_t* suffix;
    const wchar_t* display_name;
    int32_t id;
};

constexpr SuffixLanguage kSuffixLanguages[] = {
    {L"DE", L"German", 1031},
    {L"FR", L"French", 1036},
    {L"ZA", L"Chinese (Simplified)", 2052},
    {L"ZH", L"Chinese (Traditional)", 1028},
};

} // namespace

BaseLanguage BaseLanguageOf(std::wstring_view pid) {
    std::wstring_view suffix = pid.size() > 2 ? pid.substr(pid.size() - 2) : pid;
    for (const SuffixLanguage& language : kSuffixLanguages)
        if (EqualsIgnoringAsciiCase(suffix, language.suffix))
            return {{language.display_name, language.id}, true};
    return {{L"English", kEnglishLanguageId}, false};
}

int32_t PreferredLanguage(const std::wstring& requested_language, const BaseLanguage& base,
                          int32_t user_ui_language) {
    if (!requested_language.empty()) {
        int32_t requested = DecimalTextToInt(requested_language);
        return requested > 0 ? requested : user_ui_language;
    }
    return base.localized ? base.item.lang_id : user_ui_language;
}
