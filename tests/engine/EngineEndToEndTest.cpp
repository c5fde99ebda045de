// The whole installation under Wine, without the wizard: real downloads from the loopback
// servers, the real Windows Installer of the prefix, the fixture installers, the registry.
#include "config/RegistryKey.h"
#include "engine/Prerequisites.h"
#include "engine/ProductSettings.h"
#include "tests/engine/EngineDriver.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/net/NetServers.h"
#include "tests/support/ProcessRun.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>

using namespace enginetest;

namespace {

constexpr wchar_t kFixtureExe[] = L"engine_fixture_installer.exe";

std::vector<std::wstring> StepNames(const CInstallEngine& engine) {
    std::vector<std::wstring> names;
    for (const InstallStep& step : engine.steps())
        names.push_back(step.name);
    return names;
}

// A standalone installer folder: the package (unless left out) lies next to the installer.
ManifestInfo StandaloneManifest(const CInstallerFolder& folder, const std::wstring& package,
                                bool present = true) {
    ManifestInfo manifest = BaseManifest();
    manifest.standalone = true;
    manifest.main_component_name = package;
    if (present) {
        EXPECT_TRUE(CopyFixture(package, folder.module_folder() + L"\\msi\\" + package));
    }
    return manifest;
}

// A vc_redist.exe stand-in in the standalone folder's components, run with `arguments`.
void AddPrerequisite(const CInstallerFolder& folder, ManifestInfo& manifest, const std::wstring& arguments) {
    manifest.dependencies = {{L"vc_redist.exe", L"", arguments}};
    EXPECT_TRUE(CopyFixture(kFixtureExe, folder.module_folder() + L"\\component\\vc_redist.exe"));
}

// An installer that checks the served version file and downloads its package from `main_url`.
ManifestInfo DownloadingManifest(CServedFolder& served, const std::wstring& main_url) {
    ManifestInfo manifest = BaseManifest();
    manifest.version_check_url = served.ServeText(VersionXml(), L"version.xml");
    manifest.main_component_url = main_url;
    return manifest;
}

std::wstring ProductFolderFile(const wchar_t* name) {
    return ChosenInstallFolder() + L"\\" + name;
}

} // namespace

TEST(EngineEndToEnd, FirstInstallationInGermanChosenFromSeveralLanguages) {
    CCleanMachine machine;
    CFixtureLog log;
    CServedFolder served;
    CInstallerFolder installer(L"Some Name");
    // Planted where an unquoted component path would find it first.
    ASSERT_TRUE(CopyFixture(kFixtureExe, installer.scratch() + L"\\Some.exe"));

    ManifestInfo manifest = BaseManifest();
    manifest.version_check_url = served.ServeText(VersionXml(), L"version.xml");
    manifest.main_component_url = served.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
    manifest.transforms = {{1036, L"fr.mst", served.Serve(L"1031.mst", L"fr.mst")},
                           {1031, L"de.mst", served.Serve(L"1031.mst", L"de.mst")}};
    manifest.language_packs = {{1036, L"LUMPRO17FR", L"language_pack_1036.exe",
                                served.Serve(kFixtureExe, L"language_pack_1036.exe")},
                               {1031, L"LUMPRO17DE", L"language_pack_1031.exe",
                                served.Serve(kFixtureExe, L"language_pack_1031.exe")}};
    manifest.dependencies = {
        {L"vc_redist.exe", served.Serve(kFixtureExe, L"vc_redist.exe"), L"/install /quiet /norestart"},
        {L"webview2.exe", served.Serve(kFixtureExe, L"webview2.exe"), L"/silent /install"},
        {L"bonjour.msi", served.Serve(L"bonjour.msi", L"bonjour.msi"), L"/qn"}};
    installer.WriteManifest(manifest);

    CEngineDriver driver(installer.module_path());
    ASSERT_EQ(driver.config.languages.size(), 3u);
    ASSERT_EQ(driver.app.product_installed, 0);
    driver.Choose(1031, ChosenInstallFolder(), 2);
    EXPECT_EQ(driver.Run(), InstallState::Finished);
    CInstallEngine& engine = driver.engine();

    EXPECT_EQ(StepNames(engine),
              (std::vector<std::wstring>{L"vc_redist.exe", L"webview2.exe", L"bonjour.msi",
                                         L"LumetraEngineTest.msi", L"de.mst", L"language_pack_1031.exe"}));
    EXPECT_EQ(engine.install_index(), 6);
    EXPECT_EQ(engine.main_package_result(), 0u);
    EXPECT_TRUE(driver.BoxTexts().empty()) << testing::PrintToString(driver.BoxTexts());

    // The product is in the chosen folder and registered with its version.
    EXPECT_TRUE(FileExists(ProductFolderFile(L"Lumetra.exe")));
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"17.0.0.100");
    // The package got INSTALLDIR, TRANSFORMS and SHELL_INTEGRATION_LEVEL (its property dump).
    EXPECT_TRUE(driver.SawDebugLine(L"Property(S): INSTALLDIR = " + ChosenInstallFolder() + L"\\"));
    EXPECT_TRUE(
        driver.SawDebugLine(L"Property(S): TRANSFORMS = " + driver.config.transform_folder + L"1031.mst"));
    EXPECT_TRUE(driver.SawDebugLine(L"Property(S): SHELL_INTEGRATION_LEVEL = None"));

    // The prerequisites and the pack ran, with their arguments; the planted program never did.
    std::wstring vc = log.CommandLineOf(L"vc_redist.exe");
    EXPECT_TRUE(vc.starts_with(L"\"" + driver.config.component_folder)) << testing::PrintToString(vc);
    EXPECT_TRUE(vc.ends_with(L"vc_redist.exe\" /install /quiet /norestart")) << testing::PrintToString(vc);
    EXPECT_TRUE(log.CommandLineOf(L"webview2.exe").ends_with(L"\" /silent /install"));
    EXPECT_TRUE(log.CommandLineOf(L"language_pack_1031.exe").ends_with(L"language_pack_1031.exe\" /s"));
    EXPECT_EQ(log.CommandLineOf(L"language_pack_1036.exe"), L"");
    EXPECT_EQ(log.CommandLineOf(L"Some.exe"), L"");
    EXPECT_TRUE(IsPrerequisiteInstalled(L"vc_redist.exe"));
    EXPECT_TRUE(IsPrerequisiteInstalled(L"webview2.exe"));
    EXPECT_TRUE(IsPrerequisiteInstalled(L"bonjour.msi"));
    EXPECT_TRUE(machine.product_key().KeyExists(L"LanguagePacks\\1031"));

    // The five settings of a first installation in German.
    RegistryKey product(HKEY_LOCAL_MACHINE, kProductKey);
    EXPECT_EQ(product.ReadString(L"InstallDir"), ChosenInstallFolder() + L"\\");
    EXPECT_EQ(product.ReadString(L"exe"), ProductFolderFile(L"Lumetra.exe"));
    EXPECT_EQ(RegistryKey(HKEY_LOCAL_MACHINE, std::wstring(kProductKey) + L"\\LanguagePacks")
                  .ReadDword(L"InitialLangID"),
              1031u);
    EXPECT_EQ(RegistryKey(HKEY_CURRENT_USER, kProductKey).ReadDword(L"ApplicationLanguage"), 1031u);
    EXPECT_EQ(RegistryKey(HKEY_CURRENT_USER, kResourceLanguageKey)
                  .ReadString((ChosenInstallFolder() + L"\\nvxLinkAgent2.exe").c_str()),
              L"1031");

    // The home page from the package's property dump, published for the finish page.
    EXPECT_EQ(engine.captured_homepage_url(), kHomepage);
    EXPECT_EQ(driver.config.install_homepage_url, kHomepage);
    EXPECT_FLOAT_EQ(driver.percents().back(), 100.0f);
}

TEST(EngineEndToEnd, UpdateOfTheInstalledProductReinstallsWithItsLanguagePacks) {
    CCleanMachine machine;
    CFixtureLog log;
    CServedFolder served;
    CInstallerFolder installer;
    ASSERT_EQ(nvxtest::RunMsiexec(L"/i \"" + FixturePath(L"LumetraEngineTest.msi") + L"\" /qn"), 0u);
    ASSERT_TRUE(machine.product_key().CreateKey(L"LanguagePacks\\1036"));
    ASSERT_TRUE(machine.product_key().CreateKey(L"LanguagePacks\\1031"));

    ManifestInfo manifest = BaseManifest();
    manifest.version_check_url = served.ServeText(VersionXml(L"17.0.0.101"), L"version.xml");
    manifest.main_component_url = served.Serve(L"LumetraEngineTest-update.msi", L"LumetraEngineTest.msi");
    manifest.language_packs = {{1031, L"LUMPRO17DE", L"language_pack_1031.exe",
                                served.Serve(kFixtureExe, L"language_pack_1031.exe")},
                               {1036, L"LUMPRO17FR", L"language_pack_1036.exe",
                                served.Serve(kFixtureExe, L"language_pack_1036.exe")}};
    installer.WriteManifest(manifest);

    CEngineDriver driver(installer.module_path());
    ASSERT_EQ(driver.app.product_installed, 1);
    ASSERT_EQ(driver.config.installed_version, L"17.0.0.100");
    std::vector<int32_t> registry_order = driver.config.GetInstalledLanguagePacks();
    ASSERT_EQ(registry_order.size(), 2u);
    // Whatever language is chosen, the packs are the registry's.
    driver.Choose(1033, ChosenInstallFolder(), 0);
    EXPECT_EQ(driver.Run(), InstallState::Finished);

    std::vector<std::wstring> expected_steps = {L"LumetraEngineTest.msi"};
    for (int32_t id : registry_order)
        expected_steps.push_back(L"language_pack_" + std::to_wstring(id) + L".exe");
    EXPECT_EQ(StepNames(driver.engine()), expected_steps);
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"17.0.0.101");
    EXPECT_TRUE(driver.SawDebugLine(L"Property(S): REINSTALL = ALL"));
    EXPECT_TRUE(driver.SawDebugLine(L"Property(S): REINSTALLMODE = vomus"));
    EXPECT_TRUE(driver.SawDebugLine(L"Property(S): REBOOT = ReallySuppress"));
    EXPECT_TRUE(log.CommandLineOf(L"language_pack_1031.exe").ends_with(L"\" /s"));
    EXPECT_TRUE(log.CommandLineOf(L"language_pack_1036.exe").ends_with(L"\" /s"));
    // An update writes no settings.
    RegistryKey product(HKEY_LOCAL_MACHINE, kProductKey);
    EXPECT_EQ(product.ReadString(L"InstallDir"), std::nullopt);
    EXPECT_EQ(product.ReadString(L"exe"), std::nullopt);
    EXPECT_FALSE(ScratchRegistryTree(HKEY_CURRENT_USER, kResourceLanguageKey).KeyExists(L""));
    EXPECT_EQ(driver.engine().captured_homepage_url(), kHomepage);
}

TEST(EngineEndToEnd, StandalonePackageOutcomes) {
    struct Case {
        const char* name;
        const wchar_t* package; // empty: the package is missing
        InstallState end;
        uint32_t result;
        const wchar_t* box; // text of the one box expected, or null
        const wchar_t* debug_line;
    };
    const Case cases[] = {
        {"a package asking for a restart (3010) succeeded", L"EngineReboot.msi", InstallState::Finished, 3010,
         nullptr, L"ZUPEL_DEBUG: MSI Installation failed. Error Code: 3010"},
        {"a failing package shows its error and fails", L"EngineFailing.msi", InstallState::Failed, 1603,
         L"The engine test package failed on purpose.",
         L"ZUPEL_DEBUG: MSI Installation failed. Error Code: 1603"},
        {"a missing main package fails instead of passing for installed", L"", InstallState::Failed,
         CInstallEngine::kNoPackageResult, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCleanMachine machine;
        CFixtureLog log;
        CInstallerFolder installer;
        bool present = c.package[0] != L'\0';
        ManifestInfo manifest =
            StandaloneManifest(installer, present ? c.package : L"LumetraEngineTest.msi", present);
        AddPrerequisite(installer, manifest, L"/quiet");
        installer.WriteManifest(manifest);

        CEngineDriver driver(installer.module_path());
        driver.Choose(1033, ChosenInstallFolder(), 0);
        EXPECT_EQ(driver.Run(), c.end);
        EXPECT_EQ(driver.engine().main_package_result(), c.result);
        std::vector<std::wstring> boxes = driver.BoxTexts();
        if (c.box) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_NE(boxes[0].find(c.box), std::wstring::npos) << testing::PrintToString(boxes[0]);
        } else {
            EXPECT_TRUE(boxes.empty()) << testing::PrintToString(boxes);
        }
        if (c.debug_line) {
            EXPECT_TRUE(driver.SawDebugLine(c.debug_line));
        }
        // Standalone: nothing downloaded, the whole bar belongs to the installation.
        EXPECT_TRUE(driver.progress.download_weights.empty());
        EXPECT_EQ(driver.progress.install_weights, (std::vector<uint32_t>{44, 56}));
        EXPECT_TRUE(IsPrerequisiteInstalled(L"vc_redist.exe")); // ran before the package
        // Settings only after success.
        EXPECT_EQ(RegistryKey(HKEY_LOCAL_MACHINE, kProductKey).ReadString(L"exe").has_value(),
                  c.end == InstallState::Finished);
    }
}

TEST(EngineEndToEnd, TheServersReleaseDataCanRefuseTheInstallation) {
    struct Case {
        const char* name;
        bool installed;
        std::string version_xml;
        const wchar_t* box;
    };
    const Case cases[] = {
        {"the server offers the installed version", true, VersionXml(L"17.0.0.100"),
         L"Lumetra is already installed. Would you like to launch it?"},
        {"this installer is older than the server asks for", false, VersionXml(L"17.0.0.101", L"1.0.0.6"),
         L"The version of your client is too old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCleanMachine machine;
        CServedFolder served;
        CInstallerFolder installer;
        if (c.installed) {
            ASSERT_EQ(nvxtest::RunMsiexec(L"/i \"" + FixturePath(L"LumetraEngineTest.msi") + L"\" /qn"), 0u);
        }
        ManifestInfo manifest = BaseManifest();
        manifest.version_check_url = served.ServeText(c.version_xml, L"version.xml");
        manifest.main_component_url = served.Serve(L"LumetraEngineTest-update.msi", L"LumetraEngineTest.msi");
        installer.WriteManifest(manifest);

        CEngineDriver driver(installer.module_path());
        driver.Choose(1033, ChosenInstallFolder(), 0);
        nvx::UniqueWindow wizard(
            ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr));
        driver.prompt_owner = wizard.get();
        EXPECT_EQ(driver.Run(), InstallState::Failed);
        std::vector<nvx::PromptRequest> boxes = driver.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find(c.box), std::wstring::npos) << testing::PrintToString(boxes[0].text);
        EXPECT_EQ(boxes[0].owner, wizard.get()) << "the version messages belong to the wizard";
        EXPECT_EQ(boxes[0].caption, L"Windows Installer");
        EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONERROR));
        EXPECT_FALSE(driver.engine().download_failed());
        // Nothing was downloaded or installed.
        EXPECT_EQ(driver.engine().main_package_result(), CInstallEngine::kNoPackageResult);
        EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), c.installed ? L"17.0.0.100" : L"");
    }
}

TEST(EngineEndToEnd, ADownloadServerProblemFailsWithTheConnectionMessage) {
    // A prompt that throws stands for any fault in the sequence: the connection message is
    // shown by the sequence itself, so the exception meets the worker's entry.
    for (const bool prompt_throws : {false, true}) {
        SCOPED_TRACE(prompt_throws ? "the prompt throws" : "the user dismisses the message");
        CCleanMachine machine;
        CServedFolder served;
        CInstallerFolder installer;
        installer.WriteManifest(
            DownloadingManifest(served, nettest::ServerUrl(L"fault", L"/status/404?len=10")));

        CEngineDriver driver(installer.module_path());
        driver.Choose(1033, ChosenInstallFolder(), 0);
        nvx::UniqueWindow wizard(
            ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr));
        driver.prompt_owner = wizard.get();
        std::optional<CPromptRecorder> throwing;
        if (prompt_throws)
            throwing.emplace(
                [](const nvx::PromptRequest&) -> int { throw std::runtime_error("prompt lost"); });
        EXPECT_EQ(driver.Run(), InstallState::Failed);
        std::vector<nvx::PromptRequest> boxes = throwing ? throwing->Requests() : driver.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find(L"Unable to contact the download server."), std::wstring::npos);
        // The wizard may be gone from the screen when this box comes: it has no owner.
        EXPECT_EQ(boxes[0].owner, nullptr);
        EXPECT_EQ(boxes[0].caption, L"Lumetra");
        EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONERROR));
        EXPECT_TRUE(driver.engine().download_failed());
        EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"");
        EXPECT_EQ(driver.SawDebugLine(L"Exception caught in CInstallEngine::RunInstallSequence: prompt lost"),
                  prompt_throws);
    }
}

TEST(EngineEndToEnd, CancelBeforeTheStartEndsCancelledWithoutARequest) {
    CCleanMachine machine;
    CInstallerFolder installer;
    std::wstring tag = nettest::NewTag();
    ManifestInfo manifest = BaseManifest();
    manifest.version_check_url = nettest::ServerUrl(L"fault", L"/status/200?len=10&tag=" + tag);
    installer.WriteManifest(manifest);

    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    driver.engine().RequestCancel();
    EXPECT_EQ(driver.progress.State(), InstallState::Cancelling);
    EXPECT_EQ(driver.Run(), InstallState::Cancelled);
    EXPECT_EQ(nettest::RecordedRequests(tag), "");
    EXPECT_TRUE(driver.BoxTexts().empty());
}

TEST(EngineEndToEnd, CancelDuringADownloadShowsNoConnectionMessage) {
    CCleanMachine machine;
    CServedFolder served;
    CInstallerFolder installer;
    // Sent slowly: about 80 KiB a second for 4 MB.
    installer.WriteManifest(
        DownloadingManifest(served, nettest::ServerUrl(L"fault", L"/drip?len=4000000&chunk=4096&delay=50")));

    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    driver.Start();
    ASSERT_TRUE(driver.WaitFor([&] {
        return driver.progress.State() == InstallState::Downloading && driver.progress.step_percent > 0;
    }));
    driver.engine().RequestCancel();
    EXPECT_EQ(driver.WaitForEnd(), InstallState::Cancelled);
    EXPECT_TRUE(driver.BoxTexts().empty()) << testing::PrintToString(driver.BoxTexts());
}

TEST(EngineEndToEnd, CancelDuringThePackageMakesTheInstallerGiveUp) {
    CCleanMachine machine;
    CHoldPoint hold;
    CInstallerFolder installer;
    installer.WriteManifest(StandaloneManifest(installer, L"EngineHolding.msi"));

    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    driver.Start();
    ASSERT_TRUE(hold.WaitUntilHolding());
    // The package's progress records reach the record as its step's percent (the package's
    // action reported half of a fresh range): standalone, that is the whole bar.
    EXPECT_EQ(driver.progress.State(), InstallState::Installing);
    EXPECT_EQ(driver.progress.step_index, 0);
    EXPECT_GE(driver.progress.step_percent, 50);
    EXPECT_GE(OverallPercent(driver.progress), 50.0f);
    driver.engine().RequestCancel();
    hold.Release();
    EXPECT_EQ(driver.WaitForEnd(), InstallState::Cancelled);
    // The next progress message was answered IDCANCEL and the installer stopped: 1602.
    EXPECT_EQ(driver.engine().main_package_result(), 1602u);
    EXPECT_EQ(InstalledVersion(L"{51B8D96D-E2D0-4014-92C2-BAD16969773B}"), L"");
    EXPECT_TRUE(driver.BoxTexts().empty());
}

TEST(EngineEndToEnd, CancelDuringAnExternalInstallerLetsItFinishThenStops) {
    CCleanMachine machine;
    CFixtureLog log;
    CHoldPoint hold;
    CInstallerFolder installer;
    ManifestInfo manifest = StandaloneManifest(installer, L"LumetraEngineTest.msi");
    AddPrerequisite(installer, manifest, L"/install /hold");
    installer.WriteManifest(manifest);

    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    driver.Start();
    ASSERT_TRUE(hold.WaitUntilHolding());
    driver.engine().RequestCancel();
    EXPECT_EQ(driver.progress.State(), InstallState::Cancelling);
    hold.Release();
    EXPECT_EQ(driver.WaitForEnd(), InstallState::Cancelled);
    EXPECT_TRUE(IsPrerequisiteInstalled(L"vc_redist.exe"));    // it was not interrupted
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L""); // the package never started
    EXPECT_EQ(driver.engine().main_package_result(), CInstallEngine::kNoPackageResult);
}

namespace {

DWORD ProcessHandleCount() {
    DWORD count = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &count);
    return count;
}

size_t ProcessThreadCount() {
    nvx::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    size_t count = 0;
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more;
         more = ::Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId())
            ++count;
    }
    return count;
}

void InstallStandaloneOnce(const CInstallerFolder& installer) {
    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    EXPECT_EQ(driver.Run(), InstallState::Finished);
}

} // namespace

TEST(EngineEndToEnd, NoHandleOrThreadOutlivesTheEngine) {
    CCleanMachine machine;
    CFixtureLog log;
    CInstallerFolder installer;
    ManifestInfo manifest = StandaloneManifest(installer, L"LumetraEngineTest.msi");
    AddPrerequisite(installer, manifest, L"/quiet");
    installer.WriteManifest(manifest);
    // A first run loads what the process keeps for good (Windows Installer, the registry's
    // cached keys); the second is the one counted.
    InstallStandaloneOnce(installer);
    UninstallProduct(NVX_ENGINE_PRODUCT_CODE);

    DWORD handles = ProcessHandleCount();
    size_t threads = ProcessThreadCount();
    InstallStandaloneOnce(installer);
    EXPECT_EQ(ProcessHandleCount(), handles);
    EXPECT_EQ(ProcessThreadCount(), threads);
}
