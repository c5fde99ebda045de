// Paint benchmark (make bench, scripts/bench.d/paint.sh): full repaints of the control gallery
// against the same layout drawn by the system's own controls, the skinned repaint broken down by
// kind of control, and the CPU a slideshow uses while a picture stands and while it slides.
//   paint_bench.exe /out FILE [/repaints N]
// Writes "name value" lines to FILE.
#include "skin/ScreenDpi.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"
#include "tests/gallery/GallerySlideshow.h"
#include "bench/gallery/SystemGallery.h"
#include "tests/gallery/gallery_resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

std::wstring ArgumentAfter(const wchar_t* name, const wchar_t* fallback) {
    for (int i = 1; i + 1 < __argc; ++i)
        if (_wcsicmp(__wargv[i], name) == 0)
            return __wargv[i + 1];
    return fallback;
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Runs the message loop for the given time, as an idle UI thread does.
void RunFor(double seconds) {
    LARGE_INTEGER frequency, start, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    for (;;) {
        ::QueryPerformanceCounter(&now);
        const double left = seconds - double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        if (left <= 0)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left * 1000) + 1, QS_ALLINPUT);
        Pump();
    }
}

double Seconds() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

// The process's CPU time (user + kernel) in seconds.
double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto value = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7; };
    return value(kernel) + value(user);
}

struct Cost {
    double wall_ms; // per round
    double cpu_ms;
};

// The median round's wall time (steadier than the mean on a busy machine) and the mean CPU time.
Cost Measure(int rounds, const std::function<void()>& round) {
    round(); // warm: whatever is made once is made now
    Pump();
    std::vector<double> walls;
    const double cpu = CpuSeconds();
    for (int i = 0; i < rounds; ++i) {
        const double wall = Seconds();
        round();
        Pump();
        walls.push_back((Seconds() - wall) * 1000);
    }
    const double cpu_ms = (CpuSeconds() - cpu) * 1000 / rounds;
    std::nth_element(walls.begin(), walls.begin() + rounds / 2, walls.end());
    return {walls[static_cast<size_t>(rounds / 2)], cpu_ms};
}

class CResults {
public:
    explicit CResults(const std::wstring& path) : file_(_wfopen(path.c_str(), L"w")) {}
    ~CResults() {
        if (file_)
            std::fclose(file_);
    }
    void Write(const char* name, Cost cost) {
        if (file_) {
            std::fprintf(file_, "%s_wall_ms %.3f\n%s_cpu_ms %.3f\n", name, cost.wall_ms, name, cost.cpu_ms);
            std::fflush(file_);
        }
    }
    void Write(const char* name, double value) {
        if (file_) {
            std::fprintf(file_, "%s %.3f\n", name, value);
            std::fflush(file_);
        }
    }
    explicit operator bool() const { return file_ != nullptr; }

private:
    FILE* file_;
};

constexpr UINT kRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW;

// Repaints of the gallery's controls of one kind, one round repainting each of them once.
template <typename Control>
void MeasureKind(CResults& results, const char* name, const CGalleryDialog& gallery, int rounds) {
    std::vector<HWND> windows;
    for (HWND child = ::GetWindow(gallery.GetSafeHwnd(), GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
        if (dynamic_cast<Control*>(CWnd::FromHandle(child)))
            windows.push_back(child);
    results.Write(name, Measure(rounds, [&] {
                      for (HWND hwnd : windows)
                          ::RedrawWindow(hwnd, nullptr, nullptr, kRedraw);
                  }));
}

// Every kind of control of the gallery repainted on its own, and the frames.
void MeasureKinds(CResults& results, const CGalleryDialog& gallery, int rounds) {
    MeasureKind<CNVXTextButton>(results, "text_buttons", gallery, rounds);
    MeasureKind<CNVXButton>(results, "picture_buttons", gallery, rounds);
    MeasureKind<CNVXStatic>(results, "labels", gallery, rounds);
    MeasureKind<CNVXProgress>(results, "progress_bars", gallery, rounds);
    MeasureKind<CNVXSliderShowCtrl>(results, "slideshows", gallery, rounds);
    MeasureKind<CNVXComboBox>(results, "combo_boxes", gallery, rounds);
    MeasureKind<CNVXEdit>(results, "edits", gallery, rounds);
    results.Write("frames", Measure(rounds, [&] {
                      ::RedrawWindow(gallery.GetSafeHwnd(), nullptr, nullptr,
                                     RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
                      for (const auto& frame : gallery.frames())
                          ::RedrawWindow(frame->GetSafeHwnd(), nullptr, nullptr,
                                         RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
                  }));
}

// The pass with the middle wall time.
Cost MiddlePass(std::vector<Cost> passes) {
    std::sort(passes.begin(), passes.end(), [](Cost a, Cost b) { return a.wall_ms < b.wall_ms; });
    return passes[passes.size() / 2];
}

// A slideshow of the progress page's size, running by its own timer. The bench shortens the
// schedule (2 s standing, 2 s sliding) so that each phase is measured long enough; a tick costs
// the same whatever the schedule.
void MeasureSlideshow(CResults& results) {
    CWnd host;
    if (!host.Create(WS_POPUP | WS_VISIBLE, RECT{20, 20, 20 + ScaleX(660), 20 + ScaleY(330)}, nullptr, 0))
        return;
    CNVXSliderShowCtrl show;
    if (!show.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, ScaleX(660), ScaleY(330)}, &host, 170))
        return;
    const int width = ScaleX(620);
    const int height = ScaleY(300);
    const HFONT font = theThemeFonts.font_title.get();
    skin::Bitmap first = DrawSlidePicture(width, height, RGB(7, 165, 216), RGB(10, 60, 110), L"One", font);
    skin::Bitmap second = DrawSlidePicture(width, height, RGB(216, 120, 40), RGB(110, 30, 20), L"Two", font);
    show.hold_seconds = 2.0;
    show.transition_seconds = 2.0;
    show.pictures = {{width, height, first.get()}, {width, height, second.get()}};
    ::RedrawWindow(show, nullptr, nullptr, kRedraw); // the show's clock starts at this paint
    const double start = Seconds();
    auto phase = [&](double from, double to) {
        RunFor(from - (Seconds() - start));
        const double cpu = CpuSeconds();
        const double wall = Seconds();
        RunFor(to - (Seconds() - start));
        return (CpuSeconds() - cpu) * 1000 / (Seconds() - wall); // ms of CPU per second
    };
    results.Write("slideshow_standing_cpu_ms_per_s", phase(0.2, 1.8));
    results.Write("slideshow_sliding_cpu_ms_per_s", phase(2.2, 3.8));
    show.DestroyWindow();
    host.DestroyWindow();
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    InitThemePalette();
    CreateThemeFonts();
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    CResults results(ArgumentAfter(L"/out", L"paint-bench.txt"));
    const int rounds = _wtoi(ArgumentAfter(L"/repaints", L"20").c_str());
    if (!results || rounds <= 0)
        return 2;
    // The skinned gallery and its system peer take turns, a few times over, and each figure is
    // the middle pass: a slow spell of the machine then weighs on both sides alike.
    constexpr int kPasses = 3;
    std::vector<Cost> skinned_passes;
    std::vector<Cost> system_passes;
    int exit_code = 0;
    for (int pass = 0; pass < kPasses && exit_code == 0; ++pass) {
        CGalleryDialog gallery;
        if (!gallery.Create(IDD_GALLERY, nullptr))
            return 1;
        gallery.ShowWindow(SW_SHOWNOACTIVATE);
        Pump();
        skinned_passes.push_back(Measure(rounds, [&] { gallery.RepaintAll(); }));
        if (pass == 0)
            MeasureKinds(results, gallery, rounds);

        CSystemGallery system(gallery);
        gallery.DestroyWindow();
        Pump();
        if (!system.Create()) {
            exit_code = 1;
            break;
        }
        Pump();
        system_passes.push_back(Measure(rounds, [&] { system.RepaintAll(); }));
        if (pass == 0)
            results.Write("system_labels", Measure(rounds, [&] {
                              for (HWND hwnd : system.labels())
                                  ::RedrawWindow(hwnd, nullptr, nullptr, kRedraw);
                          }));
    }
    if (!skinned_passes.empty() && !system_passes.empty()) {
        results.Write("skinned", MiddlePass(skinned_passes));
        results.Write("system", MiddlePass(system_passes));
    }
    Pump();
    MeasureSlideshow(results);
    DestroyThemeFonts();
    return exit_code;
}
