// The validator on a machine where the product is installed: the server's update decides,
// and an up-to-date copy is offered for starting through the desktop shell.
#include "tests/support/ScratchRegistry.h"
#include "tests/net/NetServers.h"
#include "tests/selfupdate/SelfUpdateFixture.h"
#include "tests/support/ProcessRun.h"

#include <gtest/gtest.h>

#include <memory>

using namespace nvxtest;
using namespace selfupdatetest;

namespace {

constexpr DWORD kTimeout = 30000;

class InstalledCopy : public testing::Test {
protected:
    static void SetUpTestSuite() {
        install_result_ = RunMsiexec(L"/i \"" + BuildTreePackagePath(NVX_SELFUPDATE_TEST_MSI) + L"\" /qn");
    }
    static void TearDownTestSuite() { RunMsiexec(std::wstring(L"/x ") + kInstalledProductCode + L" /qn"); }

    void SetUp() override { ASSERT_EQ(install_result_, 0u) << "msiexec could not install the test package"; }

    // The installed copy is 17.0.0.100; an update of that version is no update.
    ManifestSpec Manifest(const Release& patch, const Release& fresh = Release{}) {
        return {.version_check_url = Publish(L"version.xml", VersionXml(fresh, patch)),
                .product_code = kInstalledProductCode};
    }

    // Starts the installer against a server whose update is the installed version; the
    // installed copy's executable is a start recorder.
    void StartUpToDate(CInstallerProcess& installer) {
        EXPECT_TRUE(CopyStartRecorder(program_));
        EXPECT_TRUE(product_key_.SetString(L"", L"exe", program_));
        Release patch;
        patch.product_version = L"17.0.0.100";
        copy_ = std::make_unique<CInstallerCopy>(Manifest(patch));
        EXPECT_TRUE(installer.Start(L"", copy_->ExePath()));
    }

    static inline DWORD install_result_ = 0;
    ScratchRegistryTree product_key_{HKEY_LOCAL_MACHINE, kProductKey};
    ScratchFolder programs_{"nvx-installed"};
    const std::wstring program_ = programs_.wpath() + L"\\Lumetra.exe";
    std::unique_ptr<CInstallerCopy> copy_;
};

TEST_F(InstalledCopy, AlreadyInstalledAnsweredNoEndsWithoutStartingAnything) {
    CInstallerProcess installer;
    StartUpToDate(installer);
    CWindowEventLog log(installer.ProcessId());
    HWND box = WaitForShownMessageBox(installer, kTimeout);
    ASSERT_TRUE(box);
    EXPECT_NE(ChildTexts(box).find(L"Lumetra is already installed. Would you like to launch it?"),
              std::wstring::npos)
        << testing::PrintToString(ChildTexts(box));
    EXPECT_EQ(WindowText(box), kShortName);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), FindValidator(installer));
    ASSERT_TRUE(Answer(box, L"No"));
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    EXPECT_FALSE(log.FirstShown(kFullName)) << "the wizard opened";
    // Whatever the installer started would have been started before it ended.
    EXPECT_FALSE(ReadStartRecord(program_));
}

TEST_F(InstalledCopy, AlreadyInstalledAnsweredYesStartsTheCopyThroughTheDesktopShell) {
    CInstallerProcess installer;
    StartUpToDate(installer);
    HWND box = WaitForShownMessageBox(installer, kTimeout);
    ASSERT_TRUE(box);
    ASSERT_TRUE(Answer(box, L"Yes"));
    ASSERT_TRUE(installer.WaitForExit(kTimeout));
    auto record = WaitForStartRecord(program_, kTimeout);
    ASSERT_TRUE(record) << "the installed copy was not started";
    EXPECT_EQ((*record)[L"argc"], L"0");
    // Started by the desktop's shell, not by the (elevated) installer.
    EXPECT_EQ((*record)[L"parent"], L"explorer.exe");
}

TEST_F(InstalledCopy, TooOldUsesTheUpdatesDownload) {
    const struct {
        const char* name;
        bool update_has_url;
    } cases[] = {{"update names a newer installer: it is fetched and started", true},
                 {"only the fresh install names one: the wizard opens", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CNewUpdaterFolders updater_folders;
        std::wstring newer =
            Publish(L"webinstaller.exe", SignedFixtureBytes(L"start_recorder-publisher.exe"));
        Release patch;
        patch.min_web_installer_version = L"1.0.0.6";
        Release fresh = patch;
        (c.update_has_url ? patch : fresh).download_url = newer;
        CInstallerCopy copy(Manifest(patch, fresh));
        CInstallerProcess installer;
        ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
        if (c.update_has_url) {
            ASSERT_TRUE(installer.WaitForExit(kTimeout));
            std::vector<std::wstring> folders = updater_folders.Now();
            ASSERT_EQ(folders.size(), 1u);
            auto record = WaitForStartRecord(folders[0] + L"\\Lumetra Professional.exe", kTimeout);
            ASSERT_TRUE(record);
            EXPECT_EQ((*record)[L"args"], L"/n");
        } else {
            HWND wizard = WaitForWizard(installer, kTimeout);
            ASSERT_TRUE(wizard);
            ASSERT_TRUE(CloseWizardConfirming(installer, wizard, kTimeout));
            ASSERT_TRUE(installer.WaitForExit(kTimeout));
            EXPECT_TRUE(updater_folders.Now().empty());
        }
    }
}

} // namespace
