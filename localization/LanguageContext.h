#pragma once
// The current UI language and the lookups of texts, links and language titles in the
// per-language string file <language_folder><id>\stringPro.ini. Nothing is cached: a change
// of language_id takes effect for the next lookup.
#include "localization/UIStrings.h"

#include <cstdint>
#include <string>

class LanguageContext {
public:
    int32_t language_id = 1033;
    std::wstring language_folder; // ends with a backslash once set

    std::wstring LookupUIString(const UIStringEntry& entry) const;
    std::wstring LookupLink(const UIStringEntry& entry) const;
    std::wstring LookupLanguageTitle(int32_t language) const;

    // Path of the string file of a language.
    std::wstring StringFilePath(int32_t language) const;
};
