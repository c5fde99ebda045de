// What the skinned frame, controls and pages build on: timers, size changes, the non-client
// area reaching WindowProc, and the plain window class.
#include "framework/Dialog.h"
#include "tests/framework/test_resources.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 10000;

TEST(Window, TimersArriveAtOnTimerAndStopWhenKilled) {
    struct CTicking : CWnd {
        std::vector<UINT_PTR> ticks;
        void OnTimer(UINT_PTR timer_id) override {
            ticks.push_back(timer_id);
            if (ticks.size() == 3)
                KillTimer(timer_id);
        }
    } window;
    ASSERT_TRUE(window.Create(WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    ASSERT_EQ(window.SetTimer(42, 10), 42u);
    EXPECT_TRUE(nvxtest::WaitUntil([&] { return window.ticks.size() >= 3; }, kTimeoutMs));
    EXPECT_EQ(window.ticks, (std::vector<UINT_PTR>{42, 42, 42}));
    EXPECT_FALSE(window.KillTimer(42)) << "the timer was still running";
    window.DestroyWindow();
}

// The original procedure under a subclassed control counts the ticks the object leaves to it.
int inner_ticks = 0;
LRESULT CALLBACK CountingSubclass(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_TIMER && wparam == 2)
        ++inner_ticks;
    return ::DefSubclassProc(hwnd, msg, wparam, lparam);
}

TEST(Window, TimersTheObjectDoesNotKnowReachTheControlItself) {
    HWND control =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::SetWindowSubclass(control, CountingSubclass, 1, 0));
    struct COnlyTimerOne : CWnd {
        int own_ticks = 0;
        void OnTimer(UINT_PTR timer_id) override {
            if (timer_id == 1)
                ++own_ticks;
            else
                CWnd::OnTimer(timer_id);
        }
    } object;
    inner_ticks = 0;
    ASSERT_TRUE(object.SubclassWindow(control));
    object.SetTimer(1, 10);
    object.SetTimer(2, 10);
    EXPECT_TRUE(nvxtest::WaitUntil([&] { return object.own_ticks >= 2 && inner_ticks >= 2; }, kTimeoutMs));
    object.UnsubclassWindow();
    ::RemoveWindowSubclass(control, CountingSubclass, 1);
    ::DestroyWindow(control);
}

TEST(Window, SizeChangesArriveAtOnSize) {
    struct CSized : CWnd {
        std::vector<SIZE> sizes;
        void OnSize(UINT type, int cx, int cy) override {
            if (type == SIZE_RESTORED)
                sizes.push_back(SIZE{cx, cy});
            CWnd::OnSize(type, cx, cy);
        }
    } window;
    ASSERT_TRUE(window.Create(WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    ::SetWindowPos(window.GetSafeHwnd(), nullptr, 0, 0, 123, 45, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(window.sizes.empty());
    EXPECT_EQ(window.sizes.back().cx, 123);
    EXPECT_EQ(window.sizes.back().cy, 45);
    window.DestroyWindow();
}

// A frame that paints its own border: no system non-client area, and a caption for dragging.
template <typename Base> struct CFrameless : Base {
    using Base::Base;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if (msg == WM_NCCALCSIZE && wparam)
            return 0; // the client area is the whole window
        if (msg == WM_NCHITTEST)
            return HTCAPTION;
        return Base::WindowProc(msg, wparam, lparam);
    }
};

struct CTestDialogBase : CDialog {
    CTestDialogBase() : CDialog(IDD_TEST_DIALOG) {}
};

TEST(Window, NonClientMessagesReachWindowProcOfWindowsAndDialogs) {
    CFrameless<CWnd> window;
    ASSERT_TRUE(window.Create(WS_POPUP | WS_CAPTION | WS_THICKFRAME, RECT{0, 0, 200, 100}, nullptr, 0));
    CFrameless<CTestDialogBase> dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
    for (CWnd* w : {static_cast<CWnd*>(&window), static_cast<CWnd*>(&dialog)}) {
        // The frame is recomputed with the hook in place.
        ::SetWindowPos(w->GetSafeHwnd(), nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client = w->GetClientRect(), frame = w->GetWindowRect();
        EXPECT_EQ(client.right, frame.right - frame.left);
        EXPECT_EQ(client.bottom, frame.bottom - frame.top);
        EXPECT_EQ(w->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTCAPTION);
    }
    dialog.DestroyWindow();
    window.DestroyWindow();
}

TEST(Window, PlainWindowClassHasNoBackgroundBrushOrCursor) {
    CWnd window;
    ASSERT_TRUE(window.Create(WS_POPUP, RECT{0, 0, 5, 5}, nullptr, 0));
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    wchar_t name[64] = {};
    ::GetClassNameW(window.GetSafeHwnd(), name, 64);
    ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), name, &info));
    EXPECT_EQ(info.hbrBackground, nullptr);
    EXPECT_EQ(info.hCursor, nullptr);
    EXPECT_TRUE(info.style & CS_DBLCLKS);
    window.DestroyWindow();
}

} // namespace
