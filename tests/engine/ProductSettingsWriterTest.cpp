// The product's settings as they land in the registry of the test prefix.
#include "engine/ProductSettings.h"
#include "engine/ProductSettingsWriter.h"
#include "tests/support/ScratchRegistry.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kKey[] = L"SOFTWARE\\NVX Systems Test\\Settings";

class ProductSettingsWriter : public testing::Test {
protected:
    ProductSettingsWriter() {
        config_.manifest.registry = kKey;
        config_.manifest.main_component_executable = L"Lumetra.exe";
        config_.install_folder = L"C:\\Program Files\\NVX Test\\";
        config_.language.language_id = 1031;
        config_.language_choice_enabled = 1;
    }

    std::optional<std::wstring> MachineText(const wchar_t* name) const {
        return RegistryKey(HKEY_LOCAL_MACHINE, kKey).ReadString(name);
    }

    ScratchRegistryTree machine_{HKEY_LOCAL_MACHINE, kKey};
    ScratchRegistryTree user_{HKEY_CURRENT_USER, kKey};
    ScratchRegistryTree companion_{HKEY_CURRENT_USER, kResourceLanguageKey};
    CInstallConfig config_;
    LaunchOptions app_;
};

} // namespace

TEST_F(ProductSettingsWriter, FirstInstallationWritesTheFiveValues) {
    EXPECT_TRUE(WriteProductSettings(ChoicesFrom(config_, app_), config_.manifest));
    EXPECT_EQ(MachineText(L"InstallDir"), L"C:\\Program Files\\NVX Test\\");
    EXPECT_EQ(MachineText(L"exe"), L"C:\\Program Files\\NVX Test\\Lumetra.exe");
    RegistryKey packs(HKEY_LOCAL_MACHINE, std::wstring(kKey) + L"\\LanguagePacks");
    EXPECT_EQ(packs.ReadDword(L"InitialLangID"), 1031u);
    RegistryKey user(HKEY_CURRENT_USER, kKey);
    EXPECT_EQ(user.ReadDword(L"ApplicationLanguage"), 1031u);
    RegistryKey companion(HKEY_CURRENT_USER, kResourceLanguageKey);
    EXPECT_EQ(companion.ReadString(L"C:\\Program Files\\NVX Test\\nvxLinkAgent2.exe"), L"1031");
}

TEST_F(ProductSettingsWriter, AnUpdateLeavesTheRegistryAlone) {
    app_.product_installed = 1;
    EXPECT_TRUE(WriteProductSettings(ChoicesFrom(config_, app_), config_.manifest));
    EXPECT_FALSE(machine_.KeyExists(L""));
    EXPECT_FALSE(user_.KeyExists(L""));
    EXPECT_FALSE(companion_.KeyExists(L""));
}
