// The registry values a first installation leaves behind, as a list of writes.
#include "engine/ProductSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::wstring kProductKey = L"SOFTWARE\\NVX Systems\\Lumetra Professional\\170";

SettingWrite Machine(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    return {SettingRoot::LocalMachine, key, name, false, text, 0};
}

SettingWrite MachineNumber(const std::wstring& key, const wchar_t* name, uint32_t number) {
    return {SettingRoot::LocalMachine, key, name, true, L"", number};
}

SettingWrite User(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    return {SettingRoot::CurrentUser, key, name, false, text, 0};
}

SettingWrite UserNumber(const std::wstring& key, const wchar_t* name, uint32_t number) {
    return {SettingRoot::CurrentUser, key, name, true, L"", number};
}

} // namespace

TEST(ProductSettings, FirstInstallationRecordsFolderExecutableAndLanguage) {
    struct Case {
        const char* name;
        ProductSettingsInputs inputs;
        std::vector<SettingWrite> expected;
    };
    const std::wstring folder = L"C:\\Program Files\\NVX Systems\\";
    const std::wstring exe = L"C:\\Program Files\\NVX Systems\\Lumetra.exe";
    const Case cases[] = {
        {"English: folder and executable only",
         {{1033, true, L"C:\\Program Files\\NVX Systems", 0, false}, L"Lumetra.exe", kProductKey},
         {Machine(kProductKey, L"InstallDir", folder), Machine(kProductKey, L"exe", exe)}},
        {"German from several: the three language values too",
         {{1031, true, L"C:\\Program Files\\NVX Systems", 0, false}, L"Lumetra.exe", kProductKey},
         {Machine(kProductKey, L"InstallDir", folder), Machine(kProductKey, L"exe", exe),
          MachineNumber(kProductKey + L"\\LanguagePacks", L"InitialLangID", 1031),
          UserNumber(kProductKey, L"ApplicationLanguage", 1031),
          User(L"SOFTWARE\\NVX Systems\\ResourceLangID", folder + L"nvxLinkAgent2.exe", L"1031")}},
        {"German as the only language: no language values",
         {{1031, false, L"C:\\Program Files\\NVX Systems", 0, false}, L"Lumetra.exe", kProductKey},
         {Machine(kProductKey, L"InstallDir", folder), Machine(kProductKey, L"exe", exe)}},
        {"trailing backslash: one backslash each",
         {{1033, true, L"C:\\Program Files\\NVX Systems\\", 0, false}, L"Lumetra.exe", kProductKey},
         {Machine(kProductKey, L"InstallDir", folder), Machine(kProductKey, L"exe", exe)}},
        {"update: nothing",
         {{1031, true, L"C:\\Program Files\\NVX Systems", 0, true}, L"Lumetra.exe", kProductKey},
         {}},
        {"no folder: only the language numbers",
         {{1036, true, L"", 0, false}, L"Lumetra.exe", kProductKey},
         {MachineNumber(kProductKey + L"\\LanguagePacks", L"InitialLangID", 1036),
          UserNumber(kProductKey, L"ApplicationLanguage", 1036)}},
        {"an executable in a subfolder",
         {{1033, true, L"D:\\Apps", 0, false}, L"bin\\Lumetra.exe", kProductKey},
         {Machine(kProductKey, L"InstallDir", L"D:\\Apps\\bin\\"),
          Machine(kProductKey, L"exe", L"D:\\Apps\\bin\\Lumetra.exe")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanProductSettings(c.inputs), c.expected) << c.name;
}
