#include "localization/LanguageContext.h"

#include "localization/ProfileFile.h"

namespace {

std::wstring Lookup(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                    const std::wstring& default_value) {
    if (!ProfileFileExists(path))
        return default_value;
    return ReadProfileString(path, section, key, default_value);
}

} // namespace

std::wstring LanguageContext::StringFilePath(int32_t language) const {
    return language_folder + std::to_wstring(language) + L"\\stringPro.ini";
}

std::wstring LanguageContext::LookupUIString(const UIStringEntry& entry) const {
    return Lookup(StringFilePath(language_id), L"UISTRING", entry.key, entry.default_text);
}

std::wstring LanguageContext::LookupLink(const UIStringEntry& entry) const {
    return Lookup(StringFilePath(language_id), L"RLINK", entry.key, entry.default_text);
}

std::wstring LanguageContext::LookupLanguageTitle(int32_t language) const {
    return Lookup(StringFilePath(language), L"LANGUAGE", L"Title", std::to_wstring(language));
}
