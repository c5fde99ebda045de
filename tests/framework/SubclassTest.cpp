// Taking over windows: the subclass chain shared with other subclassers in either order, the
// creation hook when creations nest, and the first look a class gets at its window.
#include "framework/Dialog.h"
#include "framework/WindowCreationHook.h"
#include "tests/framework/test_resources.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kProbe = WM_APP + 20;

std::vector<std::string> seen; // who saw kProbe, in order

class CProbeWnd : public CWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if (msg == kProbe)
            seen.push_back("ours");
        return CWnd::WindowProc(msg, wparam, lparam);
    }
};

// Another subclasser that uses the system's chain.
LRESULT CALLBACK OtherSubclass(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (msg == kProbe)
        seen.push_back("other");
    return ::DefSubclassProc(hwnd, msg, wparam, lparam);
}

// The window's own class procedure under the chain: a static control answers WM_GETTEXT.
std::vector<std::string> Probe(HWND hwnd) {
    seen.clear();
    ::SendMessageW(hwnd, kProbe, 0, 0);
    return seen;
}

using Order = std::vector<std::string>;

class Subclass : public ::testing::Test {
protected:
    void SetUp() override {
        control = ::CreateWindowExW(0, L"STATIC", L"text", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                    nullptr);
        ASSERT_NE(control, nullptr);
    }
    void TearDown() override { ::DestroyWindow(control); }
    std::wstring Text() const {
        wchar_t text[16] = {};
        ::GetWindowTextW(control, text, 16);
        return text;
    }
    HWND control = nullptr;
};

TEST_F(Subclass, OursFirstThenAnotherOneAndWeLeaveFirst) {
    CProbeWnd ours;
    ASSERT_TRUE(ours.SubclassWindow(control));
    ASSERT_TRUE(::SetWindowSubclass(control, OtherSubclass, 7, 0));
    EXPECT_EQ(Probe(control), (Order{"other", "ours"}));
    EXPECT_EQ(ours.UnsubclassWindow(), control);
    EXPECT_EQ(Probe(control), Order{"other"}) << "leaving took the later subclasser with it";
    EXPECT_EQ(Text(), L"text");
    ::RemoveWindowSubclass(control, OtherSubclass, 7);
    EXPECT_EQ(Probe(control), Order{});
    EXPECT_EQ(Text(), L"text");
}

TEST_F(Subclass, AnotherOneFirstThenOursAndWeLeaveFirst) {
    ASSERT_TRUE(::SetWindowSubclass(control, OtherSubclass, 7, 0));
    CProbeWnd ours;
    ASSERT_TRUE(ours.SubclassWindow(control));
    EXPECT_EQ(Probe(control), (Order{"ours", "other"})) << "Default passes on to the earlier subclasser";
    ours.UnsubclassWindow();
    EXPECT_EQ(Probe(control), Order{"other"});
    ::RemoveWindowSubclass(control, OtherSubclass, 7);
    EXPECT_EQ(Text(), L"text");
}

TEST_F(Subclass, AnotherOneAfterOursAndItLeavesFirst) {
    CProbeWnd ours;
    ASSERT_TRUE(ours.SubclassWindow(control));
    ASSERT_TRUE(::SetWindowSubclass(control, OtherSubclass, 7, 0));
    ::RemoveWindowSubclass(control, OtherSubclass, 7);
    EXPECT_EQ(Probe(control), Order{"ours"});
    EXPECT_EQ(CWnd::FromHandle(control), &ours);
}

WNDPROC raw_previous = nullptr;
LRESULT CALLBACK RawSubclass(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == kProbe)
        seen.push_back("raw");
    return ::CallWindowProcW(raw_previous, hwnd, msg, wparam, lparam);
}

TEST_F(Subclass, AnOldStyleSubclasserAfterOursKeepsItsProcedureWhenWeLeave) {
    CProbeWnd ours;
    ASSERT_TRUE(ours.SubclassWindow(control));
    raw_previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RawSubclass)));
    EXPECT_EQ(Probe(control), (Order{"raw", "ours"}));
    ours.UnsubclassWindow();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(control, GWLP_WNDPROC)), RawSubclass);
    EXPECT_EQ(Probe(control), Order{"raw"});
    EXPECT_EQ(Text(), L"text");
    CProbeWnd again; // a later object takes the window over once more
    ASSERT_TRUE(again.SubclassWindow(control));
    EXPECT_EQ(Probe(control), (Order{"raw", "ours"}));
}

TEST_F(Subclass, OneObjectPerWindowAndTheWindowsEndDetachesIt) {
    CProbeWnd ours, second;
    ASSERT_TRUE(ours.SubclassWindow(control));
    EXPECT_FALSE(second.SubclassWindow(control));
    EXPECT_FALSE(ours.SubclassWindow(control));
    ::DestroyWindow(control);
    EXPECT_EQ(ours.GetSafeHwnd(), nullptr);
    control = nullptr;
}

// Sets BS_OWNERDRAW before it is subclassed and draws itself through the reflected WM_DRAWITEM.
class COwnerDrawnButton : public CWnd {
public:
    HWND hwnd_in_pre_subclass = nullptr;
    int draws = 0;
    HWND drawn_item = nullptr;

protected:
    void PreSubclassWindow() override {
        hwnd_in_pre_subclass = GetSafeHwnd();
        ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    }
    bool DrawItem(DRAWITEMSTRUCT* item) override {
        ++draws;
        drawn_item = item->hwndItem;
        ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        return true;
    }
};

TEST(PreSubclassWindow, SeesTheWindowFirstAndMakesAnOwnerDrawnButton) {
    struct CHost : CDialog {
        CHost() : CDialog(IDD_TEST_DIALOG) {}
        int parent_draw_items = 0;
        COwnerDrawnButton button;
        BOOL OnInitDialog() override {
            EXPECT_TRUE(button.SubclassDlgItem(IDC_TEST_BUTTON, this));
            return TRUE;
        }
        LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
            LRESULT result = CDialog::WindowProc(msg, wparam, lparam);
            if (msg == WM_DRAWITEM)
                ++parent_draw_items;
            return result;
        }
    } dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
    HWND button = dialog.GetDlgItem(IDC_TEST_BUTTON);
    EXPECT_EQ(dialog.button.hwnd_in_pre_subclass, button);
    EXPECT_EQ(::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    ::ShowWindow(dialog.GetSafeHwnd(), SW_SHOWNA);
    ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(dialog.button.draws, 1);
    EXPECT_EQ(dialog.button.drawn_item, button);
    EXPECT_EQ(dialog.parent_draw_items, dialog.button.draws);
    dialog.DestroyWindow();
}

// Counts what it sees of its window's creation.
class CCreationProbe : public CWnd {
public:
    std::vector<UINT> first_messages;
    bool pre_subclassed = false;
    std::function<void()> on_create;

protected:
    void PreSubclassWindow() override { pre_subclassed = true; }
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if (first_messages.size() < 3)
            first_messages.push_back(msg);
        if (msg == WM_CREATE && on_create)
            on_create();
        return CWnd::WindowProc(msg, wparam, lparam);
    }
};

HWND CreateStatic(HWND parent) {
    return ::CreateWindowExW(0, L"STATIC", L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 5, 5, parent, nullptr,
                             nullptr, nullptr);
}

TEST(CreationHook, WindowsCreatedWhileAnotherIsBeingCreatedGoToTheirOwnObjects) {
    CCreationProbe outer, inner;
    HWND plain_child = nullptr;
    outer.on_create = [&] {
        // A window created by the outer one's handler, with and without an object of its own.
        EXPECT_TRUE(inner.Create(WS_CHILD, RECT{0, 0, 5, 5}, &outer, 2));
        plain_child = CreateStatic(outer.GetSafeHwnd());
    };
    ASSERT_TRUE(outer.Create(WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    EXPECT_TRUE(outer.pre_subclassed);
    EXPECT_TRUE(inner.pre_subclassed);
    for (CCreationProbe* probe : {&outer, &inner}) {
        ASSERT_FALSE(probe->first_messages.empty());
        EXPECT_NE(std::find(probe->first_messages.begin(), probe->first_messages.end(),
                            static_cast<UINT>(WM_NCCREATE)),
                  probe->first_messages.end());
    }
    EXPECT_EQ(::GetParent(inner.GetSafeHwnd()), outer.GetSafeHwnd());
    ASSERT_NE(plain_child, nullptr);
    EXPECT_EQ(CWnd::FromHandle(plain_child), nullptr) << "a window nobody asked for was taken";
    outer.DestroyWindow();
    EXPECT_EQ(inner.GetSafeHwnd(), nullptr);
}

TEST(CreationHook, AnInnerHookTakesTheNextWindowAndTheOuterOneTheWindowAfterIt) {
    CCreationProbe outer, inner;
    HWND first = nullptr, second = nullptr, third = nullptr;
    {
        CWindowCreationHook outer_hook(&outer);
        {
            CWindowCreationHook inner_hook(&inner);
            first = CreateStatic(nullptr);
        }
        second = CreateStatic(nullptr);
    }
    third = CreateStatic(nullptr);
    EXPECT_EQ(CWnd::FromHandle(first), &inner);
    EXPECT_EQ(CWnd::FromHandle(second), &outer);
    EXPECT_EQ(CWnd::FromHandle(third), nullptr) << "a hook outlived its scope";
    EXPECT_EQ(inner.first_messages.front(), static_cast<UINT>(WM_NCCREATE));
    for (HWND hwnd : {first, second, third})
        ::DestroyWindow(hwnd);
}

TEST(CreationHook, AFailedCreationLeavesNoObjectWaitingForTheNextWindow) {
    CCreationProbe probe;
    {
        CWindowCreationHook hook(&probe);
        EXPECT_EQ(::CreateWindowExW(0, L"NoSuchClassAnywhere", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    nullptr, nullptr),
                  nullptr);
    }
    HWND later = CreateStatic(nullptr);
    EXPECT_EQ(CWnd::FromHandle(later), nullptr);
    EXPECT_EQ(probe.GetSafeHwnd(), nullptr);
    ::DestroyWindow(later);

    // A window that refuses its creation leaves its object free for another try.
    struct CRefusing : CWnd {
        LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
            return msg == WM_CREATE ? -1 : CWnd::WindowProc(msg, wparam, lparam);
        }
    } refusing;
    EXPECT_FALSE(refusing.Create(WS_POPUP, RECT{0, 0, 5, 5}, nullptr, 0));
    EXPECT_EQ(refusing.GetSafeHwnd(), nullptr);
}

} // namespace
