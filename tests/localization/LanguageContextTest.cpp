// Lookups of texts, links and language titles in per-language string files. Runs natively
// (own profile reader) and under Wine (the platform's profile API) over the same files.
#include "localization/LanguageContext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

class LanguageFolder : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("nvx-lang-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        context_.language_folder = root_.wstring() + L"\\";
    }
    void TearDown() override { fs::remove_all(root_); }

    void WriteStringFile(int language, const std::string& bytes) {
        fs::create_directories(root_ / std::to_string(language));
        std::ofstream(root_ / std::to_string(language) / "stringPro.ini", std::ios::binary) << bytes;
    }

    fs::path root_;
    LanguageContext context_;
};

std::string Utf16LeWithBom(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

TEST(UIStringTable, HasThirtyEightDistinctKeysWithDefaults) {
    std::set<std::wstring> keys;
    for (int i = 0; i < ui::kStringEntryCount; ++i) {
        const UIStringEntry* entry = ui::AllEntries()[i];
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(keys.insert(entry->key).second) << "duplicate key";
        EXPECT_NE(std::wstring(entry->default_text), L"");
    }
    EXPECT_EQ(keys.size(), 38u);
}

TEST(UIStringTable, LinksAreHttpsWithTheirPaths) {
    std::wstring terms = ui::kRlinkTerms.default_text;
    std::wstring slides = ui::kRlinkSlideShow.default_text;
    EXPECT_EQ(terms.rfind(L"https://", 0), 0u);
    EXPECT_EQ(slides.rfind(L"https://", 0), 0u);
    EXPECT_EQ(terms.substr(terms.size() - 6), L"/ApAiI");
    EXPECT_EQ(slides.substr(slides.size() - 6), L"/30eYL");
    // Both on the same host.
    EXPECT_EQ(terms.substr(0, terms.size() - 6), slides.substr(0, slides.size() - 6));
}

TEST_F(LanguageFolder, WithoutAStringFileEveryTextIsItsDefault) {
    for (int i = 0; i < ui::kStringEntryCount; ++i) {
        const UIStringEntry& entry = *ui::AllEntries()[i];
        EXPECT_EQ(context_.LookupUIString(entry), entry.default_text);
        EXPECT_EQ(context_.LookupLink(entry), entry.default_text);
    }
    EXPECT_EQ(context_.LookupLanguageTitle(1033), L"1033");
    EXPECT_EQ(context_.LookupLanguageTitle(2052), L"2052");
}

TEST_F(LanguageFolder, EmptyLanguageFolderFallsBackToDefaults) {
    context_.language_folder.clear();
    EXPECT_EQ(context_.LookupUIString(ui::kInstall), L"Install");
    EXPECT_EQ(context_.LookupLanguageTitle(1031), L"1031");
}

TEST_F(LanguageFolder, ValuesFollowTheProfileRules) {
    WriteStringFile(1033, "[LANGUAGE]\r\nTitle=English\r\n"
                          "[uistring]\r\n"
                          "ids_install = Setup now  \r\n"
                          "IDS_START_NOW=\r\n"
                          "IDS_STATUS_INIT=\"  Quoted  \"\r\n"
                          "IDS_PREPARING=\tGetting ready...\r\n"
                          "[RLINK]\r\nIDS_RLINK_TERMS=https://terms.example/t\r\n");
    EXPECT_EQ(context_.LookupUIString(ui::kInstall), L"Setup now");     // case-insensitive, trimmed
    EXPECT_EQ(context_.LookupUIString(ui::kStartNow), L"");             // empty value stays empty
    EXPECT_EQ(context_.LookupUIString(ui::kStatusInit), L"  Quoted  "); // one pair of quotes removed
    EXPECT_EQ(context_.LookupUIString(ui::kPreparing), L"Getting ready...");
    EXPECT_EQ(context_.LookupUIString(ui::kStatusFinished), L"Finished."); // missing key: default
    EXPECT_EQ(context_.LookupLink(ui::kRlinkTerms), L"https://terms.example/t");
    EXPECT_EQ(context_.LookupLink(ui::kRlinkSlideShow), ui::kRlinkSlideShow.default_text);
    // A link is only looked up in its own section.
    EXPECT_EQ(context_.LookupLink(ui::kInstall), L"Install");
    EXPECT_EQ(context_.LookupLanguageTitle(1033), L"English");
}

TEST_F(LanguageFolder, MissingSectionFallsBackPerKey) {
    WriteStringFile(1033, "[LANGUAGE]\r\nTitle=English\r\n");
    EXPECT_EQ(context_.LookupUIString(ui::kInstall), L"Install");
    EXPECT_EQ(context_.LookupLink(ui::kRlinkTerms), ui::kRlinkTerms.default_text);
}

TEST_F(LanguageFolder, LongValuesAreCutTo259Characters) {
    std::string long_value(300, 'x');
    long_value.replace(258, 2, "YZ");
    WriteStringFile(1033, "[UISTRING]\r\nIDS_INSTALL=" + long_value + "\r\n");
    std::wstring text = context_.LookupUIString(ui::kInstall);
    ASSERT_EQ(text.size(), 259u);
    EXPECT_EQ(text.back(), L'Y');
}

TEST_F(LanguageFolder, ALanguageChangeTakesEffectForTheNextLookup) {
    WriteStringFile(1033, "[UISTRING]\r\nIDS_INSTALL=Install it\r\n");
    WriteStringFile(1031, "[LANGUAGE]\r\nTitle=Deutsch\r\n[UISTRING]\r\nIDS_INSTALL=Installieren\r\n");
    EXPECT_EQ(context_.LookupUIString(ui::kInstall), L"Install it");
    context_.language_id = 1031;
    EXPECT_EQ(context_.LookupUIString(ui::kInstall), L"Installieren");
    EXPECT_EQ(context_.LookupUIString(ui::kStartNow), L"Start Now");
    // Titles always come from the file of the language asked about.
    EXPECT_EQ(context_.LookupLanguageTitle(1031), L"Deutsch");
    EXPECT_EQ(context_.LookupLanguageTitle(1033), L"1033");
    context_.language_id = 1036; // no file
    EXPECT_EQ(context_.LookupUIString(ui::kInstall), L"Install");
}

TEST_F(LanguageFolder, UnicodeStringFilesAreRead) {
    WriteStringFile(1031, Utf16LeWithBom(u"[LANGUAGE]\r\nTitle=Deutsch (\u00D6sterreich)\r\n"
                                         u"[UISTRING]\r\nIDS_START_NOW=Jetzt starten \u2192\r\n"));
    context_.language_id = 1031;
    EXPECT_EQ(context_.LookupLanguageTitle(1031), L"Deutsch (\u00D6sterreich)");
    EXPECT_EQ(context_.LookupUIString(ui::kStartNow), L"Jetzt starten \u2192");
}

TEST_F(LanguageFolder, AnEmptyOrGarbledFileYieldsDefaults) {
    WriteStringFile(1033, "");
    EXPECT_EQ(context_.LookupUIString(ui::kInstall), L"Install");
    EXPECT_EQ(context_.LookupLanguageTitle(1033), L"1033");
    WriteStringFile(1031, std::string("\x01\x02[\x00\xFF=\n]]]=[[\n", 14));
    context_.language_id = 1031;
    EXPECT_EQ(context_.LookupUIString(ui::kInstall), L"Install");
}

} // namespace
