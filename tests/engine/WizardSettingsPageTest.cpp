// The settings page of the real installer's wizard under Wine: the settings area collapsing and
// expanding the window, the License Terms link, and the folder browser.
#include "tests/engine/WizardFixture.h"
#include "tests/selfupdate/SelfUpdateFixture.h"

#include <filesystem>
#include <fstream>

using namespace enginetest;
using namespace nvxtest;
using selfupdatetest::WaitForStartRecord;

namespace {

using WizardSettingsPage = WizardFixture;

RECT WindowRect(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

TEST_F(WizardSettingsPage, CollapsingTheSettingsShortensTheWindowByTheScaledStep) {
    const struct {
        DWORD dpi;
        LONG page_height; // 446 at 96 DPI
        LONG step;        // 86 at 96 DPI
    } cases[] = {{96, 446, 86}, {144, 669, 129}};
    // The installer is DPI aware: its window is measured in its own pixels.
    CScopedThreadDpiAwareness aware(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    CScopedRegistryValue log_pixels(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " DPI");
        ASSERT_TRUE(log_pixels.SetDword(c.dpi));
        CInstallerProcess installer;
        HWND guide = StartOnSettingsPage(installer);
        ASSERT_TRUE(guide);
        const RECT expanded = WindowRect(guide);
        ASSERT_EQ(expanded.bottom - expanded.top, c.page_height) << "not started at that DPI";

        // The arrow collapses, the caption next to it expands again.
        const struct {
            int control;
            LONG height;
        } clicks[] = {{kSettingsToggle, c.page_height - c.step}, {kSettingsCaption, c.page_height}};
        for (const auto& click : clicks) {
            SCOPED_TRACE(click.control);
            HWND control = FindShownControl(guide, click.control);
            ASSERT_TRUE(control);
            if (click.control == kSettingsToggle)
                PressButton(control);
            else
                ClickControl(control);
            RECT now{};
            WaitUntil(
                [&] {
                    now = WindowRect(guide);
                    return now.bottom - now.top == click.height;
                },
                kWizardTimeout);
            EXPECT_EQ(now.bottom - now.top, click.height);
            EXPECT_EQ(now.left, expanded.left);
            EXPECT_EQ(now.top, expanded.top);
            EXPECT_EQ(now.right, expanded.right);
        }
        ASSERT_TRUE(CloseWizardConfirming(installer, guide, kWizardTimeout));
        ASSERT_TRUE(installer.WaitForExit(kWizardTimeout));
    }
}

TEST_F(WizardSettingsPage, LicenseTermsLinkOpensTheAddressOfTheStringFile) {
    const std::wstring address = L"http://127.0.0.1/lumetra/terms-from-the-string-file.html";
    const std::filesystem::path strings = folder_.module_folder() + L"\\language\\1033\\stringPro.ini";
    std::filesystem::create_directories(strings.parent_path());
    std::ofstream(strings, std::ios::binary)
        << "[RLINK]\r\nIDS_RLINK_TERMS=" << std::string(address.begin(), address.end()) << "\r\n";
    CInstallerProcess installer;
    HWND guide = StartOnSettingsPage(installer, L"/n /lang 1033");
    ASSERT_TRUE(guide);
    HWND link = FindShownControl(guide, kTermsLink);
    ASSERT_TRUE(link);
    ClickControl(link);
    auto opened = WaitForStartRecord(browser_, kWizardTimeout);
    ASSERT_TRUE(opened) << "the link opened nothing";
    EXPECT_EQ((*opened)[L"arg1"], address);
    EXPECT_TRUE(FindShownControl(guide, kInstallButton)) << "the page changed";
    ASSERT_TRUE(CloseWizardConfirming(installer, guide, kWizardTimeout));
    ASSERT_TRUE(installer.WaitForExit(kWizardTimeout));
}

// The folder picked in the browser lands in the folder field, and the product is installed there.
TEST_F(WizardSettingsPage, BrowsePicksTheFolderTheProductIsInstalledInto) {
    const std::wstring start = folder_.scratch() + L"\\pick";
    const std::wstring chosen = start + L"\\chosen";
    ASSERT_TRUE(::CreateDirectoryW(start.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(chosen.c_str(), nullptr));
    CInstallerProcess installer;
    HWND guide = StartOnSettingsPage(installer);
    ASSERT_TRUE(guide);
    HWND edit = FindShownControl(guide, kFolderEdit);
    ASSERT_TRUE(edit);
    // The browser opens at the nearest folder of the typed text that exists.
    const std::wstring typed = start + L"\\missing\\deeper";
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PressButton(FindShownControl(guide, kBrowseButton));
    HWND browser = installer.WaitForMessageBox(kWizardTimeout, L"Browse to the destination folder.");
    ASSERT_TRUE(browser) << "no folder browser";
    EXPECT_EQ(::GetWindow(browser, GW_OWNER), guide);
    HWND tree = ::FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
    HWND name = ::FindWindowExW(browser, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(tree && name);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(name) == L"pick"; }, kWizardTimeout))
        << "the browser did not start at the existing folder: " << testing::PrintToString(ControlText(name));
    // From the start folder into its only subfolder, then OK; the keys go before the press.
    PostKeyPress(tree, VK_RIGHT);
    PostKeyPress(tree, VK_RIGHT);
    PressButton(FindChildByText(browser, L"OK"));
    ASSERT_TRUE(
        WaitUntil([&] { return !::IsWindow(browser) && ControlText(edit) != typed; }, kWizardTimeout));
    EXPECT_EQ(ControlText(edit), chosen);

    PressButton(FindShownControl(guide, kInstallButton));
    ASSERT_TRUE(WaitForShownControl(guide, kStartNow, kWizardTimeout)) << "the installation did not finish";
    EXPECT_TRUE(FileExists(chosen + L"\\Lumetra.exe")) << "not installed into the picked folder";
    EXPECT_FALSE(FileExists(InstalledProgram()));
    ::PostMessageW(guide, WM_CLOSE, 0, 0);
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kWizardTimeout, &exit_code));
    EXPECT_EQ(exit_code, 0u);
}

} // namespace
