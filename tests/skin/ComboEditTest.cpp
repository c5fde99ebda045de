#include "skin/ComboGeometry.h"
#include "skin/NVXComboBox.h"
#include "skin/NVXEdit.h"
#include "skin/ScreenDpi.h"
#include "tests/skin/SkinControlHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

using skintest::CCapture;
using skintest::SameColour;

constexpr int kComboId = 141;

class ComboBoxTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(Open(0, 0, 400, 300, 200)); }

    // A combo as the settings page makes it: template styles, read-only edit part, the page's
    // colours, the selection field's height.
    void Open(int x, int y, int host_width, int host_height, int combo_width) {
        ASSERT_TRUE(host_.Open(x, y, host_width, host_height));
        HWND hwnd = ::CreateWindowExW(0, L"COMBOBOX", L"",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN |
                                          CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                      10, 10, combo_width, 200, host_, reinterpret_cast<HMENU>(kComboId),
                                      ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(hwnd, nullptr);
        ASSERT_TRUE(combo_.SubclassWindow(hwnd));
        const ThemePalette& palette = theThemePalette;
        combo_.background_color = palette.combo_background;
        combo_.arrow_background_color = palette.combo_arrow_background;
        combo_.border_color = palette.combo_background;
        combo_.font = &theThemeFonts.font_body;
        combo_.list().font = &theThemeFonts.font_body;
        ASSERT_TRUE(combo_.edit_part().GetSafeHwnd());
        combo_.edit_part().SendMessage(EM_SETREADONLY, TRUE);
        combo_.SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), ScaleExactY(24));
        ::SetWindowPos(combo_, nullptr, 10, 10, combo_width, ScaleExactY(24) + 2, SWP_NOZORDER);
    }

    void AddItems(std::initializer_list<const wchar_t*> items) {
        for (const wchar_t* item : items)
            combo_.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    bool IsDropped() { return combo_.SendMessage(CB_GETDROPPEDSTATE) != FALSE; }
    RECT ListRect() {
        RECT rect{};
        ::GetWindowRect(combo_.list(), &rect);
        return rect;
    }
    void Click(int x, int y) { skintest::MouseAt(skintest::ScreenPoint(combo_, x, y), MOUSEEVENTF_LEFTDOWN); }
    // Moves the mouse off every window of the test.
    void MouseAway() { skintest::MouseAt({1200, 1000}, 0); }

    skintest::CHostWindow host_;
    CNVXComboBox combo_;
};

TEST_F(ComboBoxTest, AttachesToItsPartsAndHidesTheEditPart) {
    EXPECT_FALSE(::IsWindowVisible(combo_.edit_part()));
    EXPECT_TRUE(combo_.list().GetSafeHwnd());
    EXPECT_TRUE(combo_.list().GetStyle() & LBS_OWNERDRAWFIXED);
    // The arrow rectangle: the chevron frame (a third of the strip) and its margins.
    const RECT client = combo_.GetClientRect();
    const int frames[] = {14, 18, 21, 28}; // a third of the strip at 100, 125, 150 and 200 %
    const int frame = frames[PickDpiVariant(144) - 144];
    EXPECT_EQ(combo_.arrow_rect().right - combo_.arrow_rect().left, frame + ScaleExactX(4));
    EXPECT_EQ(combo_.arrow_rect().left, client.right - frame - 2 * ScaleExactX(4));
}

// The closed box in the page's colours: body, arrow area, chevron, outline, text.
TEST_F(ComboBoxTest, PaintsTheClosedBoxInThePaletteColours) {
    const ThemePalette& palette = theThemePalette;
    AddItems({L"English", L"Deutsch"});
    MouseAway();
    skintest::WaitFor([&] { return !combo_.is_hot(); });
    skintest::PaintNow(host_);
    const RECT client = combo_.GetClientRect();
    const int w = client.right;
    const int h = client.bottom;
    const int arrow = std::max(ScaleX(14), ScaleX(24));
    {
        const CCapture closed(combo_);
        EXPECT_TRUE(SameColour(closed.At(0, 0), palette.combo_background, 0)) << "outline";
        EXPECT_TRUE(SameColour(closed.At(w / 2, h / 2), palette.combo_background, 0)) << "body, no selection";
        EXPECT_TRUE(SameColour(closed.At(w - arrow + 1, 2), palette.combo_arrow_background, 0))
            << "arrow area";
        EXPECT_TRUE(SameColour(closed.At(w - arrow - 1, 2), palette.combo_background, 0))
            << "left of the arrow";
        // The chevron stands out of the arrow area in its middle.
        int chevron_pixels = 0;
        for (int x = w - arrow; x < w; ++x)
            chevron_pixels += !SameColour(closed.At(x, h / 2), palette.combo_arrow_background, 0);
        EXPECT_GT(chevron_pixels, 0);
    }
    // A selection shows its text in the text colour, left of the arrow area.
    combo_.SendMessage(CB_SETCURSEL, 0);
    skintest::PaintNow(host_);
    const CCapture selected(combo_);
    int bright = 0;
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - arrow; ++x)
            bright += GetRValue(selected.At(x, y)) > 200 && GetGValue(selected.At(x, y)) > 200;
    EXPECT_GT(bright, 10) << "text of the selected item";
}

// Under the mouse the outline takes the hot colour and the chevron the light frame.
TEST_F(ComboBoxTest, TheHotLookFollowsTheMouse) {
    combo_.border_color = RGB(73, 90, 105);
    MouseAway();
    skintest::WaitFor([&] { return !combo_.is_hot(); });
    skintest::PaintNow(host_);
    const RECT client = combo_.GetClientRect();
    const CCapture cold(combo_);
    EXPECT_TRUE(SameColour(cold.At(0, 0), RGB(73, 90, 105), 0));
    skintest::MouseAt(skintest::ScreenPoint(combo_, client.right / 3, client.bottom / 2), 0);
    ASSERT_TRUE(skintest::WaitFor([&] { return combo_.is_hot(); }));
    const CCapture hot(combo_);
    EXPECT_TRUE(SameColour(hot.At(0, 0), combo_.hot_border_color, 0));
    EXPECT_TRUE(SameColour(hot.At(client.right - 1, client.bottom - 1), combo_.hot_border_color, 0));
    // The light chevron frame is brighter than the mid grey one.
    int cold_sum = 0;
    int hot_sum = 0;
    for (int x = client.right - ScaleX(24); x < client.right - 1; ++x) {
        cold_sum += GetGValue(cold.At(x, client.bottom / 2));
        hot_sum += GetGValue(hot.At(x, client.bottom / 2));
    }
    EXPECT_GT(hot_sum, cold_sum);
    MouseAway();
    EXPECT_TRUE(skintest::WaitFor([&] { return !combo_.is_hot(); }));
}

// Clicking anywhere on the closed box opens the list; clicking again closes it. The list keeps
// the hot look while it is open, and is seven rows high.
TEST_F(ComboBoxTest, AClickOpensTheListAndTheNextClosesIt) {
    for (int i = 0; i < 12; ++i)
        combo_.SendMessage(CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>((L"Item " + std::to_wstring(i)).c_str()));
    const RECT client = combo_.GetClientRect();
    for (POINT at : {POINT{client.right / 4, client.bottom / 2}, POINT{client.right - 3, 3}}) {
        SCOPED_TRACE(testing::Message() << "click at " << at.x << ", " << at.y);
        Click(at.x, at.y);
        ASSERT_TRUE(skintest::WaitFor([&] { return IsDropped() && ::IsWindowVisible(combo_.list()); }));
        const RECT list = ListRect();
        EXPECT_EQ(list.bottom - list.top, ComboListHeight(ScreenDpiScale().dpi_y));
        if (ScreenDpiScale().dpi_y == 96) {
            EXPECT_EQ(list.bottom - list.top, 154);
        }
        EXPECT_GE(list.right - list.left, combo_.GetWindowRect().right - combo_.GetWindowRect().left);
        // Out of the box with the list open: still hot.
        MouseAway();
        ASSERT_TRUE(skintest::WaitFor(skintest::InputProcessed));
        EXPECT_TRUE(combo_.is_hot());
        Click(at.x, at.y);
        ASSERT_TRUE(skintest::WaitFor([&] { return !IsDropped() && !::IsWindowVisible(combo_.list()); }));
    }
    // Closed by a click elsewhere, away from the box: the hot look goes with the list.
    Click(client.right / 2, client.bottom / 2);
    ASSERT_TRUE(skintest::WaitFor([&] { return IsDropped(); }));
    MouseAway();
    ASSERT_TRUE(skintest::WaitFor(skintest::InputProcessed));
    EXPECT_TRUE(combo_.is_hot());
    skintest::MouseAt(skintest::ScreenPoint(host_, 300, 250), MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(skintest::WaitFor([&] { return !IsDropped(); }));
    EXPECT_TRUE(skintest::WaitFor([&] { return !combo_.is_hot(); }))
        << "closing the list clears the hot look";
}

// The open list in its colours: frame, item background, the selected item's background.
TEST_F(ComboBoxTest, TheListIsDrawnInItsColours) {
    AddItems({L"one", L"two", L"three"});
    combo_.SendMessage(CB_SETCURSEL, 1);
    combo_.SendMessage(CB_SHOWDROPDOWN, TRUE);
    ASSERT_TRUE(skintest::WaitFor([&] { return ::IsWindowVisible(combo_.list()); }));
    skintest::PaintNow(combo_.list());
    const CCapture list(combo_.list());
    const CNVXComboBox_ListBox& colours = combo_.list();
    const int row = static_cast<int>(combo_.list().SendMessage(LB_GETITEMHEIGHT, 0));
    EXPECT_TRUE(SameColour(list.At(0, 0), colours.border_color, 0)) << "frame";
    EXPECT_TRUE(SameColour(list.At(list.width() / 2, list.height() - 1), colours.border_color, 0)) << "frame";
    EXPECT_TRUE(SameColour(list.At(list.width() - 12, 1 + row / 2), colours.background_color, 0)) << "item";
    EXPECT_TRUE(
        SameColour(list.At(list.width() - 12, 1 + row + row / 2), colours.selected_background_color, 0))
        << "selected item";
    EXPECT_TRUE(SameColour(list.At(list.width() / 2, list.height() - 4), colours.background_color, 0))
        << "below the last item";
    combo_.SendMessage(CB_SHOWDROPDOWN, FALSE);
}

// 31 items: the list is wide enough for the widest one, the scroll bar and the margins.
TEST_F(ComboBoxTest, TheDroppedWidthFitsTheWidestItem) {
    const std::wstring wide(30, L'W');
    for (int i = 0; i < 31; ++i)
        combo_.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(i == 7 ? wide.c_str() : L"x"));
    SIZE text{};
    {
        nvx::ClientDc dc(combo_);
        nvx::SelectObjectScope font(dc.get(), theThemeFonts.font_body.get());
        ::GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &text);
    }
    ASSERT_GT(text.cx, combo_.GetWindowRect().right - combo_.GetWindowRect().left);
    combo_.SendMessage(CB_SHOWDROPDOWN, TRUE);
    ASSERT_TRUE(skintest::WaitFor([&] { return ::IsWindowVisible(combo_.list()); }));
    const int width = static_cast<int>(combo_.SendMessage(CB_GETDROPPEDWIDTH));
    EXPECT_GE(width,
              text.cx + ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ScaleExactX(::GetSystemMetrics(SM_CXEDGE)));
    EXPECT_EQ(ListRect().right - ListRect().left, width);
    combo_.SendMessage(CB_SHOWDROPDOWN, FALSE);
}

class ComboBoxAtTheScreenEdgeTest : public ComboBoxTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(Open(ScreenRight() - 130, 100, 130, 100, 100)); }
    static int ScreenRight() { return ::GetSystemMetrics(SM_CXSCREEN); }
};

// A list that would pass the monitor's right edge is moved left by its overhang.
TEST_F(ComboBoxAtTheScreenEdgeTest, TheListStaysOnTheMonitor) {
    const std::wstring wide(30, L'W');
    AddItems({wide.c_str(), L"short"});
    combo_.SendMessage(CB_SHOWDROPDOWN, TRUE);
    ASSERT_TRUE(skintest::WaitFor([&] { return ::IsWindowVisible(combo_.list()); }));
    skintest::PaintNow(combo_.list());
    const RECT list = ListRect();
    EXPECT_GT(list.right - list.left, 130);
    EXPECT_EQ(list.right, ScreenRight());
    combo_.SendMessage(CB_SHOWDROPDOWN, FALSE);
}

// ---- Edit ------------------------------------------------------------------------------------

// Looks for context menus of this process while a test runs, and closes any it finds.
class ContextMenuWatch {
public:
    ContextMenuWatch()
        : thread_([this] {
              while (!stop_) {
                  if (HWND menu = ::FindWindowW(L"#32768", nullptr); menu && ::IsWindowVisible(menu)) {
                      DWORD process = 0;
                      ::GetWindowThreadProcessId(menu, &process);
                      if (process == ::GetCurrentProcessId()) {
                          seen_ = true;
                          ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                      }
                  }
                  ::Sleep(10);
              }
          }) {}
    ~ContextMenuWatch() {
        stop_ = true;
        thread_.join();
    }
    bool seen() const { return seen_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> seen_{false};
    std::thread thread_;
};

class EditTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host_.Open(0, 0, 500, 200));
        HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", kFolder,
                                      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 20, 30,
                                      380, ScaleY(24), host_, reinterpret_cast<HMENU>(143),
                                      ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(hwnd, nullptr);
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(theThemeFonts.font_body.get()), TRUE);
        ASSERT_TRUE(edit_.SubclassWindow(hwnd));
        // As the settings page sets it up.
        edit_.border_color = theThemePalette.combo_background;
        edit_.background_color = theThemePalette.combo_background;
        edit_.RecreateBackgroundBrush();
        edit_.input_mode = 2;
        ::SetFocus(host_);
    }
    std::pair<DWORD, DWORD> Selection() {
        DWORD start = 0;
        DWORD end = 0;
        edit_.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    POINT AtText(int x) { return skintest::ScreenPoint(edit_, x, edit_.GetClientRect().bottom / 2); }

    static constexpr const wchar_t* kFolder = L"C:\\Program Files\\Lumetra";
    skintest::CHostWindow host_;
    CNVXEdit edit_;
};

TEST_F(EditTest, AttachingRemovesTheBorderAndCentresTheLine) {
    EXPECT_FALSE(edit_.GetStyle() & WS_BORDER);
    EXPECT_FALSE(edit_.GetExStyle() & WS_EX_CLIENTEDGE);
    RECT window = edit_.GetWindowRect();
    RECT client = edit_.GetClientRect();
    ::MapWindowPoints(edit_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    TEXTMETRICW metrics{};
    {
        nvx::ClientDc dc(edit_);
        nvx::SelectObjectScope font(dc.get(), theThemeFonts.font_body.get());
        ::GetTextMetricsW(dc.get(), &metrics);
    }
    const int inset = EditTextInset(window.bottom - window.top, metrics.tmExternalLeading, metrics.tmHeight);
    EXPECT_EQ(client.left - window.left, 1);
    EXPECT_EQ(window.right - client.right, 1);
    EXPECT_EQ(client.top - window.top, inset);
    EXPECT_EQ(window.bottom - client.bottom, inset);
    EXPECT_GT(inset, 0);
}

// The first click selects the whole folder so that a new one can be typed over it; the second
// places the caret where it lands. The frame shows the active colour once clicked.
TEST_F(EditTest, TheFirstClickSelectsAllAndTheSecondPlacesTheCaret) {
    const DWORD length = static_cast<DWORD>(std::wstring(kFolder).size());
    skintest::PaintNow(host_);
    const CCapture before(edit_);
    EXPECT_TRUE(SameColour(before.At(0, 0), theThemePalette.combo_background, 0)) << "frame";
    EXPECT_TRUE(SameColour(before.At(before.width() - 2, 1), theThemePalette.combo_background, 0)) << "strip";

    skintest::MouseAt(AtText(40), MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(skintest::WaitFor([&] { return edit_.is_active(); }));
    skintest::WaitFor([&] { return ::GetCapture() == nullptr; });
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, length));
    EXPECT_EQ(::GetFocus(), edit_.GetSafeHwnd());
    skintest::PaintNow(host_);
    const CCapture active(edit_);
    EXPECT_TRUE(SameColour(active.At(0, 0), edit_.focus_border_color, 0));
    EXPECT_TRUE(SameColour(active.At(active.width() - 1, active.height() - 1), edit_.focus_border_color, 0));

    skintest::MouseAt(AtText(90), MOUSEEVENTF_LEFTDOWN); // away from the first: no double click
    ASSERT_TRUE(skintest::WaitFor([&] {
        const auto selection = Selection();
        return selection.first == selection.second;
    }));
    EXPECT_GT(Selection().first, 0u);
    EXPECT_LT(Selection().first, length);

    // Losing the focus ends the active state: the next click selects all again.
    ::SetFocus(host_);
    EXPECT_FALSE(edit_.is_active());
    skintest::MouseAt(AtText(60), MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(skintest::WaitFor([&] { return edit_.is_active() && ::GetCapture() == nullptr; }));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, length));
}

// Right-clicks take the focus but never open the edit's context menu, nor does the menu key.
TEST_F(EditTest, NoContextMenuOpens) {
    const DWORD length = static_cast<DWORD>(std::wstring(kFolder).size());
    ContextMenuWatch watch;
    skintest::MouseAt(AtText(40), MOUSEEVENTF_RIGHTDOWN);
    ASSERT_TRUE(skintest::WaitFor([&] { return edit_.is_active(); }));
    EXPECT_EQ(::GetFocus(), edit_.GetSafeHwnd());
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, length)) << "the first right-click selects all";
    skintest::MouseAt(AtText(40), MOUSEEVENTF_RIGHTDOWN);
    ASSERT_TRUE(skintest::WaitFor([&] { return Selection() == std::make_pair(length, length); }))
        << "the next one puts the caret at the end";
    ASSERT_TRUE(skintest::WaitFor(skintest::InputProcessed));
    // The menu key's message: a menu would be shown (and closed by the watch) before this returns.
    edit_.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit_.GetSafeHwnd()), MAKELPARAM(-1, -1));
    EXPECT_FALSE(watch.seen());
}

TEST_F(EditTest, ControlKeysWorkOnTheText) {
    edit_.SendMessage(EM_SETSEL, 3, 3);
    ::SetFocus(edit_);
    auto press = [&](WORD key) {
        INPUT keys[4]{};
        for (auto& k : keys)
            k.type = INPUT_KEYBOARD;
        keys[0].ki.wVk = VK_CONTROL;
        keys[1].ki.wVk = key;
        keys[2].ki.wVk = key;
        keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
        keys[3].ki.wVk = VK_CONTROL;
        keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(4, keys, sizeof(INPUT));
    };
    press('A');
    const DWORD length = static_cast<DWORD>(std::wstring(kFolder).size());
    ASSERT_TRUE(skintest::WaitFor([&] { return Selection() == std::make_pair(DWORD{0}, length); }));
    press('X');
    ASSERT_TRUE(skintest::WaitFor([&] { return edit_.GetWindowText().empty(); }));
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT)) << "the cut text is on the clipboard";
    press('V');
    ASSERT_TRUE(skintest::WaitFor([&] { return edit_.GetWindowText() == kFolder; }));
    edit_.paste_allowed = false;
    press('V');
    ASSERT_TRUE(skintest::WaitFor(skintest::InputProcessed));
    EXPECT_EQ(edit_.GetWindowText(), kFolder);
}

} // namespace
