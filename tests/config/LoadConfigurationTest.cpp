// The start-up load against real files, folders and the registry of the test prefix: where
// it stops for each kind of bad input, the manifest override, and the local folders.
#include "config/InstallConfig.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScratchRegistry.h"

#include <gtest/gtest.h>

#include <set>

#include <windows.h>
#include <shlwapi.h>

#include <fstream>
#include <iterator>
#include <optional>

namespace {

constexpr wchar_t kOverrideKey[] = L"SOFTWARE\\NVX Systems\\Lumetra Professional\\170";
constexpr wchar_t kOverrideValue[] = L"WebInstallerManifest";

std::string ReadFixture(const char* name) {
    std::ifstream file(std::string(NVX_TEST_DATA_DIR) + "/config/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Utf16Le(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

bool IsFolder(const std::wstring& path) {
    return ::PathIsDirectoryW(path.c_str()) != FALSE;
}

// Keeps the user's manifest override out of the way of each test and puts it back after.
class OverrideValue {
public:
    OverrideValue() {
        RegistryKey key(HKEY_CURRENT_USER, kOverrideKey);
        saved_ = key.ReadString(kOverrideValue);
        ::RegDeleteValueW(key.write_handle(), kOverrideValue);
    }
    ~OverrideValue() {
        RegistryKey key(HKEY_CURRENT_USER, kOverrideKey);
        if (saved_)
            key.WriteString(kOverrideValue, *saved_);
        else
            ::RegDeleteValueW(key.write_handle(), kOverrideValue);
    }
    void Set(const std::wstring& path) {
        RegistryKey key(HKEY_CURRENT_USER, kOverrideKey);
        ASSERT_EQ(key.WriteString(kOverrideValue, path), ERROR_SUCCESS);
    }

private:
    std::optional<std::wstring> saved_;
};

class LoadConfiguration : public testing::Test {
protected:
    void Load() { config_.LoadConfigurationFor(folder_.wpath() + L"\\webinstaller.exe", app_); }
    std::wstring Under(const wchar_t* relative) const { return folder_.wpath() + L"\\" + relative; }
    bool FoldersPrepared() const {
        return IsFolder(Under(L"component")) && IsFolder(Under(L"msi")) && IsFolder(Under(L"transform"));
    }
    bool NoFolders() const {
        return !IsFolder(Under(L"component")) && !IsFolder(Under(L"msi")) && !IsFolder(Under(L"transform"));
    }

    ScratchFolder folder_{"nvx-load"};
    OverrideValue override_;
    LaunchOptions app_;
    CInstallConfig config_;
};

enum class Reached {
    Manifest, // stopped reading the manifest: nothing of it
    Override, // stopped on the override: local manifest kept
    Required, // stopped on a missing pid, registry or package URL
    End,      // loaded completely
};

struct LoadCase {
    const char* name;
    std::optional<std::string> manifest; // nothing: no manifest file
    std::optional<std::string> override_manifest;
    bool override_names_missing_file;
    Reached expected;
    const wchar_t* expected_pid;
};

TEST_F(LoadConfiguration, StopsExactlyWhereTheInputFails) {
    const std::string good = ReadFixture("manifestPro.xml");
    ASSERT_FALSE(good.empty());
    const std::string standalone =
        Replaced(good, "<standalone>false</standalone>", "<standalone>TRUE</standalone>");
    const std::string german = Replaced(good, "<pid>LUMPRO17EN</pid>", "<pid>LUMPRO17DE</pid>");
    const LoadCase cases[] = {
        {"no manifest", std::nullopt, std::nullopt, false, Reached::Manifest, L""},
        {"empty manifest", "", std::nullopt, false, Reached::Manifest, L""},
        {"not well-formed", Replaced(good, "</product>", ""), std::nullopt, false, Reached::Manifest, L""},
        {"truncated", good.substr(0, good.size() / 2), std::nullopt, false, Reached::Manifest, L""},
        {"UTF-16", Utf16Le(Replaced(good, "encoding=\"utf-8\"", "encoding=\"utf-16\"")), std::nullopt, false,
         Reached::End, L"LUMPRO17EN"},
        {"declared windows-1252", Replaced(good, "utf-8", "windows-1252"), std::nullopt, false, Reached::End,
         L"LUMPRO17EN"},
        {"registry before pid",
         Replaced(Replaced(good, "<pid>LUMPRO17EN</pid>", ""), "</registry>",
                  "</registry><pid>LUMPRO17EN</pid>"),
         std::nullopt, false, Reached::Required, L"LUMPRO17EN"},
        {"product before product_code",
         Replaced(Replaced(good, "<product_code>{6B0C2B0E-7A43-4C55-9E0A-1D2F3A4B5C6D}</product_code>", ""),
                  "</product>",
                  "</product><product_code>{6B0C2B0E-7A43-4C55-9E0A-1D2F3A4B5C6D}</product_code>"),
         std::nullopt, false, Reached::Required, L""},
        {"no package URL",
         Replaced(good, "<full_url>http://127.0.0.1:8731/msi/LumetraProfessional.msi</full_url>", ""),
         std::nullopt, false, Reached::Required, L"LUMPRO17EN"},
        {"another document element",
         Replaced(Replaced(good, "<nvxwebinstaller>", "<other>"), "</nvxwebinstaller>", "</other>"),
         std::nullopt, false, Reached::Required, L""},
        {"huge values",
         Replaced(good, "Lumetra Professional</full_name>", std::string(3 << 20, 'F') + "</full_name>"),
         std::nullopt, false, Reached::End, L"LUMPRO17EN"},
        {"override names a missing file", good, std::nullopt, true, Reached::End, L"LUMPRO17EN"},
        {"override names a broken file", good, "<nvxwebinstaller><product>", false, Reached::Override,
         L"LUMPRO17EN"},
        {"override names an empty file", good, "", false, Reached::Override, L"LUMPRO17EN"},
        {"override replaces the manifest", good, german, false, Reached::End, L"LUMPRO17DE"},
        {"override without product data", good, "<nvxwebinstaller/>", false, Reached::Required, L""},
        {"standalone ignores the override", standalone, german, false, Reached::End, L"LUMPRO17EN"},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("nvx-load-case");
        OverrideValue override_value;
        if (c.manifest)
            folder.Write("config/manifestPro.xml", *c.manifest);
        std::wstring override_path = folder.wpath() + L"\\elsewhere\\manifest.xml";
        if (c.override_manifest)
            folder.Write("elsewhere/manifest.xml", *c.override_manifest);
        if (c.override_manifest || c.override_names_missing_file)
            override_value.Set(override_path);

        CInstallConfig config;
        LaunchOptions app;
        config.LoadConfigurationFor(folder.wpath() + L"\\webinstaller.exe", app);

        EXPECT_EQ(config.module_folder, folder.wpath());
        EXPECT_EQ(config.manifest.pid, c.expected_pid);
        bool override_read = c.override_manifest && !(c.manifest && *c.manifest == standalone);
        EXPECT_EQ(config.manifest_path,
                  override_read ? override_path : folder.wpath() + L"\\config\\manifestPro.xml");
        bool complete = c.expected == Reached::End;
        EXPECT_EQ(config.languages.empty(), !complete);
        EXPECT_EQ(config.language.language_folder.empty(), !complete);
        EXPECT_EQ(config.component_folder.empty(), !complete);
        EXPECT_EQ(IsFolder(folder.wpath() + L"\\msi"), complete);
        if (c.expected == Reached::Manifest) {
            EXPECT_EQ(config.manifest.product_code, L"");
        }
        if (c.expected == Reached::Override) {
            EXPECT_EQ(config.manifest.full_name, L"Lumetra Professional"); // the local one
        }
        EXPECT_EQ(app.product_installed, 0);
    }
}

TEST_F(LoadConfiguration, AModulePathWithoutBackslashLeavesTheDefaults) {
    folder_.Write("config/manifestPro.xml", ReadFixture("manifestPro.xml"));
    config_.LoadConfigurationFor(L"webinstaller.exe", app_);
    EXPECT_EQ(config_.module_folder, L"");
    EXPECT_EQ(config_.manifest_path, L"");
    EXPECT_TRUE(config_.languages.empty());
    EXPECT_EQ(config_.language_choice_enabled, 1);
    EXPECT_EQ(config_.language.language_id, 1033);
    EXPECT_EQ(config_.install_folder, L"C:\\Program Files\\NVX Systems");
}

TEST_F(LoadConfiguration, ACompleteLoadFillsLanguagesAndFolders) {
    folder_.Write("config/manifestPro.xml", ReadFixture("manifestPro.xml"));
    folder_.Write("language/1031/stringPro.ini", "[LANGUAGE]\r\nTitle=Deutsch\r\n");
    app_.requested_language = L"1031";
    Load();
    EXPECT_EQ(config_.manifest_path, Under(L"config\\manifestPro.xml"));
    EXPECT_EQ(config_.language.language_folder, Under(L"language\\"));
    ASSERT_EQ(config_.languages.size(), 2u);
    EXPECT_EQ(config_.languages[1].display_name, L"Deutsch");
    EXPECT_EQ(config_.language.language_id, 1031);
    EXPECT_EQ(config_.language_choice_enabled, 1);
    EXPECT_EQ(config_.component_folder, Under(L"component\\"));
    EXPECT_EQ(config_.msi_folder, Under(L"msi\\"));
    EXPECT_EQ(config_.transform_folder, Under(L"transform\\"));
    EXPECT_TRUE(FoldersPrepared());
    EXPECT_EQ(config_.installed_version, L""); // the fixture's product is not installed
    EXPECT_EQ(app_.product_installed, 0);
}

TEST_F(LoadConfiguration, ReadManifestOverrideGivesThePathEitherWay) {
    std::wstring path;
    EXPECT_FALSE(config_.ReadManifestOverride(path));
    EXPECT_EQ(path, L"");
    override_.Set(Under(L"nothing-here.xml"));
    EXPECT_FALSE(config_.ReadManifestOverride(path));
    EXPECT_EQ(path, Under(L"nothing-here.xml"));
    folder_.Write("there.xml", "<nvxwebinstaller/>");
    override_.Set(Under(L"there.xml"));
    EXPECT_TRUE(config_.ReadManifestOverride(path));
    EXPECT_EQ(path, Under(L"there.xml"));
}

TEST_F(LoadConfiguration, AComponentFolderWithFilesSurvives) {
    folder_.Write("config/manifestPro.xml", ReadFixture("manifestPro.xml"));
    folder_.Write("component/vc_redist.exe", "MZ");
    Load();
    EXPECT_TRUE(FoldersPrepared());
    EXPECT_TRUE(::PathFileExistsW(Under(L"component\\vc_redist.exe").c_str()));
    EXPECT_FALSE(config_.languages.empty());
}

TEST_F(LoadConfiguration, AStandalonePackageKeepsItsComponentFolderAsItIs) {
    config_.module_folder = folder_.wpath();
    config_.manifest.standalone = true;
    EXPECT_TRUE(config_.PrepareFolders());
    EXPECT_FALSE(IsFolder(Under(L"component"))); // neither created
    EXPECT_TRUE(IsFolder(Under(L"msi")));
    EXPECT_TRUE(IsFolder(Under(L"transform")));

    ::CreateDirectoryW(Under(L"component").c_str(), nullptr);
    EXPECT_TRUE(config_.PrepareFolders());
    EXPECT_TRUE(IsFolder(Under(L"component"))); // nor removed
}

TEST_F(LoadConfiguration, AFolderThatCannotBeCreatedStopsTheLoadLast) {
    folder_.Write("config/manifestPro.xml", ReadFixture("manifestPro.xml"));
    folder_.Write("msi", "a file where the folder belongs");
    Load();
    EXPECT_FALSE(config_.languages.empty()); // the steps before still ran
    EXPECT_TRUE(IsFolder(Under(L"component")));
    EXPECT_FALSE(IsFolder(Under(L"transform")));
    EXPECT_FALSE(config_.PrepareFolders());
}

TEST_F(LoadConfiguration, DownloadPathsOfTheRunningConfiguration) {
    config_.component_folder = Under(L"component\\");
    std::wstring path = config_.MakeDownloadPath(L"version.xml");
    ASSERT_EQ(path.rfind(config_.component_folder, 0), 0u);
    std::wstring middle = path.substr(config_.component_folder.size());
    ASSERT_GT(middle.size(), std::wstring(L"version.xml").size());
    EXPECT_EQ(middle.substr(middle.size() - 11), L"version.xml");
    std::wstring tick = middle.substr(0, middle.size() - 11);
    EXPECT_EQ(tick.find_first_not_of(L"-0123456789"), std::wstring::npos) << testing::PrintToString(tick);
    std::wstring pack = config_.MakeLanguagePackPath(1031);
    EXPECT_EQ(pack.substr(pack.size() - 22), L"language_pack_1031.exe");

    config_.manifest.standalone = true;
    EXPECT_EQ(config_.MakeDownloadPath(L"version.xml"), Under(L"component\\version.xml"));
    EXPECT_EQ(config_.MakeLanguagePackPath(2052), Under(L"component\\language_pack_2052.exe"));
}

// Points the temporary path at another folder for one test.
class TempPathOverride {
public:
    explicit TempPathOverride(const std::wstring& folder) {
        wchar_t saved[MAX_PATH * 2];
        DWORD length = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH * 2);
        if (length > 0 && length < MAX_PATH * 2)
            saved_ = std::wstring(saved, length);
        ::SetEnvironmentVariableW(L"TMP", folder.c_str());
    }
    ~TempPathOverride() { ::SetEnvironmentVariableW(L"TMP", saved_ ? saved_->c_str() : nullptr); }

private:
    std::optional<std::wstring> saved_;
};

TEST_F(LoadConfiguration, UpdaterPathIsInAFreshTemporaryFolder) {
    config_.manifest.full_name = L"Lumetra Professional";
    {
        TempPathOverride temp(folder_.wpath());
        std::wstring path = config_.MakeUpdaterPath();
        const std::wstring prefix = folder_.wpath() + L"\\NVXWebInstaller_";
        ASSERT_EQ(path.rfind(prefix, 0), 0u) << testing::PrintToString(path);
        size_t backslash = path.rfind(L'\\');
        EXPECT_EQ(path.substr(backslash), L"\\Lumetra Professional.exe");
        EXPECT_TRUE(IsFolder(path.substr(0, backslash)));
    }
    {
        // Folders prepared under the names the next second's tick counts give are not used
        // (the first block's folder may be one of them already).
        TempPathOverride temp(folder_.wpath());
        std::set<std::wstring> prepared;
        const uint32_t now = ::GetTickCount();
        for (uint32_t tick = now; tick != now + 1000; ++tick) {
            std::wstring name =
                folder_.wpath() + L"\\NVXWebInstaller_" + std::to_wstring(static_cast<int32_t>(tick));
            ASSERT_TRUE(::CreateDirectoryW(name.c_str(), nullptr) ||
                        ::GetLastError() == ERROR_ALREADY_EXISTS);
            prepared.insert(name);
        }
        std::wstring path = config_.MakeUpdaterPath();
        ASSERT_FALSE(path.empty());
        const std::wstring folder = path.substr(0, path.rfind(L'\\'));
        EXPECT_FALSE(prepared.count(folder)) << testing::PrintToString(folder);
        EXPECT_TRUE(IsFolder(folder));
    }
    {
        folder_.Write("blocked", "a file, not a folder");
        TempPathOverride temp(Under(L"blocked\\"));
        EXPECT_EQ(config_.MakeUpdaterPath(), L"");
    }
}

} // namespace
