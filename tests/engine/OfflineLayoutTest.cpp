// "/layout FOLDER" through the real installer: every file of every language lands where a
// standalone package keeps it, with the installer, its language files and a standalone
// manifest; nothing is installed. The layout then installs the product with no server to ask.
// A layout that cannot be completed ends with 1603 and leaves no half-written file under a
// finished file's name.
#include "app/SingleInstance.h"
#include "config/InstallConfig.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/engine/WizardFixture.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace enginetest;
using namespace nvxtest;

namespace {

constexpr DWORD kTimeout = 180000;
constexpr wchar_t kFixtureExe[] = L"engine_fixture_installer.exe";

// Every file below a folder, as paths relative to it.
std::vector<std::wstring> FilesBelow(const std::wstring& folder) {
    std::vector<std::wstring> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (entry.is_regular_file())
            files.push_back(std::filesystem::relative(entry.path(), folder).wstring());
    std::sort(files.begin(), files.end());
    return files;
}

class OfflineLayout : public testing::Test {
protected:
    void SetUp() override {
        served_ = std::make_unique<CServedFolder>();
        manifest_ = BaseManifest();
        manifest_.version_check_url = served_->ServeText(VersionXml(L"17.0.0.100"), L"version.xml");
        manifest_.main_component_url = served_->Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
        manifest_.transforms = {{1031, L"de.mst", served_->Serve(L"1031.mst", L"de.mst")}};
        manifest_.language_packs = {{1031, L"LUMPRO17DE", L"language_pack_1031.exe",
                                     served_->Serve(kFixtureExe, L"language_pack_1031.exe")}};
        manifest_.dependencies = {
            {L"vc_redist.exe", served_->Serve(kFixtureExe, L"vc_redist.exe"), L"/install /quiet /norestart"}};
        // A language file of the installer's own, which the layout must carry along.
        std::filesystem::create_directories(
            std::filesystem::path(folder_.module_folder() + L"\\language\\1031"));
        std::ofstream(std::filesystem::path(folder_.module_folder() + L"\\language\\1031\\strings.ini"))
            << "[Strings]\n";
        ASSERT_TRUE(::CopyFileW(InstallerExePath().c_str(), folder_.module_path().c_str(), FALSE));
        layout_ = folder_.scratch() + L"\\layout";
    }

    DWORD RunInstaller(const std::wstring& arguments, const std::wstring& exe) {
        CInstallerProcess installer;
        EXPECT_TRUE(installer.Start(arguments, exe));
        DWORD exit_code = 0xFFFFFFFF;
        EXPECT_TRUE(installer.WaitForExit(kTimeout, &exit_code)) << "the installer did not end by itself";
        return exit_code;
    }

    CCleanMachine machine_;
    CFixtureLog log_;
    std::unique_ptr<CServedFolder> served_;
    CInstallerFolder folder_;
    ManifestInfo manifest_;
    std::wstring layout_;
};

TEST_F(OfflineLayout, HoldsEveryFileAndInstallsOfflineFromIt) {
    folder_.WriteManifest(manifest_);
    EXPECT_EQ(RunInstaller(L"/s /layout \"" + layout_ + L"\"", folder_.module_path()), 0u);

    EXPECT_EQ(FilesBelow(layout_),
              (std::vector<std::wstring>{L"component\\language_pack_1031.exe", L"component\\vc_redist.exe",
                                         L"config\\manifestPro.xml", L"language\\1031\\strings.ini",
                                         L"msi\\LumetraEngineTest.msi", L"transform\\1031.mst",
                                         L"webinstaller.exe"}));
    ManifestInfo written;
    ASSERT_TRUE(ParseManifest(layout_ + L"\\config\\manifestPro.xml", written));
    ManifestInfo expected = manifest_;
    expected.standalone = true;
    expected.standalone_version = L"17.0.0.100"; // from version.xml's update section
    EXPECT_TRUE(written == expected);
    // A layout installs nothing and runs nothing.
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"");
    EXPECT_TRUE(log_.Lines().empty());

    // No server any more: the layout installs on its own.
    served_.reset();
    EXPECT_EQ(RunInstaller(L"/s", layout_ + L"\\webinstaller.exe"), 0u);
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"17.0.0.100");
    const std::wstring vc = log_.CommandLineOf(L"vc_redist.exe");
    EXPECT_TRUE(vc.starts_with(L"\"" + layout_ + L"\\component\\vc_redist.exe\""))
        << testing::PrintToString(vc);
}

TEST_F(OfflineLayout, WithAWindowTheProgressPageShowsTheDownloadsAndCloses) {
    folder_.WriteManifest(manifest_);
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n /layout \"" + layout_ + L"\"", folder_.module_path()));
    HWND guide = installer.WaitForShownWindow(kInstallerWindowClass, kTimeout);
    ASSERT_TRUE(guide) << "no wizard window";
    // The progress page, not the settings page: nothing to choose for a layout.
    EXPECT_TRUE(WaitForShownControl(guide, kStatusLabel, kTimeout)) << "no progress page";
    EXPECT_FALSE(FindShownControl(guide, kInstallButton)) << "the settings page is shown";
    DWORD exit_code = 0xFFFFFFFF;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code)) << "the wizard did not close after the layout";
    EXPECT_EQ(exit_code, 0u);
    EXPECT_TRUE(FileExists(layout_ + L"\\config\\manifestPro.xml"));
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"");
}

TEST_F(OfflineLayout, AFileThatCannotBeFetchedFailsTheLayoutAndLeavesNothingHalfWritten) {
    manifest_.transforms.front().full_url = served_->Url(L"missing.mst");
    folder_.WriteManifest(manifest_);
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/s /layout \"" + layout_ + L"\"", folder_.module_path()));
    // A silent run still tells that a file could not be fetched.
    EXPECT_EQ(installer.AnswerBoxAndWaitForExit(kTimeout, L"download server"), 1603u);
    for (const std::wstring& file : FilesBelow(layout_)) {
        EXPECT_FALSE(file.ends_with(L".partial")) << testing::PrintToString(file);
        EXPECT_NE(file, L"transform\\1031.mst");
        EXPECT_NE(file, L"config\\manifestPro.xml") << "an incomplete layout looks like a standalone package";
    }
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"");
}

TEST_F(OfflineLayout, WithoutAUsableFolderNothingIsDoneAndNothingInstalled) {
    folder_.WriteManifest(manifest_);
    EXPECT_EQ(RunInstaller(L"/n /s /layout", folder_.module_path()), 1603u);
    EXPECT_EQ(RunInstaller(L"/n /s /layout \\\\server\\share", folder_.module_path()), 1603u);
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"");
    EXPECT_TRUE(log_.Lines().empty());
}

} // namespace
