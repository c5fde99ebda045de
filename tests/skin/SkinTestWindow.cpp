#include "tests/skin/SkinTestWindow.h"

#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"
#include "tests/gallery/gallery_resource.h"
#include "tests/support/InstallerProcess.h"

#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace skintest {

namespace {

// The screen's pixels of a rectangle, B G R x, top-down.
std::vector<DWORD> CaptureScreen(const RECT& screen_rect) {
    const int width = screen_rect.right - screen_rect.left;
    const int height = screen_rect.bottom - screen_rect.top;
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    nvx::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    nvx::UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
    nvx::ClientDc screen(nullptr);
    if (!bitmap || !memory || !screen)
        return pixels;
    {
        nvx::SelectObjectScope select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), screen_rect.left, screen_rect.top, SRCCOPY);
    }
    ::GdiFlush();
    const auto* source = static_cast<const DWORD*>(bits);
    pixels.assign(source, source + static_cast<size_t>(width) * height);
    return pixels;
}

COLORREF FromBgrx(DWORD pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
    Settle();
}

} // namespace

CTestFrame::CTestFrame() : CNVXDialog(IDD_GALLERY_FRAME) {}

CTestFrame::~CTestFrame() {
    if (GetSafeHwnd())
        DestroyWindow();
}

bool CTestFrame::Open(int width, int height) {
    if (!Create(IDD_GALLERY_FRAME, nullptr))
        return false;
    ::SetWindowPos(GetSafeHwnd(), HWND_TOP, 100, 100, width, height, SWP_SHOWWINDOW);
    ::SetForegroundWindow(GetSafeHwnd());
    ::UpdateWindow(GetSafeHwnd());
    Settle();
    return true;
}

HWND CTestFrame::AddChild(const wchar_t* window_class, DWORD style, const RECT& rect, int id) {
    return ::CreateWindowExW(0, window_class, L"", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, GetSafeHwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                             nullptr);
}

LRESULT CTestFrame::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_SYSCOMMAND)
        sys_commands.push_back(wparam & 0xFFF0);
    if (msg == WM_CLOSE) {
        ++close_requests;
        return 0; // the test decides when the frame goes
    }
    return CNVXDialog::WindowProc(msg, wparam, lparam);
}

bool CTestFrame::OnCommand(WPARAM wparam, LPARAM lparam) {
    if (lparam && (HIWORD(wparam) == BN_CLICKED || HIWORD(wparam) == STN_CLICKED)) {
        ++clicks[LOWORD(wparam)];
        return true;
    }
    return CNVXDialog::OnCommand(wparam, lparam);
}

void SkinWindowTest::SetUpTestSuite() {
    InitThemePalette();
}

void SkinWindowTest::SetUp() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CreateThemeFonts();
    // The mouse starts away from every test window.
    ::SetCursorPos(5, 5);
    Settle();
}

void SkinWindowTest::TearDown() {
    ReleaseLeft();
    Settle();
    DestroyThemeFonts();
    ::CoUninitialize();
}

void MoveMouse(POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
    SendMouse(MOUSEEVENTF_MOVE); // a move of nothing: the messages of being at the point
}

void PressLeft() {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}

void ReleaseLeft() {
    if (::GetAsyncKeyState(VK_LBUTTON) & 0x8000)
        SendMouse(MOUSEEVENTF_LEFTUP);
}

void ClickAt(POINT screen) {
    MoveMouse(screen);
    PressLeft();
    SendMouse(MOUSEEVENTF_LEFTUP);
}

POINT WindowPoint(HWND hwnd, int x, int y) {
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    return {window.left + x, window.top + y};
}

POINT ClientPoint(HWND hwnd, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(hwnd, &point);
    return point;
}

void Settle() {
    nvxtest::PumpMessages(60);
}

COLORREF ScreenPixel(POINT screen) {
    const auto pixels = CaptureScreen({screen.x, screen.y, screen.x + 1, screen.y + 1});
    return pixels.empty() ? CLR_INVALID : FromBgrx(pixels[0]);
}

COLORREF WindowPixel(HWND hwnd, int x, int y) {
    return ScreenPixel(WindowPoint(hwnd, x, y));
}

COLORREF ClientPixel(HWND hwnd, int x, int y) {
    return ScreenPixel(ClientPoint(hwnd, x, y));
}

int CountClientPixels(HWND hwnd, const RECT& rect, COLORREF color, int tolerance) {
    const POINT origin = ClientPoint(hwnd, rect.left, rect.top);
    const auto pixels = CaptureScreen(
        {origin.x, origin.y, origin.x + rect.right - rect.left, origin.y + rect.bottom - rect.top});
    int count = 0;
    for (DWORD pixel : pixels)
        count += Near(FromBgrx(pixel), color, tolerance);
    return count;
}

std::string ColorText(COLORREF color) {
    char text[32];
    std::snprintf(text, sizeof(text), "RGB(%d, %d, %d)", GetRValue(color), GetGValue(color),
                  GetBValue(color));
    return text;
}

testing::AssertionResult SameColor(COLORREF actual, COLORREF expected, int tolerance) {
    if (actual != CLR_INVALID && Near(actual, expected, tolerance))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << ColorText(actual) << " instead of " << ColorText(expected);
}

} // namespace skintest
