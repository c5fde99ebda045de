// Shows the progress bar, slideshow, combo boxes and edit fields in their states in one window,
// for screenshots at several DPIs (tests/skin/shoot-controls.sh). Writes <folder>\ready once
// everything is painted and ends when <folder>\done appears (or after a minute).
#include "skin/NVXComboBox.h"
#include "skin/NVXEdit.h"
#include "skin/NVXProgress.h"
#include "skin/NVXSliderShowCtrl.h"
#include "skin/ScreenDpi.h"
#include "tests/skin/SkinControlHost.h"

#include <string>

namespace {

nvx::UniqueBitmap Gradient(int width, int height, COLORREF from, COLORREF to) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    nvx::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto mix = [&](int a, int b) { return a + (b - a) * x / std::max(1, width - 1); };
            pixels[y * width + x] = (mix(GetRValue(from), GetRValue(to)) << 16) |
                                    (mix(GetGValue(from), GetGValue(to)) << 8) |
                                    mix(GetBValue(from), GetBValue(to));
        }
    return bitmap;
}

HWND MakeCombo(CNVXComboBox& combo, CWnd& host, int id, int x, int y, int width) {
    HWND hwnd = ::CreateWindowExW(0, L"COMBOBOX", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN |
                                      CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                  x, y, width, 200, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    combo.SubclassWindow(hwnd);
    const ThemePalette& palette = theThemePalette;
    combo.background_color = palette.combo_background;
    combo.arrow_background_color = palette.combo_arrow_background;
    combo.border_color = palette.combo_background;
    combo.edit_part().SendMessage(EM_SETREADONLY, TRUE);
    combo.SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), ScaleExactY(24));
    for (const wchar_t* item : {L"English", L"Deutsch", L"Fran\u00e7ais", L"Espa\u00f1ol", L"Italiano",
                                L"Nederlands", L"Polski", L"Portugu\u00eas", L"Svenska", L"Suomi"})
        combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    combo.SendMessage(CB_SETCURSEL, 0);
    ::SetWindowPos(hwnd, nullptr, x, y, width, ScaleExactY(24) + 2, SWP_NOZORDER);
    return hwnd;
}

HWND MakeEdit(CNVXEdit& edit, CWnd& host, int id, int x, int y, int width, const wchar_t* text) {
    HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text,
                                  WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, x, y,
                                  width, ScaleY(24), host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(theThemeFonts.font_body.get()), TRUE);
    edit.SubclassWindow(hwnd);
    edit.border_color = theThemePalette.combo_background;
    edit.background_color = theThemePalette.combo_background;
    edit.RecreateBackgroundBrush();
    edit.input_mode = 2;
    return hwnd;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring folder = argc > 1 ? argv[1] : L".";
    skintest::CHostWindow host;
    const int width = ScaleX(640);
    if (!host.Open(0, 0, width, ScaleY(560)))
        return 1;
    const ThemePalette& palette = theThemePalette;

    // Slideshow, as the progress page places it, half way through its first slide is not
    // reachable without waiting: it shows its first picture standing.
    CNVXSliderShowCtrl show;
    show.Create(WS_CHILD | WS_TABSTOP, RECT{}, &host, 170);
    show.background_color = palette.window_background;
    nvx::UniqueBitmap first = Gradient(ScaleX(420), ScaleY(200), RGB(7, 165, 216), RGB(20, 40, 90));
    show.pictures = {{ScaleX(420), ScaleY(200), first.get()}};
    ::SetWindowPos(show, nullptr, 0, ScaleY(10), width, ScaleY(220), SWP_NOZORDER | SWP_SHOWWINDOW);

    // Progress bars: empty, half, full.
    CNVXProgress bars[3];
    const int positions[] = {0, 500, 1000};
    for (int i = 0; i < 3; ++i) {
        bars[i].Create(WS_CHILD | WS_TABSTOP, RECT{}, &host, 105 + i);
        bars[i].background_color = palette.window_background;
        bars[i].track_color = palette.progress_track;
        bars[i].fill_color = palette.progress_fill;
        bars[i].range = 1000;
        bars[i].position = positions[i];
        bars[i].bar_rect = {0, 0, width - ScaleX(40), ScaleY(8)};
        ::SetWindowPos(bars[i], nullptr, ScaleX(20), ScaleY(240 + 20 * i), width - ScaleX(40), ScaleY(8),
                       SWP_NOZORDER | SWP_SHOWWINDOW);
    }

    // Edits: idle and active (after a first click: the whole text selected, the active frame).
    CNVXEdit idle;
    CNVXEdit active;
    MakeEdit(idle, host, 143, ScaleX(20), ScaleY(310), ScaleX(290), L"C:\\Program Files\\Lumetra");
    HWND active_hwnd =
        MakeEdit(active, host, 144, ScaleX(330), ScaleY(310), ScaleX(290), L"D:\\Photos\\Lumetra");
    ::SendMessageW(active_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    ::SendMessageW(active_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));

    // Combo boxes: closed, under the mouse, and open.
    CNVXComboBox closed;
    CNVXComboBox hot;
    CNVXComboBox open;
    MakeCombo(closed, host, 141, ScaleX(20), ScaleY(360), ScaleX(180));
    HWND hot_hwnd = MakeCombo(hot, host, 175, ScaleX(220), ScaleY(360), ScaleX(180));
    MakeCombo(open, host, 176, ScaleX(420), ScaleY(360), ScaleX(180));
    hot.SendMessage(CB_SETCURSEL, 1);
    const POINT over_hot = skintest::ScreenPoint(hot_hwnd, 10, 5);
    ::SetCursorPos(over_hot.x, over_hot.y);
    ::SendMessageW(hot_hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
    open.SendMessage(CB_SETCURSEL, 3);
    open.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    skintest::PaintNow(host);
    skintest::WaitFor([&] { return ::IsWindowVisible(open.list()) != FALSE; }, 5000);
    skintest::PaintNow(open.list());
    skintest::PumpOnce();

    const std::wstring ready = folder + L"\\ready";
    nvx::UniqueHandle(::CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr))
        .reset();
    const std::wstring done = folder + L"\\done";
    skintest::WaitFor([&] { return ::GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000);
    return 0;
}
