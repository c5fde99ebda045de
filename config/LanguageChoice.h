#pragma once
// Which languages the installer offers and which one it starts in.
#include "config/ManifestInfo.h"

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int32_t kEnglishLanguageId = 1033;

struct BaseLanguage {
    LanguageItem item;
    bool localized = false; // false: the product is English, i.e. not localized
};

// The product's own language, named by the last two letters of its pid in any letter case.
BaseLanguage BaseLanguageOf(std::wstring_view pid);

// The language to start in: the "/lang" value when it is a positive number, the user's UI
// language for any other non-empty value, else the base language of a localized product or
// the user's UI language.
int32_t PreferredLanguage(const std::wstring& requested_language, const BaseLanguage& base,
                          int32_t user_ui_language);
