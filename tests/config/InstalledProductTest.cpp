// Detection of an installed copy against a real package: a small product built with wixl is
// installed into the test prefix by msiexec for this suite and removed afterwards.
#include "config/InstallConfig.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/ProcessRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using nvxtest::RunMsiexec;

namespace {

constexpr wchar_t kProductCode[] = L"{8E5B1C0A-4F6D-4B3A-9C2E-7D1F0A3B5C71}";
constexpr wchar_t kProductVersion[] = L"17.0.0.100";
constexpr wchar_t kAbsentProductCode[] = L"{0D1E2F30-4152-6374-8596-A7B8C9D0E1F2}";

std::wstring TestPackagePath() {
    std::string unix_path = NVX_DETECTION_TEST_MSI;
    std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
    return L"Z:" + std::wstring(unix_path.begin(), unix_path.end());
}

std::wstring Expand(const wchar_t* text) {
    wchar_t buffer[MAX_PATH];
    DWORD length = ::ExpandEnvironmentStringsW(text, buffer, MAX_PATH);
    return length > 0 && length <= MAX_PATH ? std::wstring(buffer) : std::wstring();
}

class InstalledProduct : public testing::Test {
protected:
    static void SetUpTestSuite() { install_result_ = RunMsiexec(L"/i \"" + TestPackagePath() + L"\" /qn"); }
    static void TearDownTestSuite() { RunMsiexec(std::wstring(L"/x ") + kProductCode + L" /qn"); }

    void SetUp() override {
        ASSERT_EQ(install_result_, 0u) << "msiexec could not install the test package";
        config_.manifest.product_code = kProductCode;
        config_.manifest.registry = product_key_.path();
        // Stands for what the language list chose before the detection.
        config_.language.language_id = 1036;
    }

    static inline DWORD install_result_ = 0;
    ScratchRegistryTree product_key_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\NVX Systems Test\\Detection"};
    CInstallConfig config_;
    LaunchOptions app_;
};

TEST_F(InstalledProduct, WindowsInstallerGivesTheInstalledVersion) {
    CPromptRecorder messages;
    EXPECT_EQ(GetInstalledProductVersion(kProductCode), kProductVersion);
    EXPECT_EQ(GetInstalledProductVersion(kAbsentProductCode), L""); // unknown product: silent
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(InstalledProduct, OtherInstallerErrorsGoToTheUserWithTheirCode) {
    for (const wchar_t* code : {L"", L"not-a-product-code"}) {
        CPromptRecorder messages;
        EXPECT_EQ(GetInstalledProductVersion(code), L"");
        EXPECT_EQ(messages.Texts(),
                  std::vector<std::wstring>{L"Failed to get installed product info, error code: 87"})
            << testing::PrintToString(code);
    }
}

TEST_F(InstalledProduct, DetectionWithAnUnreadableProductCodeTellsTheUserAndKeepsEverything) {
    CPromptRecorder messages;
    config_.manifest.product_code = L"not-a-product-code";
    config_.DetectInstalledProduct(app_);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::wstring>{L"Failed to get installed product info, error code: 87"});
    EXPECT_EQ(config_.installed_version, L"");
    EXPECT_EQ(app_.product_installed, 0);
    EXPECT_EQ(config_.language.language_id, 1036);
}

struct InitialLanguageCase {
    const char* name;
    DWORD type; // 0: no value
    std::vector<BYTE> data;
    int32_t expected_language;
};

std::vector<BYTE> Bytes(const void* data, size_t size) {
    auto* begin = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(begin, begin + size);
}

TEST_F(InstalledProduct, InitialLanguageOfTheInstallationWinsUnlessEnglish) {
    const DWORD german = 1031, english = 1033, zero = 0, chinese = 2052;
    const wchar_t text[] = L"1031";
    const InitialLanguageCase cases[] = {
        {"no value: the list's choice stays", 0, {}, 1036},
        {"1033: the list's choice stays", REG_DWORD, Bytes(&english, 4), 1036},
        {"1031: German, offered or not", REG_DWORD, Bytes(&german, 4), 1031},
        {"four bytes of another type count", REG_BINARY, Bytes(&chinese, 4), 2052},
        {"zero is taken as it is", REG_DWORD, Bytes(&zero, 4), 0},
        {"text does not fit four bytes", REG_SZ, Bytes(text, sizeof(text)), 1036},
    };
    for (const InitialLanguageCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchRegistryTree packs(HKEY_LOCAL_MACHINE, product_key_.Below(L"LanguagePacks"));
        if (c.type != 0) {
            ASSERT_TRUE(packs.SetRaw(L"", L"InitialLangID", c.type, c.data.data(),
                                     static_cast<DWORD>(c.data.size())));
        }
        CInstallConfig config = config_;
        LaunchOptions app;
        config.DetectInstalledProduct(app);
        EXPECT_EQ(config.installed_version, kProductVersion);
        EXPECT_EQ(app.product_installed, 1);
        EXPECT_EQ(config.language.language_id, c.expected_language);
        EXPECT_TRUE(packs.KeyExists(L"")); // opening creates the key
    }
}

TEST_F(InstalledProduct, AProductThatIsNotInstalledKeepsEverything) {
    ASSERT_TRUE(product_key_.SetDword(L"LanguagePacks", L"InitialLangID", 1031));
    config_.manifest.product_code = kAbsentProductCode;
    config_.DetectInstalledProduct(app_);
    EXPECT_EQ(config_.installed_version, L"");
    EXPECT_EQ(app_.product_installed, 0);
    EXPECT_EQ(config_.language.language_id, 1036);
}

TEST_F(InstalledProduct, LanguagePacksAreTheNumericSubkeyNames) {
    EXPECT_TRUE(config_.GetInstalledLanguagePacks().empty());
    for (const wchar_t* name : {L"1031", L"2052", L"abc"})
        ASSERT_TRUE(product_key_.CreateKey(std::wstring(L"LanguagePacks\\") + name));
    EXPECT_EQ(config_.GetInstalledLanguagePacks(), (std::vector<int32_t>{1031, 2052, 0}));
}

TEST_F(InstalledProduct, ExecutablePathOnlyWhenTheFileExists) {
    // The package installed this file; it stands for the product's executable.
    const std::wstring installed_file = Expand(L"%ProgramFiles%\\NVX Detection Test\\readme.txt");
    ASSERT_NE(::GetFileAttributesW(installed_file.c_str()), INVALID_FILE_ATTRIBUTES)
        << "package not installed";
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"existing file", installed_file},
        {L"stale path", Expand(L"%ProgramFiles%\\NVX Detection Test\\gone.exe")},
        {L"empty value", L""},
    };
    EXPECT_EQ(config_.GetInstalledExecutablePath(), L""); // no value at all
    for (const auto& [name, value] : cases) {
        ASSERT_TRUE(product_key_.SetString(L"", L"exe", value));
        std::wstring expected = value == installed_file ? installed_file : L"";
        EXPECT_EQ(config_.GetInstalledExecutablePath(), expected) << name;
    }
}

TEST_F(InstalledProduct, VersionStateOfTheDetectedCopy) {
    config_.DetectInstalledProduct(app_);
    ASSERT_EQ(app_.product_installed, 1);
    config_.manifest.web_installer_version = L"1.0.0.5";
    const std::tuple<const wchar_t*, const wchar_t*, VersionCheckResult> cases[] = {
        {L"17.0.0.101", L"1.0.0.5", VersionCheckResult::Proceed},
        {L"17.0.5.100", L"1.0.0.5", VersionCheckResult::AlreadyInstalled},
        {L"17.0.0.101", L"1.0.0.6", VersionCheckResult::ClientTooOld},
    };
    for (const auto& [update, minimum, expected] : cases) {
        config_.manifest.standalone_version = update;
        config_.manifest.patch_install.min_web_installer_version = minimum;
        EXPECT_EQ(config_.EvaluateVersionState(app_), expected) << testing::PrintToString(update);
    }
}

TEST_F(InstalledProduct, StartupLoadKeepsTheInstalledLanguageOverTheChosenOne) {
    ScratchFolder folder("nvx-detect");
    folder.Write(
        "config/manifestPro.xml",
        "<nvxwebinstaller><web_installer_version>1.0.0.5</web_installer_version><product_code>" +
            std::string(kProductCode, kProductCode + std::size(kProductCode) - 1) +
            "</product_code><product><pid>P17EN</pid><registry>" +
            std::string(product_key_.path().begin(), product_key_.path().end()) +
            "</registry><main_component><name>p.msi</name><full_url>http://127.0.0.1/p.msi</full_url>"
            "</main_component><language_pack><lang_id>1036</lang_id></language_pack></product>"
            "</nvxwebinstaller>");
    ASSERT_TRUE(product_key_.SetDword(L"LanguagePacks", L"InitialLangID", 1031));
    CInstallConfig config;
    LaunchOptions app;
    app.requested_language = L"1036";
    config.LoadConfigurationFor(folder.wpath() + L"\\webinstaller.exe", app);
    EXPECT_EQ(app.product_installed, 1);
    EXPECT_EQ(config.installed_version, kProductVersion);
    EXPECT_EQ(config.language.language_id, 1031);
    EXPECT_EQ(config.languages.size(), 2u);
}

} // namespace
