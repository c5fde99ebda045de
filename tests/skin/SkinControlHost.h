#pragma once
// A real top-level window on the test display that skinned controls are placed in, the loop
// that runs them (each message offered to PreTranslateMessage of its window and parents, as the
// program's modal loop does), real mouse input, and reading back what the controls painted.
#include "framework/Wnd.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace skintest {

inline constexpr DWORD kTimeoutMs = 10000;

// Theme state the program sets up before any window exists.
inline void SetUpTheme() {
    InitThemePalette();
    if (!theThemeFonts.font_body)
        CreateThemeFonts();
}

inline void PumpOnce() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        bool swallowed = false;
        for (HWND hwnd = msg.hwnd; hwnd && !swallowed;) {
            if (CWnd* object = CWnd::FromHandle(hwnd))
                swallowed = object->PreTranslateMessage(&msg) != FALSE;
            if (!(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
                break;
            hwnd = ::GetParent(hwnd);
        }
        if (swallowed)
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Runs this thread's messages until the condition holds; answers it.
template <typename Condition> bool WaitFor(Condition condition, DWORD timeout_ms = kTimeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpOnce();
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeout_ms)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// No mouse or key input left in this thread's queue: what was sent has been handled.
inline bool InputProcessed() {
    return HIWORD(::GetQueueStatus(QS_INPUT)) == 0;
}

// The host: a popup filled with the window background; it counts slideshow clicks.
class CHostWindow : public CWnd {
public:
    bool Open(int x, int y, int width, int height) {
        SetUpTheme();
        return Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{x, y, x + width, y + height}, nullptr, 0);
    }
    int slideshow_clicks = 0;
    UINT click_message = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if (click_message && msg == click_message) {
            ++slideshow_clicks;
            return 0;
        }
        if (msg == WM_ERASEBKGND) {
            RECT client = GetClientRect();
            HBRUSH brush = ::CreateSolidBrush(theThemePalette.window_background);
            ::FillRect(reinterpret_cast<HDC>(wparam), &client, brush);
            ::DeleteObject(brush);
            return TRUE;
        }
        return CWnd::WindowProc(msg, wparam, lparam);
    }
};

// Paints every invalid part of a window and its children now.
inline void PaintNow(HWND hwnd) {
    ::RedrawWindow(hwnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
}

// What a window shows, read back through its window DC (frame included).
class CCapture {
public:
    explicit CCapture(HWND hwnd) {
        RECT window{};
        ::GetWindowRect(hwnd, &window);
        width_ = window.right - window.left;
        height_ = window.bottom - window.top;
        pixels_.assign(static_cast<size_t>(width_) * height_, 0);
        HDC source = ::GetWindowDC(hwnd);
        HDC memory = ::CreateCompatibleDC(source);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(info.bmiHeader), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
        ::GdiFlush();
        std::copy_n(static_cast<const std::uint32_t*>(bits), pixels_.size(), pixels_.begin());
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(hwnd, source);
    }
    // A pixel in window coordinates as a COLORREF.
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return CLR_INVALID;
        const std::uint32_t bgra = pixels_[static_cast<size_t>(y) * width_ + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

inline int ColourDistance(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// Colours compared with a step of rounding allowed per channel.
inline testing::AssertionResult SameColour(COLORREF actual, COLORREF expected, int tolerance = 2) {
    if (std::abs(GetRValue(actual) - GetRValue(expected)) <= tolerance &&
        std::abs(GetGValue(actual) - GetGValue(expected)) <= tolerance &&
        std::abs(GetBValue(actual) - GetBValue(expected)) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "colour (" << int(GetRValue(actual)) << ", " << int(GetGValue(actual)) << ", "
           << int(GetBValue(actual)) << "), expected (" << int(GetRValue(expected)) << ", "
           << int(GetGValue(expected)) << ", " << int(GetBValue(expected)) << ")";
}

// Real mouse input at a point of the screen.
inline void MouseAt(POINT screen, DWORD button_flags) {
    INPUT input[3]{};
    const int width = ::GetSystemMetrics(SM_CXSCREEN) - 1;
    const int height = ::GetSystemMetrics(SM_CYSCREEN) - 1;
    input[0].type = INPUT_MOUSE;
    input[0].mi.dx = screen.x * 65535 / width;
    input[0].mi.dy = screen.y * 65535 / height;
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    int count = 1;
    if (button_flags) {
        input[1].type = INPUT_MOUSE;
        input[1].mi.dwFlags = button_flags;
        count = 2;
        if (button_flags == MOUSEEVENTF_LEFTDOWN || button_flags == MOUSEEVENTF_RIGHTDOWN) {
            input[2].type = INPUT_MOUSE;
            input[2].mi.dwFlags = button_flags << 1; // the matching release
            count = 3;
        }
    }
    ::SendInput(static_cast<UINT>(count), input, sizeof(INPUT));
}

inline POINT ScreenPoint(HWND hwnd, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(hwnd, &point);
    return point;
}

} // namespace skintest
