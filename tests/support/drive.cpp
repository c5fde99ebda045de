// Small driver for scripts and for checking the test support itself.
//   drive.exe wait-guide [timeout-seconds]    waits until the installer's main window is on
//                                             screen and settled; exit 0 when it is
//   drive.exe close-guide [timeout-seconds]   waits for the installer's main window to settle
//                                             and closes it, answering Yes to the question
//                                             whether to cancel; exit 0 when one was closed
//   drive.exe wait-control ID [timeout-seconds]  waits until a control with that id is shown in
//                                             the wizard; exit 0 when it is
//   drive.exe click ID [timeout-seconds]      waits for that control and clicks it
//   drive.exe wait-text ID TEXT [timeout-seconds]  waits until that control is shown with a text
//                                             containing TEXT; exit 0 when it is
//   drive.exe wait-window CLASS [timeout-seconds]  waits until a top-level window of that class
//                                             (any program's) is on screen and settled
//   drive.exe message-box TEXT                shows a Yes/No message box; exit code = button pressed
#include "app/SingleInstance.h"
#include "resources/resource.h"
#include "tests/support/InstallerProcess.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// The installer's wizard window once `ready` holds for it; null when the time is up. The version
// check's window carries the same class before it, and is told apart by its marquee bar.
template <typename Ready> HWND WaitForGuide(DWORD timeout_ms, Ready ready) {
    auto is_wizard = [](HWND hwnd) { return hwnd && !::GetDlgItem(hwnd, IDC_VALIDATOR_PROGRESS); };
    HWND guide = nullptr;
    nvxtest::WaitUntil(
        [&] {
            guide = ::FindWindowW(kInstallerWindowClass, nullptr);
            return is_wizard(guide) && ready(guide);
        },
        timeout_ms);
    return is_wizard(guide) && ready(guide) ? guide : nullptr;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"message-box")
        return ::MessageBoxW(nullptr, argv[2], L"drive", MB_YESNO | MB_ICONQUESTION);
    const std::wstring command = argc >= 2 ? argv[1] : L"";
    if (argc >= 4 && command == L"wait-text") {
        const int id = _wtoi(argv[2]);
        const std::wstring part = argv[3];
        const DWORD timeout_ms = (argc > 4 ? static_cast<DWORD>(_wtoi(argv[4])) : 30) * 1000;
        return WaitForGuide(timeout_ms,
                            [&](HWND hwnd) {
                                HWND control = nvxtest::FindShownControl(hwnd, id);
                                return control &&
                                       nvxtest::WindowText(control).find(part) != std::wstring::npos;
                            })
                   ? 0
                   : 1;
    }
    if (argc >= 3 && command == L"wait-window") {
        const std::wstring window_class = argv[2];
        const DWORD timeout_ms = (argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 30) * 1000;
        return nvxtest::WaitUntil(
                   [&] {
                       HWND hwnd = ::FindWindowW(window_class.c_str(), nullptr);
                       return hwnd && ::IsWindowVisible(hwnd) && nvxtest::HasSettled(hwnd);
                   },
                   timeout_ms)
                   ? 0
                   : 1;
    }
    if (argc >= 3 && (command == L"wait-control" || command == L"click")) {
        const int id = _wtoi(argv[2]);
        const DWORD timeout_ms = (argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 30) * 1000;
        HWND control = nullptr;
        WaitForGuide(timeout_ms, [&](HWND hwnd) {
            control = nvxtest::FindShownControl(hwnd, id);
            return control != nullptr && nvxtest::HasSettled(hwnd);
        });
        if (!control)
            return 1;
        if (command == L"click")
            nvxtest::PressButton(control);
        return 0;
    }
    if (command != L"close-guide" && command != L"wait-guide") {
        std::fwprintf(stderr,
                      L"usage: drive.exe wait-guide|close-guide [timeout-seconds] | wait-control|click ID "
                      L"[timeout-seconds] | wait-text ID TEXT [timeout-seconds] | wait-window CLASS "
                      L"[timeout-seconds] | message-box TEXT\n");
        return 2;
    }
    DWORD timeout_ms = (argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 30) * 1000;
    if (command == L"wait-guide")
        return WaitForGuide(timeout_ms,
                            [](HWND hwnd) { return nvxtest::IsUsable(hwnd) && nvxtest::HasSettled(hwnd); })
                   ? 0
                   : 1;
    HWND guide = WaitForGuide(timeout_ms, [](HWND hwnd) { return nvxtest::HasSettled(hwnd); });
    if (!guide)
        return 1;
    ::PostMessageW(guide, WM_CLOSE, 0, 0);
    // Closing asks whether to cancel the installation: answer Yes.
    const DWORD thread = ::GetWindowThreadProcessId(guide, nullptr);
    HWND yes = nullptr;
    nvxtest::WaitUntil(
        [&] {
            ::EnumThreadWindows(
                thread,
                [](HWND hwnd, LPARAM found) -> BOOL {
                    HWND button = ::IsWindowVisible(hwnd) ? nvxtest::FindChildByText(hwnd, L"Yes") : nullptr;
                    *reinterpret_cast<HWND*>(found) = button;
                    return button == nullptr;
                },
                reinterpret_cast<LPARAM>(&yes));
            return yes != nullptr || !::IsWindow(guide);
        },
        10000);
    if (yes)
        nvxtest::PressButton(yes);
    return 0;
}
