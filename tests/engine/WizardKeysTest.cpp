// Enter and Escape typed into the real installer's wizard on each of its pages: the dialog
// manager turns them into OK and Cancel, which must neither end the wizard, nor change its page,
// nor ask whether to cancel the installation.
#include "tests/engine/EngineDriver.h"
#include "tests/engine/WizardFixture.h"
#include "tests/selfupdate/SelfUpdateFixture.h"

using namespace enginetest;
using namespace nvxtest;

namespace {

using WizardKeys = WizardFixture;

// Presses Enter, then Escape, where the keyboard focus is, and checks after each that the wizard
// is still open on the page that shows `page_control`, with no question on screen.
void ExpectKeysIgnored(const CInstallerProcess& installer, HWND guide, int page_control) {
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(key == VK_RETURN ? "Enter" : "Escape");
        PostKeyPress(KeyboardFocus(guide), key);
        // The settings page's folder field lives, hidden or not, as long as the wizard.
        ASSERT_TRUE(WaitUntilPostedHandled(FindControl(guide, kFolderEdit), kWizardTimeout))
            << "the key ended the wizard";
        EXPECT_TRUE(installer.IsRunning());
        EXPECT_TRUE(::IsWindowVisible(guide));
        EXPECT_TRUE(FindShownControl(guide, page_control)) << "the key changed the page";
        EXPECT_TRUE(ShownDialogs(installer).empty()) << "the key brought up a question";
    }
}

TEST_F(WizardKeys, EnterAndEscapeLeaveEveryPageAsItIs) {
    // The package holds the installation half way until released, so the progress page stays.
    manifest_.main_component_url = served_.Serve(L"EngineHolding.msi", L"LumetraEngineTest.msi");
    folder_.WriteManifest(manifest_);
    CHoldPoint hold;
    CInstallerProcess installer;
    HWND guide = StartOnSettingsPage(installer);
    ASSERT_TRUE(guide);

    {
        SCOPED_TRACE("settings page");
        ASSERT_NO_FATAL_FAILURE(ExpectKeysIgnored(installer, guide, kInstallButton));
        // A folder typed and confirmed with Enter is not an Install.
        HWND edit = FindShownControl(guide, kFolderEdit);
        ClickControl(edit);
        ASSERT_TRUE(WaitUntil([&] { return KeyboardFocus(guide) == edit; }, kWizardTimeout));
        ASSERT_NO_FATAL_FAILURE(ExpectKeysIgnored(installer, guide, kInstallButton));
        EXPECT_FALSE(FindShownControl(guide, kStatusLabel));
    }

    InstallInto(guide, ChosenInstallFolder());
    ASSERT_TRUE(hold.WaitUntilHolding(kWizardTimeout)) << "the package was not being installed";
    {
        SCOPED_TRACE("progress page, installing");
        ASSERT_NO_FATAL_FAILURE(ExpectKeysIgnored(installer, guide, kStatusLabel));
    }
    hold.Release();

    HWND start_now = WaitForShownControl(guide, kStartNow, kWizardTimeout);
    ASSERT_TRUE(start_now) << "the installation did not finish";
    {
        SCOPED_TRACE("finish page");
        ASSERT_NO_FATAL_FAILURE(ExpectKeysIgnored(installer, guide, kStartNow));
        // Start Now would open the home page at once and close the wizard half a second later.
        EXPECT_FALSE(selfupdatetest::WaitForStartRecord(browser_, 2000)) << "a key pressed Start Now";
        EXPECT_TRUE(installer.IsRunning()) << "a key ended the wizard";
    }
    ::PostMessageW(guide, WM_CLOSE, 0, 0);
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kWizardTimeout, &exit_code));
    EXPECT_EQ(exit_code, 0u) << "the installation did not end as finished";
}

} // namespace
