// The finish page hosted on its own: Start Now opens the home page of a first installation and
// half a second later starts the product and closes the wizard; closing opens the home page but
// starts nothing; an update opens no web page; and what the page shows.
#include "pages/SuccessPanel.h"

#include "localization/UIStrings.h"
#include "resources/resource.h"
#include "skin/ThemePalette.h"
#include "tests/support/ScratchFolder.h"
#include "tests/pages/PageTestHost.h"
#include "tests/selfupdate/SelfUpdateFixture.h"
#include "tests/support/InstallerProcess.h"
#include "tests/support/ScopedSettings.h"

#include <gtest/gtest.h>

using namespace pagetest;
using selfupdatetest::CopyStartRecorder;
using selfupdatetest::ReadStartRecord;
using selfupdatetest::WaitForStartRecord;

namespace {

constexpr DWORD kTimeout = 30000;
constexpr wchar_t kHomepage[] = L"http://127.0.0.1/lumetra/welcome.html";

// A press of the button, handled before returning.
void Press(HWND button) {
    ::SendMessageW(button, BM_CLICK, 0, 0);
}

// An installed product that records its start, and a browser that records what it opens.
class FinishPage : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        ASSERT_TRUE(CopyStartRecorder(browser_));
        ASSERT_TRUE(CopyStartRecorder(product_));
        ASSERT_TRUE(http_open_.SetString(L"\"" + browser_ + L"\" \"%1\""));
        theConfig.install_folder = folder_.wpath() + L"\\";
        theConfig.install_homepage_url = kHomepage;
    }

    ScratchFolder folder_{"nvx-finish"};
    const std::wstring browser_ = folder_.wpath() + L"\\browser.exe";
    const std::wstring product_ = folder_.wpath() + L"\\Lumetra.exe";
    // Wine opens web addresses through the machine-wide class only.
    nvxtest::CScopedRegistryValue http_open_{HKEY_LOCAL_MACHINE,
                                             L"Software\\Classes\\http\\shell\\open\\command", L""};
};

TEST_F(FinishPage, StartNowOpensTheHomePageThenStartsTheProductAndCloses) {
    const struct {
        const char* name;
        int product_installed;
        const wchar_t* homepage;
        bool opens;
    } cases[] = {
        {"first installation", 0, kHomepage, true},
        {"update", 1, kHomepage, false},
        {"no home page captured", 0, L"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileW((browser_ + L".start.txt").c_str());
        ::DeleteFileW((product_ + L".start.txt").c_str());
        theConfig.install_homepage_url = c.homepage;
        LaunchOptions options;
        options.product_installed = c.product_installed;
        CPageTestHost host(2);
        CSuccessPanel page(theConfig, options);
        ASSERT_TRUE(host.Open(page, IDD_FINISH));
        page.OnShowPage();
        HWND start_now = page.GetDlgItem(IDC_START_NOW);
        ASSERT_TRUE(nvxtest::IsUsable(start_now));

        Press(start_now);
        EXPECT_EQ(host.close_requests, 0) << "closed before the half second";
        // A second press before the launch restarts the wait; the page is not opened twice.
        Press(start_now);
        ASSERT_TRUE(nvxtest::WaitUntil([&] { return host.close_requests > 0; }, kTimeout));
        EXPECT_EQ(host.close_requests, 1);
        EXPECT_TRUE(host.shown_pages.empty());
        EXPECT_TRUE(WaitForStartRecord(product_, kTimeout)) << "the product was not started";
        if (c.opens) {
            auto opened = WaitForStartRecord(browser_, kTimeout);
            ASSERT_TRUE(opened) << "the home page was not opened";
            EXPECT_NE((*opened)[L"args"].find(kHomepage), std::wstring::npos)
                << testing::PrintToString((*opened)[L"args"]);
        } else {
            EXPECT_FALSE(ReadStartRecord(browser_)) << "a web page was opened";
        }
        EXPECT_EQ(page.homepage_opened, c.opens ? 1 : 0);
        // The host leaves the page alive: still no second start.
        ASSERT_TRUE(::DeleteFileW((product_ + L".start.txt").c_str()));
        nvxtest::PumpMessages(1500);
        EXPECT_FALSE(ReadStartRecord(product_)) << "the product was started again";
        EXPECT_EQ(host.close_requests, 1);
    }
}

TEST_F(FinishPage, ClosingOpensTheHomePageOnceAndStartsNothing) {
    LaunchOptions options;
    CPageTestHost host(2);
    CSuccessPanel page(theConfig, options);
    ASSERT_TRUE(host.Open(page, IDD_FINISH));
    EXPECT_TRUE(page.CanClose());
    auto opened = WaitForStartRecord(browser_, kTimeout);
    ASSERT_TRUE(opened) << "the home page was not opened";
    EXPECT_NE((*opened)[L"args"].find(kHomepage), std::wstring::npos);
    ASSERT_TRUE(::DeleteFileW((browser_ + L".start.txt").c_str()));

    // Start Now after that launches without opening the page again.
    Press(page.GetDlgItem(IDC_START_NOW));
    ASSERT_TRUE(nvxtest::WaitUntil([&] { return host.close_requests > 0; }, kTimeout));
    EXPECT_TRUE(WaitForStartRecord(product_, kTimeout));
    EXPECT_FALSE(ReadStartRecord(browser_)) << "the home page was opened twice";
}

TEST_F(FinishPage, ClosingAnUpdateOpensNothing) {
    LaunchOptions options;
    options.product_installed = 1;
    CPageTestHost host(2);
    CSuccessPanel page(theConfig, options);
    ASSERT_TRUE(host.Open(page, IDD_FINISH));
    EXPECT_TRUE(page.CanClose());
    nvxtest::PumpMessages(1000);
    EXPECT_FALSE(ReadStartRecord(browser_));
    EXPECT_FALSE(ReadStartRecord(product_));
    EXPECT_EQ(host.close_requests, 0) << "the page closed the wizard itself";
}

TEST_F(FinishPage, ShowsTheIconTheReadyTextAndStartNowOnly) {
    LaunchOptions options;
    CPageTestHost host(2);
    CSuccessPanel page(theConfig, options);
    ASSERT_TRUE(host.Open(page, IDD_FINISH));
    page.OnShowPage();
    skintest::Settle();
    EXPECT_FALSE(::IsWindowVisible(page.GetDlgItem(IDC_FINISH_CHECK)));
    EXPECT_FALSE(::IsWindowVisible(page.GetDlgItem(IDC_FINISH_CHECK_LABEL)));
    EXPECT_EQ(nvxtest::WindowText(page.GetDlgItem(IDC_FINISH_CHECK_LABEL)), L"Launch Lumetra Professional");

    // Start Now: 300 x 34, centred, 240 below the top (96 DPI in the tests' prefix).
    const RECT client = page.GetClientRect();
    RECT button{};
    ::GetWindowRect(page.GetDlgItem(IDC_START_NOW), &button);
    ::MapWindowPoints(nullptr, page.GetSafeHwnd(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(button.right - button.left, 300);
    EXPECT_EQ(button.bottom - button.top, 34);
    EXPECT_EQ(button.top, 240);
    EXPECT_EQ(button.left, (client.right - 300) / 2);

    // The title between the icon (90-154) and the button, in the title colour; nothing of it
    // above the icon.
    const int title_pixels = skintest::CountClientPixels(page.GetSafeHwnd(), RECT{0, 154, client.right, 240},
                                                         theThemePalette.title_text, 40);
    EXPECT_GT(title_pixels, 100);
    EXPECT_EQ(skintest::CountClientPixels(page.GetSafeHwnd(), RECT{0, 0, client.right / 2, 90},
                                          theThemePalette.title_text, 40),
              0);
    // The icon, centred: not the background at its middle.
    EXPECT_FALSE(skintest::SameColor(skintest::ClientPixel(page.GetSafeHwnd(), client.right / 2, 122),
                                     theThemePalette.window_background, 8));
}

} // namespace
