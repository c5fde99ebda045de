// A product package that asks for a restart, installed through the real installer's wizard: the
// process ends with Windows Installer's "restart required" code, as a silent run would.
#include "tests/engine/WizardFixture.h"

using namespace enginetest;
using namespace nvxtest;

namespace {

using WizardRestart = WizardFixture;

TEST_F(WizardRestart, PackageAskingForARestartEndsTheWizardWith3010) {
    manifest_.main_component_url = served_.Serve(L"EngineReboot.msi", L"LumetraEngineTest.msi");
    folder_.WriteManifest(manifest_);
    CInstallerProcess installer;
    HWND guide = StartAndInstall(installer);
    ASSERT_TRUE(guide);
    ASSERT_TRUE(WaitForShownControl(guide, kStartNow, kWizardTimeout)) << "the finish page was not shown";
    EXPECT_TRUE(FileExists(InstalledProgram())) << "the product was not installed";
    ::PostMessageW(guide, WM_CLOSE, 0, 0);
    DWORD exit_code = 0;
    ASSERT_TRUE(installer.WaitForExit(kWizardTimeout, &exit_code));
    EXPECT_EQ(exit_code, 3010u);
}

} // namespace
