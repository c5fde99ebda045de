// Small driver for scripts and for checking the test support itself.
//   drive.exe close-guide [timeout-seconds]   waits for the installer's main window and closes it;
//                                             exit 0 when a window was found and closed
//   drive.exe message-box TEXT                shows a Yes/No message box; exit code = button pressed
#include "app/SingleInstance.h"

#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"message-box")
        return ::MessageBoxW(nullptr, argv[2], L"drive", MB_YESNO | MB_ICONQUESTION);
    if (argc < 2 || std::wstring(argv[1]) != L"close-guide") {
        std::fwprintf(stderr, L"usage: drive.exe close-guide [timeout-seconds] | message-box TEXT\n");
        return 2;
    }
    DWORD timeout_ms = (argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 30) * 1000;
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeout_ms) {
        if (HWND guide = ::FindWindowW(kInstallerWindowClass, nullptr)) {
            ::PostMessageW(guide, WM_CLOSE, 0, 0);
            return 0;
        }
        ::Sleep(100);
    }
    return 1;
}
