// The language list and the starting language: the product's own language from its pid,
// the language packs with titles from their string files, and the preferred language.
#include "config/InstallConfig.h"
#include "config/LanguageChoice.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct BaseCase {
    const wchar_t* pid;
    const wchar_t* name;
    int32_t id;
    bool localized;
};

TEST(BaseLanguageOf, ReadsTheLastTwoLettersInAnyCase) {
    const BaseCase cases[] = {
        {L"LUMPRO17DE", L"German", 1031, true},
        {L"lumpro17de", L"German", 1031, true},
        {L"LUMPRO17dE", L"German", 1031, true},
        {L"LUMPRO17FR", L"French", 1036, true},
        {L"LUMPRO17ZA", L"Chinese (Simplified)", 2052, true},
        {L"LUMPRO17ZH", L"Chinese (Traditional)", 1028, true},
        {L"ZH", L"Chinese (Traditional)", 1028, true}, // exactly two characters
        {L"LUMPRO17EN", L"English", 1033, false},
        {L"LUMPRO17DEX", L"English", 1033, false}, // only the last two count
        {L"D", L"English", 1033, false},           // one character
        {L"", L"English", 1033, false},
    };
    for (const BaseCase& c : cases) {
        BaseLanguage base = BaseLanguageOf(c.pid);
        EXPECT_EQ(base.item.display_name, c.name) << testing::PrintToString(c.pid);
        EXPECT_EQ(base.item.lang_id, c.id) << testing::PrintToString(c.pid);
        EXPECT_EQ(base.localized, c.localized) << testing::PrintToString(c.pid);
    }
}

struct BuildCase {
    const char* name;
    const wchar_t* pid;
    std::vector<int32_t> packs;
    const wchar_t* requested;
    int32_t user_ui_language;
    int32_t expected_language;
    int expected_choice;
};

TEST(BuildLanguageList, PicksThePreferredLanguageWhenListed) {
    const BuildCase cases[] = {
        {"English product follows the user's German UI", L"P17EN", {1031}, L"", 1031, 1031, 1},
        {"English product without German pack stays English", L"P17EN", {1036}, L"", 1031, 1033, 1},
        {"localized product starts in its own language", L"P17DE", {1033}, L"", 1033, 1031, 1},
        {"/lang picks a listed pack", L"P17EN", {1031, 1036}, L"1036", 1031, 1036, 1},
        {"/lang of an unlisted language changes nothing", L"P17EN", {1031}, L"2052", 1031, 1033, 1},
        {"/lang abc selects the user's UI language", L"P17DE", {1033}, L"abc", 1033, 1033, 1},
        {"/lang 0 selects the user's UI language", L"P17DE", {1033}, L"0", 1033, 1033, 1},
        {"/lang -5 selects the user's UI language", L"P17DE", {1036}, L"-5", 1036, 1036, 1},
        {"/lang with a number prefix", L"P17EN", {1031}, L"1031xyz", 1033, 1031, 1},
        {"no packs: one language, no choice", L"P17DE", {}, L"", 1033, 1031, 0},
        {"no packs, English: no choice", L"P17EN", {}, L"1031", 1031, 1033, 0},
    };
    for (const BuildCase& c : cases) {
        CInstallConfig config;
        config.module_folder = L"/nonexistent-nvx-folder";
        config.manifest.pid = c.pid;
        for (int32_t id : c.packs)
            config.manifest.language_packs.push_back(
                {id, L"pack", L"pack.exe", L"http://127.0.0.1/pack.exe"});
        config.BuildLanguageList(c.requested, c.user_ui_language);
        EXPECT_EQ(config.language.language_id, c.expected_language) << c.name;
        EXPECT_EQ(config.language_choice_enabled, c.expected_choice) << c.name;
        ASSERT_EQ(config.languages.size(), c.packs.size() + 1) << c.name;
        EXPECT_EQ(config.languages[0].lang_id, BaseLanguageOf(c.pid).item.lang_id) << c.name;
    }
}

TEST(BuildLanguageList, TitlesComeFromEachPacksStringFile) {
    ScratchFolder folder("nvx-config");
    folder.Write("language/1031/stringPro.ini", "[LANGUAGE]\r\nTitle=Deutsch\r\n");
    folder.Write("language/1036/stringPro.ini", "[UISTRING]\r\nIDS_INSTALL=Installer\r\n"); // no title
    CInstallConfig config;
    config.module_folder = folder.wpath();
    config.manifest.pid = L"P17EN";
    for (int32_t id : {1031, 1036, 2052, 1031})
        config.manifest.language_packs.push_back({id, L"", L"", L""});

    config.BuildLanguageList(L"", 1033);

    EXPECT_EQ(config.language.language_folder, folder.wpath() + L"\\language\\");
    std::vector<LanguageItem> list = config.GetLanguageList();
    ASSERT_EQ(list.size(), 5u); // duplicates are kept
    const std::pair<const wchar_t*, int32_t> expected[] = {
        {L"English", 1033}, {L"Deutsch", 1031}, {L"1036", 1036}, {L"2052", 2052}, {L"Deutsch", 1031}};
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].display_name, expected[i].first) << i;
        EXPECT_EQ(list[i].lang_id, expected[i].second) << i;
    }
}

} // namespace
