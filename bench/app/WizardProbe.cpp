// Benchmark helper for the wizard, run under Wine next to the installer:
//   wizard_probe idle SECONDS            shows a minimal idle dialog window for that long (the peer)
//   wizard_probe stall CLASS SECONDS     probes the first window of that class (the wizard, not the
//                                        version check) with SendMessageTimeout every 10 ms and
//                                        prints "stall_max_ms N", "stall_p99_ms N", "probes N"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kValidatorProgressId = 171;

HWND FindTarget(const wchar_t* class_name, DWORD timeout_ms) {
    const DWORD start = ::GetTickCount();
    do {
        for (HWND hwnd = ::FindWindowExW(nullptr, nullptr, class_name, nullptr); hwnd;
             hwnd = ::FindWindowExW(nullptr, hwnd, class_name, nullptr))
            if (!::GetDlgItem(hwnd, kValidatorProgressId))
                return hwnd;
        ::Sleep(10);
    } while (::GetTickCount() - start < timeout_ms);
    return nullptr;
}

double Now() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

int Idle(double seconds) {
    HWND window = ::CreateWindowExW(0, L"#32770", L"idle peer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                    300, nullptr, nullptr, nullptr, nullptr);
    if (!window)
        return 1;
    ::SetTimer(window, 1, static_cast<UINT>(seconds * 1000), nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == window)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::DestroyWindow(window);
    return 0;
}

int Stall(const wchar_t* class_name, double seconds) {
    HWND target = FindTarget(class_name, 60000);
    if (!target) {
        std::printf("error no window\n");
        return 1;
    }
    struct Probe {
        double at_ms; // since the window was found
        double stall_ms;
    };
    std::vector<Probe> probes;
    const double start = Now();
    const double end = start + seconds * 1000;
    while (Now() < end) {
        const double before = Now();
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
            // A window found before its controls were made may have been the validator's, gone
            // now: until one answers, look again.
            if (!probes.empty() || ::IsWindow(target))
                break;
            target = FindTarget(class_name, static_cast<DWORD>(end - Now()));
            if (!target)
                break;
            continue;
        }
        probes.push_back({before - start, Now() - before});
        ::Sleep(10);
    }
    if (probes.empty()) {
        std::printf("error no probe answered\n");
        return 1;
    }
    // The first answer waits for the window to finish setting itself up (a window found by its
    // class may still be in its initialisation): that is start-up, reported on its own.
    const double first_answer_ms = probes.front().stall_ms;
    if (probes.size() > 1)
        probes.erase(probes.begin());
    std::sort(probes.begin(), probes.end(), [](Probe a, Probe b) { return a.stall_ms < b.stall_ms; });
    const Probe& longest = probes.back();
    std::printf(
        "first_answer_ms %.1f\nstall_max_ms %.1f\nstall_max_at_ms %.0f\nstall_p99_ms %.1f\nprobes %zu\n",
        first_answer_ms, longest.stall_ms, longest.at_ms, probes[probes.size() * 99 / 100].stall_ms,
        probes.size());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"idle" && argc == 3)
        return Idle(_wtof(argv[2]));
    if (mode == L"stall" && argc == 4)
        return Stall(argv[2], _wtof(argv[3]));
    std::fwprintf(stderr, L"usage: wizard_probe idle SECONDS | stall CLASS SECONDS\n");
    return 2;
}
