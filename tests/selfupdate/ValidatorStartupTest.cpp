// The validator stage of the real installer's start-up, driven from outside: what the server
// answers decides between the wizard, a message, and a newer installer started at exit.
#include "tests/net/NetServers.h"
#include "tests/selfupdate/SelfUpdateFixture.h"

#include "app/SingleInstance.h"

#include <gtest/gtest.h>

using namespace nvxtest;
using namespace selfupdatetest;

namespace {

constexpr DWORD kTimeout = 30000;
constexpr wchar_t kConnectMessage[] = L"Unable to contact the download server.";
constexpr wchar_t kNewerInstaller[] = L"Lumetra Professional.exe";

// A release that asks for a newer installer than this one (1.0.0.5).
Release TooOldFor(const std::wstring& download_url) {
    Release release;
    release.min_web_installer_version = L"1.0.0.6";
    release.download_url = download_url;
    return release;
}

// Runs the installer to the wizard, checks it is up, closes it and waits for a clean exit.
void ExpectWizardThenClose(CInstallerProcess& installer) {
    HWND wizard = WaitForWizard(installer, kTimeout);
    ASSERT_TRUE(wizard) << "the wizard did not open";
    ASSERT_TRUE(CloseWizardConfirming(installer, wizard, kTimeout));
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 1602u) << "closing the wizard cancels the installation";
}

TEST(ValidatorStartup, StandalonePackageAsksNoServerAndShowsTheValidatorForTheDelay) {
    const std::wstring tag = nettest::NewTag();
    CInstallerCopy copy({.standalone = true,
                         .version_check_url = nettest::ServerUrl(L"fault", L"/status/200?len=0&tag=" + tag)});
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
    CWindowEventLog log(installer.ProcessId());
    HWND wizard = WaitForWizard(installer, kTimeout);
    ASSERT_TRUE(wizard);
    EXPECT_EQ(nettest::RecordedRequests(tag), "");

    std::optional<CWindowEventLog::Event> shown = log.FirstShown(kValidatorTitle);
    ASSERT_TRUE(shown) << "the validator was never shown";
    std::optional<CWindowEventLog::Event> gone = log.FirstGone(shown->hwnd, shown->time_ms);
    ASSERT_TRUE(gone) << "the validator was still there when the wizard opened";
    // The validator appeared after shown->since_ms and was gone by gone->time_ms. A watcher held
    // up on a busy machine sees the showing late, which would shorten a span measured from then.
    EXPECT_GE(gone->time_ms - shown->since_ms, 198u);
    std::optional<CWindowEventLog::Event> wizard_shown = log.FirstShown(kFullName);
    ASSERT_TRUE(wizard_shown);
    EXPECT_GE(static_cast<LONG>(wizard_shown->time_ms - gone->time_ms), 0);

    ASSERT_TRUE(CloseWizardConfirming(installer, wizard, kTimeout));
    EXPECT_TRUE(installer.WaitForExit(kTimeout));
}

struct UnreadableCase {
    const char* name;
    std::wstring url;
};

TEST(ValidatorStartup, UnreadableVersionDocumentShowsTheConnectionMessageAndNoWizard) {
    // nginx's own error page: HTML that is not well-formed XML (an unclosed <hr>).
    const std::string nginx_error_page =
        "<html>\r\n<head><title>404 Not Found</title></head>\r\n<body>\r\n<center><h1>404 Not Found</h1>"
        "</center>\r\n<hr><center>nginx</center>\r\n</body>\r\n</html>\r\n";
    const UnreadableCase cases[] = {
        {"an HTML error page served as the document", Publish(L"error.html", nginx_error_page)},
        {"an empty body", nettest::ServerUrl(L"fault", L"/status/200?len=0")},
        {"a 404 (nginx)", nettest::ServerUrl(L"http", L"/selfupdate/no-such-version.xml")},
        {"a body cut short", nettest::ServerUrl(L"fault", L"/cut?len=2000&send=300")},
        {"a server that is down",
         L"http://127.0.0.1:" + std::to_wstring(nettest::ClosedPort()) + L"/version.xml"},
    };
    for (const UnreadableCase& c : cases) {
        SCOPED_TRACE(c.name);
        CInstallerCopy copy({.version_check_url = c.url});
        CInstallerProcess installer;
        ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
        CWindowEventLog log(installer.ProcessId());
        HWND box = WaitForShownMessageBox(installer, kTimeout);
        ASSERT_TRUE(box) << "no message";
        EXPECT_NE(ChildTexts(box).find(kConnectMessage), std::wstring::npos)
            << testing::PrintToString(ChildTexts(box));
        EXPECT_EQ(WindowText(box), kShortName);
        HWND validator = FindValidator(installer);
        ASSERT_TRUE(validator);
        EXPECT_EQ(::GetWindow(box, GW_OWNER), validator);
        EXPECT_FALSE(::IsWindowVisible(validator));
        ASSERT_TRUE(Answer(box, L"OK"));
        DWORD exit_code = 1;
        ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code)) << "the program went on after the message";
        EXPECT_EQ(exit_code, 1603u) << "an unreachable server ends the run as a failure";
        EXPECT_FALSE(log.FirstShown(kFullName)) << "the wizard opened";
    }
}

TEST(ValidatorStartup, WellFormedDocumentWithoutReleaseDataLetsTheWizardRun) {
    std::wstring url = Publish(L"version.xml", "<?xml version=\"1.0\"?><other><fresh_install/></other>");
    CInstallerCopy copy({.version_check_url = url});
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
    ExpectWizardThenClose(installer);
}

TEST(ValidatorStartup, TooOldWithoutDownloadUrlForAFreshInstallOpensTheWizardSilently) {
    CNewUpdaterFolders updater_folders;
    // Only the update names a newer installer; a machine without the product uses the fresh install's.
    Release fresh = TooOldFor(L"");
    Release patch = TooOldFor(Publish(L"webinstaller.exe", StartRecorderBytes()));
    CInstallerCopy copy({.version_check_url = Publish(L"version.xml", VersionXml(fresh, patch))});
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
    CWindowEventLog log(installer.ProcessId());
    HWND wizard = WaitForWizard(installer, kTimeout);
    ASSERT_TRUE(wizard) << "the wizard did not open";
    // Up to the wizard: closing it asks its own question afterwards.
    for (const CWindowEventLog::Event& e : log.Events())
        EXPECT_NE(e.class_name, L"#32770") << "a message was shown: " << testing::PrintToString(e.title);
    ASSERT_TRUE(CloseWizardConfirming(installer, wizard, kTimeout));
    ASSERT_TRUE(installer.WaitForExit(kTimeout));
    EXPECT_TRUE(updater_folders.Now().empty());
}

TEST(ValidatorStartup, TooOldWithGoodDownloadEndsAndStartsTheNewInstallerWithN) {
    CNewUpdaterFolders updater_folders;
    Release fresh =
        TooOldFor(Publish(L"webinstaller.exe", SignedFixtureBytes(L"start_recorder-publisher.exe")));
    CInstallerCopy copy({.version_check_url = Publish(L"version.xml", VersionXml(fresh, Release{}))});
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
    CWindowEventLog log(installer.ProcessId());
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    EXPECT_TRUE(log.FirstShown(kValidatorTitle));
    EXPECT_FALSE(log.FirstShown(kFullName)) << "the wizard opened";

    std::vector<std::wstring> folders = updater_folders.Now();
    ASSERT_EQ(folders.size(), 1u);
    const std::wstring program = folders[0] + L"\\" + kNewerInstaller;
    auto record = WaitForStartRecord(program, kTimeout);
    ASSERT_TRUE(record) << "the newer installer was not started: " << testing::PrintToString(program);
    EXPECT_EQ((*record)[L"args"], L"/n");
    EXPECT_EQ((*record)[L"argc"], L"1");
    EXPECT_EQ((*record)[L"arg1"], L"/n");
}

TEST(ValidatorStartup, FailedUpdaterDownloadStartsNothingAndRunsTheWizard) {
    const std::pair<const char*, std::wstring> cases[] = {
        {"404", nettest::ServerUrl(L"fault", L"/status/404?len=4000")},
        {"cut", nettest::ServerUrl(L"fault", L"/cut?len=200000&send=5000")},
    };
    for (const auto& [name, download_url] : cases) {
        SCOPED_TRACE(name);
        CNewUpdaterFolders updater_folders;
        Release fresh = TooOldFor(download_url);
        CInstallerCopy copy({.version_check_url = Publish(L"version.xml", VersionXml(fresh, Release{}))});
        CInstallerProcess installer;
        ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
        ExpectWizardThenClose(installer);
        // Neither an error page nor half a program is kept, so there is nothing to start.
        EXPECT_TRUE(updater_folders.Now().empty());
    }
}

TEST(ValidatorStartup, UpdaterThatCannotBeStartedIsReportedOnce) {
    CNewUpdaterFolders updater_folders;
    // A whole download, signed by the installer's own publisher, that is no program.
    Release fresh = TooOldFor(Publish(L"webinstaller.exe", SignedFixtureBytes(L"library-publisher.exe")));
    CInstallerCopy copy({.version_check_url = Publish(L"version.xml", VersionXml(fresh, Release{}))});
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
    HWND box = WaitForShownMessageBox(installer, kTimeout);
    ASSERT_TRUE(box);
    EXPECT_NE(ChildTexts(box).find(L"The updater cannot be launched!"), std::wstring::npos);
    ASSERT_TRUE(Answer(box, L"OK"));
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 1603u) << "nothing was installed and nothing took over";
}

TEST(ValidatorStartup, SilentRunNeverShowsTheValidatorButShowsItsMessages) {
    const std::wstring down = L"http://127.0.0.1:" + std::to_wstring(nettest::ClosedPort()) + L"/version.xml";
    CInstallerCopy copy({.version_check_url = down});
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/s", copy.ExePath()));
    CWindowEventLog log(installer.ProcessId());
    HWND box = WaitForShownMessageBox(installer, kTimeout);
    ASSERT_TRUE(box) << "the message of a silent run did not appear";
    EXPECT_NE(ChildTexts(box).find(kConnectMessage), std::wstring::npos);
    HWND validator = FindValidator(installer);
    ASSERT_TRUE(validator);
    LONG_PTR ex_style = ::GetWindowLongPtrW(validator, GWL_EXSTYLE);
    EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW) << "it would get a taskbar button";
    EXPECT_FALSE(ex_style & WS_EX_APPWINDOW);
    ASSERT_TRUE(Answer(box, L"OK"));
    ASSERT_TRUE(installer.WaitForExit(kTimeout));
    EXPECT_FALSE(log.FirstShown(kValidatorTitle)) << "the validator was shown";
}

TEST(ValidatorStartup, SkipSwitchOpensTheWizardWithoutValidatorOrRequest) {
    const std::wstring tag = nettest::NewTag();
    CInstallerCopy copy({.version_check_url = nettest::ServerUrl(L"fault", L"/status/404?tag=" + tag)});
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n", copy.ExePath()));
    CWindowEventLog log(installer.ProcessId());
    ExpectWizardThenClose(installer);
    // A request would have been made before the wizard opened.
    EXPECT_EQ(nettest::RecordedRequests(tag), "");
    EXPECT_FALSE(log.FirstShown(kValidatorTitle));
}

// Enter and Escape (and the close command the caption's Close button would send) while the
// server is slow to answer: the validator stays until the check is over, so its message is
// still owned by it and no wizard opens.
TEST(ValidatorStartup, KeysAndCloseCommandsDoNotEndTheValidator) {
    const std::wstring tag = nettest::NewTag();
    CInstallerCopy copy(
        {.version_check_url = nettest::ServerUrl(L"fault", L"/stall?len=500&send=0&hold=4&tag=" + tag)});
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
    CWindowEventLog log(installer.ProcessId());
    HWND validator = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (validator = FindValidator(installer)) && ::IsWindowVisible(validator); }, kTimeout));
    // The check is under way once the server has the request.
    ASSERT_TRUE(WaitUntil([&] { return !nettest::RecordedRequests(tag).empty(); }, kTimeout));
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        ::PostMessageW(validator, WM_KEYDOWN, key, 1);
        ::PostMessageW(validator, WM_KEYUP, key, 0xC0000001);
    }
    ::PostMessageW(validator, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::PostMessageW(validator, WM_CLOSE, 0, 0);

    HWND box = WaitForShownMessageBox(installer, kTimeout);
    ASSERT_TRUE(box);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), validator);
    EXPECT_TRUE(::IsWindow(validator)) << "the validator ended before its check";
    ASSERT_TRUE(Answer(box, L"OK"));
    ASSERT_TRUE(installer.WaitForExit(kTimeout));
    EXPECT_FALSE(log.FirstShown(kFullName)) << "the wizard opened";
}

} // namespace
