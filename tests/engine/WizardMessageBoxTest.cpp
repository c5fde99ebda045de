// The installation engine's message boxes in the real installer under Wine: each one provoked
// through the wizard, with the owner and the caption it must carry, and the run ending as failed.
#include "app/SingleInstance.h"
#include "tests/engine/WizardFixture.h"

#include <ostream>

using namespace enginetest;
using namespace nvxtest;

namespace {

enum class Owner { None, Wizard };

struct BoxCase {
    const char* name;
    bool installed_before;            // an earlier run installed the product
    std::string version_xml;          // what the server answers for version.xml
    const wchar_t* package;           // the served main package; null: not served at all
    const wchar_t* version_check_url; // null: the served version.xml
    const wchar_t* text;
    const wchar_t* caption;
    Owner owner;
};

void PrintTo(const BoxCase& c, std::ostream* out) {
    *out << c.name;
}

class WizardMessageBoxes : public WizardFixture, public testing::WithParamInterface<BoxCase> {};

TEST_P(WizardMessageBoxes, BoxCarriesItsOwnerAndCaption) {
    const BoxCase& c = GetParam();
    if (c.installed_before)
        InstallSilently();
    manifest_.version_check_url =
        c.version_check_url ? c.version_check_url : served_.ServeText(c.version_xml, L"version.xml");
    manifest_.main_component_url =
        c.package ? served_.Serve(c.package, L"LumetraEngineTest.msi") : served_.Url(L"not-served.msi");
    folder_.WriteManifest(manifest_);

    CInstallerProcess installer;
    HWND guide = nullptr;
    if (c.installed_before) {
        // An installed product goes straight to the progress page.
        guide = installer.Start(L"/n", folder_.module_path())
                    ? installer.WaitForShownWindow(kInstallerWindowClass, kWizardTimeout)
                    : nullptr;
    } else {
        guide = StartAndInstall(installer);
    }
    ASSERT_TRUE(guide);
    HWND box = installer.WaitForMessageBox(kWizardTimeout, c.text);
    ASSERT_TRUE(box) << "no message box saying " << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(WindowText(box), c.caption);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), c.owner == Owner::Wizard ? guide : nullptr);
    EXPECT_TRUE(::IsWindow(guide)) << "the wizard went before the box was answered";
    PressButton(FindChildByText(box, L"OK"));
    DWORD exit_code = 0;
    ASSERT_TRUE(installer.WaitForExit(kWizardTimeout, &exit_code));
    EXPECT_EQ(exit_code, 1603u);
}

const BoxCase kBoxCases[] = {
    {"VersionFileUnreachable", false, "", L"LumetraEngineTest.msi", L"http://127.0.0.1:1/version.xml",
     L"Unable to contact the download server", L"Lumetra", Owner::None},
    {"PackageNotServed", false, VersionXml(), nullptr, nullptr, L"Unable to contact the download server",
     L"Lumetra", Owner::None},
    {"AlreadyInstalled", true, VersionXml(L"17.0.0.100"), L"LumetraEngineTest-update.msi", nullptr,
     L"Lumetra is already installed. Would you like to launch it?", L"Windows Installer", Owner::Wizard},
    {"ClientTooOld", false, VersionXml(L"17.0.0.101", L"1.0.0.6"), L"LumetraEngineTest.msi", nullptr,
     L"The version of your client is too old", L"Windows Installer", Owner::Wizard},
    {"PackageReportsAnError", false, VersionXml(), L"EngineFailing.msi", nullptr,
     L"The engine test package failed on purpose.", L"Lumetra", Owner::Wizard},
};

INSTANTIATE_TEST_SUITE_P(Engine, WizardMessageBoxes, testing::ValuesIn(kBoxCases),
                         [](const testing::TestParamInfo<BoxCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
