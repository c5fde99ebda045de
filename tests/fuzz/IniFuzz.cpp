// Feeds arbitrary bytes to the string-file reader as a language's stringPro.ini, looked up the
// way the installer does (texts, links, the language title), and to the decoding and the
// section/key search directly, with names taken from the text itself.
#include "localization/IniText.h"
#include "localization/LanguageContext.h"
#include "localization/ProfileFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

constexpr int32_t kLanguage = 1033;

// A file value never exceeds the limit, nor can it be longer than the file's text, unless it
// is the default.
void CheckLookup(const std::wstring& value, const std::wstring& default_value, size_t text_size) {
    FuzzCheck(value.size() <= kProfileValueLimit);
    FuzzCheck(value.size() <= text_size || value == default_value.substr(0, kProfileValueLimit));
}

// The first section name and the first key after it, as the search would trim them, so that
// a search can find something in a file of any shape.
void FirstNames(std::wstring_view text, std::wstring& section, std::wstring& key) {
    size_t open = text.find(L'[');
    if (open == std::wstring_view::npos)
        return;
    size_t close = text.find_first_of(L"]\r\n", open);
    section =
        std::wstring(text.substr(open + 1, close == std::wstring_view::npos ? close : close - open - 1));
    size_t line = text.find_first_of(L"\r\n", open);
    if (line == std::wstring_view::npos)
        return;
    size_t equals = text.find(L'=', line);
    if (equals != std::wstring_view::npos)
        key = std::wstring(text.substr(line + 1, equals - line - 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = [] {
        std::string root = FuzzScratchFolder("ini_fuzz");
        ::mkdir((root + "/" + std::to_string(kLanguage)).c_str(), 0700);
        return root;
    }();
    static const std::string path = folder + "/" + std::to_string(kLanguage) + "/stringPro.ini";

    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::wstring text = DecodeIniBytes(bytes);
    FuzzCheck(text.size() <= size);
    std::wstring section = L"UISTRING";
    std::wstring key = L"IDS_INSTALL";
    FirstNames(text, section, key);
    if (std::optional<std::wstring> value = FindIniValue(text, section, key))
        FuzzCheck(value->size() <= text.size());

    if (!WriteFuzzInput(path, data, size))
        return 0;
    LanguageContext context;
    context.language_id = kLanguage;
    context.language_folder = WidePath(folder) + L"\\";
    for (const UIStringEntry& entry : {ui::kInstall, ui::kProductReady, ui::kMessageCancelNotice})
        CheckLookup(context.LookupUIString(entry), entry.default_text, text.size());
    CheckLookup(context.LookupLink(ui::kLinkLicenseTerms), ui::kLinkLicenseTerms.default_text, text.size());
    CheckLookup(context.LookupLanguageTitle(kLanguage), std::to_wstring(kLanguage), text.size());
    CheckLookup(ReadProfileString(WidePath(path), section, key, L""), L"", text.size());
    return 0;
}
