// Test program (not part of the installer): one wizard page in a host window at the top left of
// the screen, for screenshots at several DPIs (tests/pages/shoot-pages.sh).
//   pages_show <status|finish> <language folder> <exchange folder>
// The progress page shows a download three eighths done with its slides; the finish page a
// first installation. Writes <exchange folder>\ready once painted and ends when
// <exchange folder>\done appears (or after a minute).
#include "pages/StatusPanel.h"
#include "pages/SuccessPanel.h"
#include "resources/resource.h"
#include "tests/pages/PageTestHost.h"
#include "tests/skin/SkinControlHost.h"

#include <objbase.h>

#include <string>

namespace {

void WaitForDone(const std::wstring& exchange) {
    const std::wstring ready = exchange + L"\\ready";
    nvx::UniqueHandle(::CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr))
        .reset();
    const std::wstring done = exchange + L"\\done";
    skintest::WaitFor([&] { return ::GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4)
        return 2;
    const std::wstring page_name = argv[1];
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    skintest::SetUpTheme();
    theConfig.manifest.full_name = L"Lumetra Professional";
    theConfig.manifest.short_name = L"Lumetra";
    theConfig.language.language_folder = std::wstring(argv[2]) + L"\\";
    theConfig.install_homepage_url = L"http://127.0.0.1/";
    LaunchOptions options;
    pagetest::CPageTestHost host(page_name == L"finish" ? 2 : 1);

    if (page_name == L"finish") {
        CSuccessPanel page(theConfig, options);
        if (!host.Open(page, IDD_FINISH, POINT{0, 0}))
            return 1;
        page.OnShowPage();
        page.Invalidate();
        skintest::PumpOnce();
        WaitForDone(argv[3]);
        return 0;
    }
    CStatusPanel page(theConfig, options);
    if (!host.Open(page, IDD_PROGRESS, POINT{0, 0}))
        return 1;
    // Not OnShowPage: its start timer would begin an installation.
    page.RefreshTexts();
    // A thousand seconds for three eighths of the whole, three quarters of the downloads.
    pagetest::SetProgress(InstallState::Downloading, {100}, {100}, 0, 75);
    theInstallProgress.start_tick = ::GetTickCount() - 1000000;
    page.RefreshProgress();
    skintest::PumpOnce();
    WaitForDone(argv[3]);
    return 0;
}
