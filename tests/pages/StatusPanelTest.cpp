// The progress page hosted on its own: what a refresh shows for a progress record and what it
// asks of the wizard, the launch when done, the cancel question with its pause of the
// downloads, the running-application check and the slideshow's link.
#include "pages/StatusPanel.h"

#include "localization/UIStrings.h"
#include "resources/resource.h"
#include "skin/NVXSliderShowCtrl.h"
#include "skin/ThemePalette.h"
#include "tests/support/ScratchFolder.h"
#include "tests/pages/PageTestHost.h"
#include "tests/selfupdate/SelfUpdateFixture.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/ScopedSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace pagetest;

namespace {

constexpr DWORD kTimeout = 30000;

// One tick of the refresh timer, as the timer delivers it; answers whether the page armed the
// timer again.
bool RefreshTick(CStatusPanel& page) {
    page.SendMessage(WM_TIMER, CStatusPanel::kRefreshTimer, 0);
    return ::KillTimer(page.GetSafeHwnd(), CStatusPanel::kRefreshTimer) != FALSE;
}

// Pixels of the bar's middle row in the fill colour.
int FilledPixels(const CStatusPanel& page) {
    HWND bar = page.GetDlgItem(IDC_PROGRESS_BAR);
    RECT client{};
    ::GetClientRect(bar, &client);
    const int middle = client.bottom / 2;
    return skintest::CountClientPixels(bar, RECT{0, middle, client.right, middle + 1},
                                       theThemePalette.progress_fill, 24);
}

int BarWidth(const CStatusPanel& page) {
    RECT client{};
    ::GetClientRect(page.GetDlgItem(IDC_PROGRESS_BAR), &client);
    return client.right;
}

using StatusPage = PageTest;

TEST_F(StatusPage, RefreshShowsTheRecordAndEndsAsTheStateSays) {
    using State = InstallState;
    const std::wstring sec1 = L"01 secs remaining...";
    const std::wstring calc = ui::kCalcTimeRemaining.default_text;
    struct Record {
        InstallState state;
        std::vector<uint32_t> downloads, installs;
        int32_t index, percent;
    };
    struct Shown {
        const wchar_t* status;
        const wchar_t* percent;
        int bar; // of 1000
        std::wstring time;
    };
    struct Asked {
        bool keeps_refreshing;
        std::vector<int> shown_pages;
        int closes;
        std::vector<DWORD> exit_codes;
    };
    const struct {
        const char* name;
        int silent;
        Record record;
        Shown shown;
        Asked asked;
    } cases[] = {{"downloading",
                  0,
                  {State::Downloading, {100}, {100}, 0, 75},
                  {ui::kStatusDownloading.default_text, L"37.5%", 375, sec1},
                  {true, {}, 0, {}}},
                 {"installing",
                  0,
                  {State::Installing, {100}, {50, 50}, 1, 50},
                  {ui::kStatusInstalling.default_text, L"87.5%", 875, sec1},
                  {true, {}, 0, {}}},
                 {"installing, nothing downloaded",
                  0,
                  {State::Installing, {}, {100}, 0, 0},
                  {ui::kStatusInstalling.default_text, L"0.0%", 0, calc},
                  {true, {}, 0, {}}},
                 {"cancelling",
                  0,
                  {State::Cancelling, {100}, {100}, -1, 0},
                  {ui::kStatusCancelling.default_text, L"0.0%", 0, calc},
                  {true, {}, 0, {}}},
                 {"finished",
                  0,
                  {State::Finished, {100}, {100}, 0, 100},
                  {ui::kStatusFinished.default_text, L"100.0%", 1000, sec1},
                  {false, {2}, 0, {0}}},
                 {"finished silently",
                  1,
                  {State::Finished, {100}, {100}, 0, 100},
                  {ui::kStatusFinished.default_text, L"100.0%", 1000, sec1},
                  {false, {}, 1, {0}}},
                 {"failed",
                  0,
                  {State::Failed, {100}, {100}, 0, 0},
                  {ui::kStatusInstallFailed.default_text, L"0.0%", 0, calc},
                  {false, {}, 1, {1603}}},
                 {"cancelled",
                  0,
                  {State::Cancelled, {100}, {100}, 0, 0},
                  {ui::kStatusCancelled.default_text, L"0.0%", 0, calc},
                  {false, {}, 1, {1602}}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LaunchOptions options;
        options.silent_mode = c.silent;
        CPageTestHost host(1);
        CStatusPanel page(theConfig, options);
        ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
        const Record& r = c.record;
        SetProgress(r.state, r.downloads, r.installs, r.index, r.percent);

        EXPECT_EQ(RefreshTick(page), c.asked.keeps_refreshing);
        skintest::Settle();
        EXPECT_EQ(ControlText(page, IDC_STATUS_LABEL), c.shown.status);
        EXPECT_EQ(ControlText(page, IDC_PERCENT_LABEL), c.shown.percent);
        EXPECT_EQ(ControlText(page, IDC_TIME_LABEL), c.shown.time);
        const int expected_fill = BarWidth(page) * c.shown.bar / 1000;
        EXPECT_NEAR(FilledPixels(page), expected_fill, 3) << "bar width " << BarWidth(page);
        EXPECT_EQ(host.shown_pages, c.asked.shown_pages);
        EXPECT_EQ(host.close_requests, c.asked.closes);
        EXPECT_EQ(host.exit_codes, c.asked.exit_codes);
    }
}

TEST_F(StatusPage, TheEstimateCountsFromTheFirstRefresh) {
    LaunchOptions options;
    CPageTestHost host(1);
    CStatusPanel page(theConfig, options);
    ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
    // Near the tick count's wrap: the elapsed time is 32-bit arithmetic.
    uint32_t now = 0xFFFFFC00u;
    page.clock = [&now] { return now; };
    SetProgress(InstallState::Downloading, {100}, {100}, 0, 0);
    EXPECT_TRUE(RefreshTick(page));
    EXPECT_EQ(ControlText(page, IDC_TIME_LABEL), ui::kCalcTimeRemaining.default_text);
    // A second later a tenth of the downloads is done: nine seconds left.
    now += 1000;
    theInstallProgress.step_percent = 10;
    EXPECT_TRUE(RefreshTick(page));
    EXPECT_EQ(ControlText(page, IDC_TIME_LABEL), L"09 secs remaining...");
    // Two minutes on, at 20 %: the estimate counts from the first refresh, not the last.
    now += 120000;
    theInstallProgress.step_percent = 20;
    EXPECT_TRUE(RefreshTick(page));
    EXPECT_EQ(ControlText(page, IDC_TIME_LABEL), L"08 mins 04 secs remaining...");
}

TEST_F(StatusPage, FinishedWithLaunchWhenDoneStartsTheProductAndCloses) {
    for (const bool installed : {true, false}) {
        SCOPED_TRACE(installed ? "product installed" : "product missing");
        ScratchFolder folder("nvx-status-launch");
        // The stored folder keeps its backslash; the program's path has exactly one.
        theConfig.install_folder = folder.wpath() + L"\\";
        const std::wstring program = folder.wpath() + L"\\Lumetra.exe";
        if (installed) {
            ASSERT_TRUE(selfupdatetest::CopyStartRecorder(program));
        }
        LaunchOptions options;
        options.launch_when_done = 1;
        CPageTestHost host(1);
        CStatusPanel page(theConfig, options);
        ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
        SetProgress(InstallState::Finished, {100}, {100}, 0, 100);

        CPromptRecorder boxes;
        EXPECT_FALSE(RefreshTick(page));
        EXPECT_EQ(host.close_requests, 1);
        EXPECT_TRUE(host.shown_pages.empty()) << "the finish page was shown";
        EXPECT_EQ(host.exit_codes, std::vector<DWORD>{0});
        EXPECT_EQ(theConfig.install_folder, folder.wpath() + L"\\");
        if (installed) {
            EXPECT_TRUE(selfupdatetest::WaitForStartRecord(program, kTimeout))
                << "the product was not started";
        }
        EXPECT_TRUE(boxes.Texts().empty());
    }
}

TEST_F(StatusPage, ShowingArmsTheStartAndResetsTheTexts) {
    LaunchOptions options;
    CPageTestHost host(1);
    CStatusPanel page(theConfig, options);
    ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
    SetProgress(InstallState::Downloading, {100}, {100}, 0, 50);
    RefreshTick(page);
    page.OnShowPage();
    EXPECT_TRUE(::KillTimer(page.GetSafeHwnd(), CStatusPanel::kStartTimer)) << "no start timer";
    EXPECT_EQ(ControlText(page, IDC_STATUS_LABEL), ui::kStatusInit.default_text);
    EXPECT_EQ(ControlText(page, IDC_TIME_LABEL), ui::kCalcTimeRemaining.default_text);
    EXPECT_TRUE(::IsWindowVisible(page.GetDlgItem(IDC_SLIDESHOW)));
    EXPECT_TRUE(::IsWindowVisible(page.GetDlgItem(IDC_PROGRESS_BAR)));
}

TEST_F(StatusPage, ClosingAsksAndHoldsTheDownloadsMeanwhile) {
    const struct {
        const char* name;
        int answer;
        BOOL closes;
        InstallState state_after;
        bool cancel_signalled;
    } cases[] = {
        {"no", IDNO, FALSE, InstallState::Downloading, false},
        {"yes", IDYES, FALSE, InstallState::Cancelling, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LaunchOptions options;
        CPageTestHost host(1);
        CStatusPanel page(theConfig, options);
        ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
        SetProgress(InstallState::Downloading, {100}, {100}, 0, 40);
        std::optional<bool> paused_while_asking;
        CPromptRecorder boxes([&](const nvx::PromptRequest&) {
            paused_while_asking = page.engine.DownloadsPaused();
            return c.answer;
        });
        EXPECT_EQ(page.CanClose(), c.closes);
        const std::vector<nvx::PromptRequest> asked = boxes.Requests();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].text, ui::kMessageCancelNotice.default_text);
        EXPECT_EQ(asked[0].caption, L"Lumetra");
        EXPECT_EQ(asked[0].owner, page.GetSafeHwnd());
        EXPECT_EQ(asked[0].style, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
        EXPECT_EQ(paused_while_asking, true) << "downloads went on while the question showed";
        EXPECT_FALSE(page.engine.DownloadsPaused()) << "downloads were not let go again";
        EXPECT_EQ(theInstallProgress.State(), c.state_after);
        EXPECT_EQ(page.engine.CancelSignalled(), c.cancel_signalled);
        EXPECT_EQ(page.cancel_confirmed, c.answer == IDYES ? 1 : 0);
        if (c.answer != IDYES)
            continue;
        // Confirmed once: a second close keeps the wizard while the cancel completes, unasked.
        EXPECT_FALSE(page.CanClose());
        EXPECT_EQ(boxes.Texts().size(), 1u);
        SetProgress(InstallState::Cancelled, {100}, {100}, 0, 0);
        EXPECT_FALSE(RefreshTick(page));
        EXPECT_EQ(host.close_requests, 1);
        EXPECT_EQ(host.exit_codes, std::vector<DWORD>{1602});
    }
}

TEST_F(StatusPage, ClosingAfterTheEndAsksNothing) {
    const struct {
        InstallState state;
        DWORD exit_code;
    } cases[] = {{InstallState::Finished, 0}, {InstallState::Failed, 1603}, {InstallState::Cancelled, 1602}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.state));
        LaunchOptions options;
        CPageTestHost host(1);
        CStatusPanel page(theConfig, options);
        ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
        SetProgress(c.state, {100}, {100}, 0, 0);
        CPromptRecorder boxes(IDNO);
        EXPECT_TRUE(page.CanClose());
        EXPECT_TRUE(boxes.Texts().empty());
        EXPECT_EQ(host.exit_codes, std::vector<DWORD>{c.exit_code});
    }
}

TEST_F(StatusPage, ARunningApplicationStopsTheStartWhenTheUserCancels) {
    LaunchOptions options;
    CPageTestHost host(1);
    CStatusPanel page(theConfig, options);
    ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
    {
        CPromptRecorder boxes;
        EXPECT_TRUE(page.CheckRunningApplications(L"Lumetra Professional", page.GetSafeHwnd()));
        EXPECT_TRUE(boxes.Texts().empty()) << "asked with nothing running";
    }
    const std::wstring name = running_app_probes[0].semaphore_name;
    nvx::UniqueHandle running(::CreateSemaphoreW(nullptr, 0, 1, name.c_str()));
    ASSERT_TRUE(running);
    CPromptRecorder boxes(IDCANCEL);
    page.SendMessage(WM_TIMER, CStatusPanel::kStartTimer, 0);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    const std::wstring text = boxes.Texts()[0];
    const std::wstring caption = boxes.Requests()[0].caption;
    EXPECT_EQ(boxes.Requests()[0].owner, page.GetSafeHwnd());
    EXPECT_NE(text.find(ui::kCloseRunningApps.default_text), std::wstring::npos)
        << testing::PrintToString(text);
    EXPECT_NE(text.find(running_app_probes[0].display_name), std::wstring::npos);
    EXPECT_EQ(caption, L"Lumetra Professional");
    EXPECT_EQ(host.close_requests, 1);
    EXPECT_EQ(host.exit_codes, std::vector<DWORD>{1602});
    EXPECT_EQ(theInstallProgress.State(), InstallState::Initializing) << "the installation started";
    EXPECT_FALSE(::KillTimer(page.GetSafeHwnd(), CStatusPanel::kRefreshTimer)) << "refreshing began";
}

TEST_F(StatusPage, RetryChecksAgainAfterTheApplicationClosed) {
    LaunchOptions options;
    CPageTestHost host(1);
    CStatusPanel page(theConfig, options);
    ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
    nvx::UniqueHandle running(::CreateSemaphoreW(nullptr, 0, 1, running_app_probes[0].semaphore_name));
    ASSERT_TRUE(running);
    // The user closes the application while the box shows, then presses Retry.
    CPromptRecorder boxes([&](const nvx::PromptRequest&) {
        running.reset();
        return IDRETRY;
    });
    EXPECT_TRUE(page.CheckRunningApplications(L"Lumetra Professional", page.GetSafeHwnd()));
    EXPECT_EQ(boxes.Texts().size(), 1u);
    EXPECT_TRUE(host.exit_codes.empty());
    EXPECT_EQ(host.close_requests, 0);
}

TEST_F(StatusPage, ClickingTheSlideshowOpensTheTourPage) {
    ScratchFolder folder("nvx-status-link");
    const std::wstring browser = folder.wpath() + L"\\browser.exe";
    ASSERT_TRUE(selfupdatetest::CopyStartRecorder(browser));
    // Wine opens web addresses through the machine-wide class only.
    nvxtest::CScopedRegistryValue https_open(HKEY_LOCAL_MACHINE,
                                             L"Software\\Classes\\https\\shell\\open\\command", L"");
    ASSERT_TRUE(https_open.SetString(L"\"" + browser + L"\" \"%1\""));
    LaunchOptions options;
    CPageTestHost host(1);
    CStatusPanel page(theConfig, options);
    ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
    EXPECT_EQ(page.SendMessage(WM_SKIN_SLIDESHOW_CLICK), 0);
    auto opened = selfupdatetest::WaitForStartRecord(browser, kTimeout);
    ASSERT_TRUE(opened) << "nothing was opened";
    EXPECT_NE((*opened)[L"args"].find(ui::kRlinkSlideShow.default_text), std::wstring::npos)
        << testing::PrintToString((*opened)[L"args"]);
}

TEST_F(StatusPage, ASlideshowLinkThatIsNoWebAddressIsNeverOpened) {
    // The string file beside the installer names a program as the tour's address; the https
    // handler is a recorder too, to know when the shell has done its work.
    ScratchFolder folder("nvx-status-link");
    const std::wstring planted = folder.wpath() + L"\\planted.exe";
    const std::wstring browser = folder.wpath() + L"\\browser.exe";
    ASSERT_TRUE(selfupdatetest::CopyStartRecorder(planted));
    ASSERT_TRUE(selfupdatetest::CopyStartRecorder(browser));
    nvxtest::CScopedRegistryValue https_open(HKEY_LOCAL_MACHINE,
                                             L"Software\\Classes\\https\\shell\\open\\command", L"");
    ASSERT_TRUE(https_open.SetString(L"\"" + browser + L"\" \"%1\""));
    const int32_t language = theConfig.language.language_id;
    folder.Write(std::to_string(language) + "/stringPro.ini",
                 "[RLINK]\r\nIDS_RLINK_SLIDE_SHOW=" + std::string(planted.begin(), planted.end()) + "\r\n");
    theConfig.language.language_folder = folder.wpath() + L"\\";
    CDiagnosticRecorder diagnostics;
    LaunchOptions options;
    CPageTestHost host(1);
    CStatusPanel page(theConfig, options);
    ASSERT_TRUE(host.Open(page, IDD_PROGRESS));
    EXPECT_EQ(page.SendMessage(WM_SKIN_SLIDESHOW_CLICK), 0);
    const std::vector<std::wstring> said = diagnostics.Texts(L"pages");
    EXPECT_NE(std::find(said.begin(), said.end(), L"not opened, not a web address: " + planted), said.end())
        << testing::PrintToString(said);

    // A web address afterwards is opened: once the shell has started its handler, the program
    // named before would have been started too.
    folder.Write(std::to_string(language) + "/stringPro.ini",
                 "[RLINK]\r\nIDS_RLINK_SLIDE_SHOW=https://127.0.0.1/tour\r\n");
    EXPECT_EQ(page.SendMessage(WM_SKIN_SLIDESHOW_CLICK), 0);
    auto opened = selfupdatetest::WaitForStartRecord(browser, kTimeout);
    ASSERT_TRUE(opened) << "the web address was not opened";
    EXPECT_EQ(selfupdatetest::ReadStartRecord(planted), std::nullopt) << "the planted program was started";
}

} // namespace
