// The demo product that the demo server offers: one window saying it runs.
#include <windows.h>

namespace {

LRESULT CALLBACK DemoWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(hwnd, &paint);
        RECT client;
        ::GetClientRect(hwnd, &client);
        HBRUSH background = ::CreateSolidBrush(RGB(0x1F, 0x23, 0x29));
        ::FillRect(dc, &client, background);
        ::DeleteObject(background);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(0xE8, 0xE8, 0xE8));
        ::DrawTextW(dc, L"Lumetra Professional (demo) is running.", -1, &client,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wparam, lparam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DemoWindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = L"LumetraDemoWindow";
    ::RegisterClassW(&wc);
    HWND window =
        ::CreateWindowExW(0, wc.lpszClassName, L"Lumetra Professional", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 480, 240, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, show);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
