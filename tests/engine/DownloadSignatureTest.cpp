// The product's package is used only when its signature allows it: a signature it carries must
// verify, and a package the manifest names a publisher for must be signed by that publisher.
// A refused package is told by name, deleted, and the run fails with 1603; the real installer
// runs silently against the loopback server.
//
// Wine's WinVerifyTrust does not find a changed byte in a signed .msi (it passes the package);
// the refusal of a signature that does not verify is shown here with the one Wine does refuse,
// a signer whose chain ends in a root nobody trusts.
#include "tests/engine/EngineFixtures.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

using namespace enginetest;
using namespace nvxtest;

namespace {

constexpr DWORD kTimeout = 120000;
constexpr wchar_t kConfiguredFolder[] = L"C:\\Program Files\\NVX Systems";
constexpr wchar_t kTestPublisher[] = L"NVX Systems Test Publisher";
constexpr wchar_t kRefusal[] =
    L"The downloaded file LumetraEngineTest.msi is not the one its publisher released";

struct PackageCase {
    const char* name;
    const wchar_t* fixture; // served as the product's package
    std::wstring publisher; // the manifest's
    bool installed;
};

class DownloadSignature : public testing::Test {
protected:
    void TearDown() override {
        machine_.reset();
        RemoveTree(kConfiguredFolder);
    }

    // Runs a silent first installation with the package `c.fixture` and checks how it ends.
    void RunCase(const PackageCase& c) {
        CServedFolder served;
        CInstallerFolder folder;
        ManifestInfo manifest = BaseManifest();
        manifest.version_check_url = served.ServeText(VersionXml(), L"version.xml");
        manifest.main_component_url = served.Serve(c.fixture, L"LumetraEngineTest.msi");
        manifest.publisher = c.publisher;
        folder.WriteManifest(manifest);
        ASSERT_TRUE(::CopyFileW(InstallerExePath().c_str(), folder.module_path().c_str(), FALSE));

        CInstallerProcess installer;
        ASSERT_TRUE(installer.Start(L"/n /s", folder.module_path()));
        DWORD exit_code = 0;
        if (c.installed) {
            ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
            EXPECT_EQ(exit_code, 0u);
            EXPECT_EQ(InstalledVersion(manifest.product_code), L"17.0.0.100");
            return;
        }
        HWND box = installer.WaitForMessageBox(kTimeout, L"The downloaded file");
        ASSERT_TRUE(box) << "no message names the refused package";
        EXPECT_NE(ChildTexts(box).find(kRefusal), std::wstring::npos)
            << testing::PrintToString(ChildTexts(box));
        EXPECT_EQ(WindowText(box), L"Lumetra");
        PressButton(FindChildByText(box, L"OK"));
        ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
        EXPECT_EQ(exit_code, 1603u);
        EXPECT_EQ(InstalledVersion(manifest.product_code), L"") << "the refused package was installed";
        EXPECT_FALSE(FileExists(folder.module_folder() + L"\\msi\\LumetraEngineTest.msi"))
            << "the refused package was kept";
    }

    std::unique_ptr<CCleanMachine> machine_ = std::make_unique<CCleanMachine>();
};

TEST_F(DownloadSignature, PackageIsUsedOnlyWithASignatureThatVerifiesFromTheNamedPublisher) {
    const PackageCase cases[] = {
        {"signed by the named publisher", L"LumetraEngineTest-publisher.msi", kTestPublisher, true},
        {"unsigned, no publisher named", L"LumetraEngineTest.msi", L"", true},
        {"signed by another publisher, none named", L"LumetraEngineTest-other.msi", L"", true},
        {"signed by another publisher than the named one", L"LumetraEngineTest-other.msi", kTestPublisher,
         false},
        {"unsigned, a publisher named", L"LumetraEngineTest.msi", kTestPublisher, false},
        {"a signature that does not verify, no publisher named", L"LumetraEngineTest-untrusted.msi", L"",
         false},
    };
    for (const PackageCase& c : cases) {
        SCOPED_TRACE(c.name);
        RunCase(c);
        machine_ = std::make_unique<CCleanMachine>();
        RemoveTree(kConfiguredFolder);
    }
}

} // namespace
