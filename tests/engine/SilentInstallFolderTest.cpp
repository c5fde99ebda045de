// A silent first installation into a folder that does not exist yet: the installer makes the
// folder as the settings page would, the product lands there and not in the package's own
// default folder, and the settings name the program that is really there. A folder that cannot
// be made is told as the settings page tells it, and the run fails.
#include "config/RegistryKey.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/InstallerProcess.h"
#include "tests/support/ProcessRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace enginetest;
using namespace nvxtest;

namespace {

constexpr DWORD kTimeout = 120000;
// The installation folder a run starts with when nobody chose one.
constexpr wchar_t kConfiguredFolder[] = L"C:\\Program Files\\NVX Systems";
// Where the test package installs when it is given no INSTALLDIR.
constexpr wchar_t kPackageDefaultFolder[] = L"C:\\Program Files\\Lumetra Engine Test";

// Runs a program of the machine Wine runs on, through Wine's start.exe, and waits for it.
bool RunHostProgram(const std::wstring& arguments) {
    return RunAndWait(L"start.exe /wait /unix " + arguments, kTimeout) == 0;
}

// The configured folder as the host sees it, in the test prefix; quoted for a command line.
std::wstring HostPathOfConfiguredFolder() {
    const char* prefix = std::getenv("WINEPREFIX");
    std::wstring path = prefix ? std::wstring(prefix, prefix + std::strlen(prefix)) : std::wstring();
    return L"\"" + path + L"/drive_c/Program Files/NVX Systems\"";
}

class SilentInstallFolder : public testing::Test {
protected:
    void SetUp() override {
        // Both folders belong to the test products in the test prefix; a run must start
        // without either.
        RemoveFolders();
        ASSERT_FALSE(FileExists(kConfiguredFolder));
        ManifestInfo manifest = BaseManifest();
        manifest.version_check_url = served_.ServeText(VersionXml(), L"version.xml");
        manifest.main_component_url = served_.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
        product_code_ = manifest.product_code;
        folder_.WriteManifest(manifest);
        ASSERT_TRUE(::CopyFileW(InstallerExePath().c_str(), folder_.module_path().c_str(), FALSE));
    }
    void TearDown() override {
        // The product goes first (the clean machine), then what is left of its folders.
        machine_.reset();
        RemoveFolders();
    }

    static void RemoveFolders() {
        // A link to nowhere cannot be seen from Windows, so the host removes it.
        RunHostProgram(L"/bin/rm -f " + HostPathOfConfiguredFolder());
        RemoveTree(kConfiguredFolder);
        RemoveTree(kPackageDefaultFolder);
    }

    std::unique_ptr<CCleanMachine> machine_ = std::make_unique<CCleanMachine>();
    CServedFolder served_;
    CInstallerFolder folder_;
    std::wstring product_code_;
};

TEST_F(SilentInstallFolder, MissingFolderIsMadeAndTheProductAndItsSettingsAreThere) {
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n /s", folder_.module_path()));
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    EXPECT_EQ(InstalledVersion(product_code_), L"17.0.0.100");

    const std::wstring program = std::wstring(kConfiguredFolder) + L"\\Lumetra.exe";
    EXPECT_TRUE(FileExists(program)) << "the product is not in the configured folder";
    EXPECT_FALSE(FileExists(std::wstring(kPackageDefaultFolder) + L"\\Lumetra.exe"))
        << "the package was given no folder and used its own";
    RegistryKey key(HKEY_LOCAL_MACHINE, kProductKey);
    EXPECT_EQ(key.ReadString(L"exe").value_or(L""), program);
    EXPECT_EQ(key.ReadString(L"InstallDir").value_or(L""), std::wstring(kConfiguredFolder) + L"\\");
}

TEST_F(SilentInstallFolder, FolderThatCannotBeMadeIsToldAndTheRunFails) {
    // A link to nowhere where the folder should be: the folder can neither be found nor made.
    ASSERT_TRUE(RunHostProgram(L"/bin/ln -s /nvx-nowhere " + HostPathOfConfiguredFolder()));
    ASSERT_FALSE(FileExists(kConfiguredFolder));
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n /s", folder_.module_path()));
    HWND box = installer.WaitForMessageBox(kTimeout, L"The specified path");
    ASSERT_TRUE(box) << "no message about the folder";
    EXPECT_NE(
        ChildTexts(box).find(L"The specified path " + std::wstring(kConfiguredFolder) + L" is unavailable."),
        std::wstring::npos)
        << testing::PrintToString(ChildTexts(box));
    EXPECT_EQ(WindowText(box), L"Lumetra");
    PressButton(FindChildByText(box, L"OK"));
    DWORD exit_code = 0;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 1603u);
    EXPECT_EQ(InstalledVersion(product_code_), L"") << "the product was installed anyway";
}

// A quiet run shows no box: the same message goes to the log, and the run ends by itself.
TEST_F(SilentInstallFolder, QuietRunLogsTheRefusalAndEndsByItself) {
    ASSERT_TRUE(RunHostProgram(L"/bin/ln -s /nvx-nowhere " + HostPathOfConfiguredFolder()));
    const std::wstring log_path = folder_.scratch() + L"\\run.log";
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n /quiet /log " + log_path, folder_.module_path()));
    DWORD exit_code = 0;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code)) << "the run waited";
    EXPECT_EQ(exit_code, 1603u);
    std::ifstream file(std::filesystem::path(log_path), std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("[prompt] \"Lumetra\": "), std::string::npos) << log;
    EXPECT_NE(log.find("The specified path C:\\Program Files\\NVX Systems is unavailable."),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("[prompt] answer OK"), std::string::npos);
    EXPECT_EQ(InstalledVersion(product_code_), L"") << "the product was installed anyway";
}

} // namespace
