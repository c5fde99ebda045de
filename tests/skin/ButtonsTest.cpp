#include "skin/NVXButton.h"
#include "skin/NVXStatic.h"
#include "skin/NVXTextButton.h"

#include "tests/support/DiagnosticRecorder.h"
#include "resources/artwork.h"
#include "skin/Direct2DEntry.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"
#include "tests/skin/LostDraws.h"
#include "tests/skin/SkinTestWindow.h"
#include "tests/support/InstallerProcess.h"

#include <string>
#include <vector>

namespace {

using namespace skintest;

constexpr int kTextButtonId = 301;
constexpr int kPictureButtonId = 302;
constexpr int kLinkId = 303;
constexpr RECT kTextButtonRect{20, 20, 140, 56};     // 120 x 36
constexpr RECT kPictureButtonRect{160, 20, 192, 52}; // 32 x 32
constexpr RECT kLinkRect{20, 80, 180, 108};          // 160 x 28
constexpr DWORD kWaitMs = 5000;

class ButtonsTest : public SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        ASSERT_TRUE(frame_.Open(400, 240));
        text_button_.SubclassWindow(
            frame_.AddChild(L"Button", BS_OWNERDRAW | WS_TABSTOP, kTextButtonRect, kTextButtonId));
        text_button_.SetText(L"Install");
        picture_button_.SubclassWindow(
            frame_.AddChild(L"Button", WS_TABSTOP, kPictureButtonRect, kPictureButtonId));
        const COLORREF background = theThemePalette.window_background;
        picture_button_.SetAppearance(background, theThemePalette.combo_background,
                                      theThemePalette.combo_arrow_background, theThemePalette.label_text,
                                      L"");
        picture_button_.SetImage(LoadPngResource(PickDpiVariant(IDB_CHECK_BOX_CHECKED)));
        link_.SubclassWindow(frame_.AddChild(L"Static", SS_NOTIFY | WS_TABSTOP, kLinkRect, kLinkId));
        link_.text = L"Terms";
        link_.font = theThemeFonts.font_link.get();
        link_.text_color = RGB(89, 134, 178);
        link_.background_color = theThemePalette.window_background;
        link_.draw_flags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
        link_.is_link = 1;
        ::RedrawWindow(frame_.GetSafeHwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Settle();
    }

    HWND Text() const { return text_button_.GetSafeHwnd(); }
    HWND Picture() const { return picture_button_.GetSafeHwnd(); }
    POINT Inside(HWND control) const { return ClientPoint(control, 6, 6); }
    POINT Outside() const { return ClientPoint(frame_.GetSafeHwnd(), 300, 200); }
    // The text button's fill, left of its caption; its corner shows the surround.
    COLORREF TextFill() const { return ClientPixel(Text(), 6, 18); }
    bool WaitFor(auto condition) { return nvxtest::WaitUntil(condition, kWaitMs); }
    int Clicks(int id) { return frame_.clicks[id]; }

    CTestFrame frame_;
    CNVXTextButton text_button_;
    CNVXButton picture_button_;
    CNVXStatic link_;
};

// A press and a release of the left button, each inside or outside the button.
struct PressRelease {
    bool press_inside;
    bool release_inside;
    int clicks;
};
const PressRelease kPressRelease[] = {{true, true, 1}, {true, false, 0}, {false, true, 0}, {false, false, 0}};

TEST_F(ButtonsTest, AButtonClicksOnlyWhenPressedAndReleasedOnIt) {
    for (HWND button : {Text(), Picture()}) {
        const int id = ::GetDlgCtrlID(button);
        for (const auto& c : kPressRelease) {
            SCOPED_TRACE(testing::Message()
                         << "button " << id << ", press " << (c.press_inside ? "in" : "out") << ", release "
                         << (c.release_inside ? "in" : "out"));
            frame_.clicks.clear();
            MoveMouse(c.press_inside ? Inside(button) : Outside());
            PressLeft();
            MoveMouse(c.release_inside ? Inside(button) : Outside());
            ReleaseLeft();
            Settle();
            EXPECT_EQ(Clicks(id), c.clicks);
            EXPECT_EQ(::GetCapture(), nullptr);
        }
    }
}

TEST_F(ButtonsTest, ADoubleClickIsTwoClicks) {
    for (CWnd* button : {static_cast<CWnd*>(&text_button_), static_cast<CWnd*>(&picture_button_)}) {
        frame_.clicks.clear();
        const POINT inside = Inside(button->GetSafeHwnd());
        const LPARAM at = MAKELPARAM(6, 6);
        // As the modal loop hands them over: each message offered to PreTranslateMessage first.
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            MSG msg{button->GetSafeHwnd(), message, message == WM_LBUTTONUP ? 0u : MK_LBUTTON, at, 0, inside};
            if (!button->PreTranslateMessage(&msg))
                ::DispatchMessageW(&msg);
        }
        Settle();
        EXPECT_EQ(Clicks(::GetDlgCtrlID(button->GetSafeHwnd())), 2);
    }
}

TEST_F(ButtonsTest, TextButtonFillsFollowTheState) {
    const ThemePalette& p = theThemePalette;
    EXPECT_TRUE(SameColor(TextFill(), p.action_normal));
    EXPECT_TRUE(SameColor(ClientPixel(Text(), 0, 0), p.window_background)) << "corner outside the rounding";
    // The caption is drawn (DirectWrite with Tahoma), white, in the middle of the button.
    EXPECT_GT(CountClientPixels(Text(), {30, 8, 90, 28}, p.action_text, 30), 15);

    MoveMouse(Inside(Text()));
    EXPECT_TRUE(WaitFor([&] { return TextFill() == p.action_hover; })) << ColorText(TextFill());
    // Held down under the mouse, hover wins over pressed.
    PressLeft();
    Settle();
    EXPECT_EQ(text_button_.state.pressed, 1);
    EXPECT_TRUE(SameColor(TextFill(), p.action_hover));
    // Pressed and away from it: the pressed fill.
    MoveMouse(Outside());
    EXPECT_TRUE(WaitFor([&] { return TextFill() == p.action_pressed; })) << ColorText(TextFill());
    ReleaseLeft();
    EXPECT_TRUE(WaitFor([&] { return TextFill() == p.action_normal; })) << ColorText(TextFill());
}

TEST_F(ButtonsTest, ADisabledTextButtonIgnoresTheMouseUntilEnabled) {
    const ThemePalette& p = theThemePalette;
    text_button_.SetEnabled(false);
    Settle();
    EXPECT_TRUE(SameColor(TextFill(), p.action_disabled));
    EXPECT_GT(CountClientPixels(Text(), {30, 8, 90, 28}, p.action_text_disabled, 30), 15);
    MoveMouse(Inside(Text()));
    EXPECT_EQ(text_button_.state.hover, 0);
    PressLeft();
    ReleaseLeft();
    ::SendMessageW(Text(), BM_CLICK, 0, 0);
    Settle();
    EXPECT_EQ(Clicks(kTextButtonId), 0);
    EXPECT_TRUE(SameColor(TextFill(), p.action_disabled));

    // Enabled again it repaints at once (nothing is left to paint), and clicks.
    text_button_.SetEnabled(true);
    EXPECT_FALSE(::GetUpdateRect(Text(), nullptr, FALSE));
    Settle();
    EXPECT_TRUE(SameColor(TextFill(), p.action_normal));
    ClickAt(Inside(Text()));
    EXPECT_TRUE(WaitFor([&] { return Clicks(kTextButtonId) == 1; }));
}

TEST_F(ButtonsTest, DisablingDuringAPressEndsItWithoutAClick) {
    MoveMouse(Inside(Text()));
    PressLeft();
    ASSERT_EQ(::GetCapture(), Text());
    text_button_.SetEnabled(false);
    EXPECT_EQ(::GetCapture(), nullptr);
    ReleaseLeft();
    text_button_.SetEnabled(true);
    Settle();
    EXPECT_EQ(Clicks(kTextButtonId), 0);
    ClickAt(Inside(Text()));
    EXPECT_TRUE(WaitFor([&] { return Clicks(kTextButtonId) == 1; }));
}

TEST_F(ButtonsTest, WithoutDirect2DTheTextButtonDrawsWithGdi) {
    CDiagnosticRecorder diagnostics;
    CDirect2DEntryOverride no_direct2d(
        {[](D2D1_FACTORY_TYPE, REFIID, void**) { return E_NOINTERFACE; },
         [](DWRITE_FACTORY_TYPE, REFIID, IUnknown**) { return E_NOINTERFACE; }});
    CNVXTextButton fallback;
    fallback.SubclassWindow(frame_.AddChild(L"Button", BS_OWNERDRAW, {20, 140, 140, 176}, 310));
    fallback.SetText(L"Install");
    ::UpdateWindow(fallback.GetSafeHwnd());
    Settle();
    const ThemePalette& p = theThemePalette;
    EXPECT_TRUE(SameColor(ClientPixel(fallback.GetSafeHwnd(), 0, 0), p.action_normal)) << "a flat rectangle";
    EXPECT_GT(CountClientPixels(fallback.GetSafeHwnd(), {30, 8, 90, 28}, p.action_text, 30), 15);
    const std::vector<std::wstring> lines = diagnostics.Texts(L"skin");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), L"Failed to cread Direct2D Factory");
}

// A lost device: the draw that ends in D2DERR_RECREATE_TARGET gives back all four render
// resources; the next paint makes them anew and draws the button as it stands.
TEST_F(ButtonsTest, ALostRenderTargetIsMadeAnewForTheNextPaint) {
    const long resources = CNVXTextButton::LiveRenderResources();
    ASSERT_GE(resources, 4) << "the button drew with Direct2D";
    CLostDraws draws(1);
    const ThemePalette& p = theThemePalette;
    auto repaint = [&] {
        ::RedrawWindow(Text(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Settle();
    };

    text_button_.SetEnabled(false); // a new look: drawn, and the draw is lost
    EXPECT_EQ(CNVXTextButton::LiveRenderResources(), resources - 4);
    EXPECT_EQ(draws.factories, 0);
    repaint();
    EXPECT_EQ(draws.factories, 1);
    EXPECT_EQ(CNVXTextButton::LiveRenderResources(), resources);
    EXPECT_TRUE(SameColor(TextFill(), p.action_disabled));
    EXPECT_GT(CountClientPixels(Text(), {30, 8, 90, 28}, p.action_text_disabled, 30), 15) << "the caption";

    // Made once: later looks reuse them.
    text_button_.SetEnabled(true);
    repaint();
    EXPECT_EQ(draws.factories, 1);
    EXPECT_TRUE(SameColor(TextFill(), p.action_normal));
}

TEST_F(ButtonsTest, PictureButtonShowsItsStatesAndPicture) {
    const ThemePalette& p = theThemePalette;
    // The check box picture: its frame is light, its inside dark.
    const int size = 32;
    const int glyph = 16;
    const int left = (size - glyph) / 2;
    EXPECT_TRUE(SameColor(ClientPixel(Picture(), 1, 1), p.window_background));
    EXPECT_GT(CountClientPixels(Picture(), {left, left, left + glyph, left + glyph}, p.window_background, 8),
              0);
    EXPECT_LT(CountClientPixels(Picture(), {left, left, left + glyph, left + glyph}, p.window_background, 8),
              glyph * glyph);

    MoveMouse(Inside(Picture()));
    ASSERT_TRUE(WaitFor([&] { return picture_button_.state.hover != 0; }));
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(Picture(), 2, 2) == p.combo_background; }))
        << ColorText(ClientPixel(Picture(), 2, 2));
    EXPECT_TRUE(SameColor(ClientPixel(Picture(), 0, 0), p.label_text)) << "the state rectangle's border";
    PressLeft();
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(Picture(), 2, 2) == p.combo_arrow_background; }));
    ReleaseLeft();
    MoveMouse(Outside());
    EXPECT_TRUE(WaitFor([&] { return ClientPixel(Picture(), 2, 2) == p.window_background; }));

    // Without a picture only the background is left.
    picture_button_.SetImage(LoadPngResource(4242));
    picture_button_.Invalidate(TRUE);
    Settle();
    EXPECT_EQ(CountClientPixels(Picture(), {0, 0, size, size}, p.window_background), size * size);
}

TEST_F(ButtonsTest, PictureButtonCaptionInTheButtonFont) {
    const COLORREF arrow = theThemePalette.combo_arrow_background;
    picture_button_.SetAppearance(arrow, arrow, arrow, arrow, L"...");
    picture_button_.Invalidate(TRUE);
    Settle();
    EXPECT_TRUE(SameColor(ClientPixel(Picture(), 1, 1), arrow));
    EXPECT_GT(CountClientPixels(Picture(), {0, 0, 32, 32}, theThemePalette.title_text, 60), 2);
}

TEST_F(ButtonsTest, ALinkShowsTheHandAndItsFocusAndReportsClicks) {
    HWND link = link_.GetSafeHwnd();
    const COLORREF background = theThemePalette.window_background;
    EXPECT_GT(CountClientPixels(link, {0, 0, 160, 28}, RGB(89, 134, 178), 40), 10) << "the link text";
    // No focus rectangle: the row two pixels in is background throughout.
    EXPECT_EQ(CountClientPixels(link, {2, 2, 158, 3}, background), 156);

    ::SetFocus(link);
    Settle();
    EXPECT_EQ(link_.focused, 1);
    EXPECT_LT(CountClientPixels(link, {2, 2, 158, 3}, background), 156) << "a dotted focus rectangle";
    EXPECT_EQ(CountClientPixels(link, {0, 0, 160, 2}, background), 320) << "nothing outside it";
    ::SetFocus(Text());
    Settle();
    EXPECT_EQ(link_.focused, 0);
    EXPECT_EQ(CountClientPixels(link, {2, 2, 158, 3}, background), 156);

    MoveMouse(ClientPoint(link, 80, 14));
    Settle();
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    ClickAt(ClientPoint(link, 80, 14));
    EXPECT_TRUE(WaitFor([&] { return Clicks(kLinkId) == 1; }));
}

TEST_F(ButtonsTest, ALabelDrawsItsTextInTheFallbackFontWithoutOne) {
    CNVXStatic label;
    label.SubclassWindow(frame_.AddChild(L"Static", 0, {200, 80, 380, 108}, 320));
    label.text = L"Fallback";
    label.text_color = theThemePalette.label_text;
    label.background_color = theThemePalette.combo_background;
    label.draw_flags = DT_SINGLELINE | DT_VCENTER;
    label.Invalidate(TRUE);
    Settle();
    HWND hwnd = label.GetSafeHwnd();
    EXPECT_TRUE(SameColor(ClientPixel(hwnd, 170, 2), theThemePalette.combo_background));
    EXPECT_GT(CountClientPixels(hwnd, {0, 0, 180, 28}, theThemePalette.label_text, 30), 10);
}

// A label keeps its last picture between paints; whatever changes the picture must show at the
// next paint.
TEST_F(ButtonsTest, ALabelShowsEveryChangeAtTheNextPaint) {
    CNVXStatic label;
    label.SubclassWindow(frame_.AddChild(L"Static", 0, {200, 80, 380, 108}, 320));
    HWND hwnd = label.GetSafeHwnd();
    label.text = L"Installation folder";
    label.font = theThemeFonts.font_body.get();
    label.text_color = theThemePalette.label_text;
    label.background_color = theThemePalette.window_background;
    label.draw_flags = DT_SINGLELINE | DT_VCENTER;
    auto repaint = [&] {
        label.Invalidate(TRUE);
        Settle();
    };
    auto ink = [&](COLORREF color, RECT area = {0, 0, 180, 28}) {
        return CountClientPixels(hwnd, area, color, 30);
    };
    constexpr RECT kLeftEnd{0, 0, 20, 28};
    constexpr COLORREF kRed = RGB(230, 70, 40);
    repaint();
    ASSERT_GT(ink(theThemePalette.label_text), 10);
    ASSERT_GT(ink(theThemePalette.label_text, kLeftEnd), 0);

    label.text_color = kRed;
    repaint();
    EXPECT_EQ(ink(theThemePalette.label_text), 0) << "the old colour is gone";
    const int body_ink = ink(kRed);
    EXPECT_GT(body_ink, 10);

    label.background_color = theThemePalette.combo_background;
    repaint();
    EXPECT_TRUE(SameColor(ClientPixel(hwnd, 176, 2), theThemePalette.combo_background));

    label.draw_flags = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
    repaint();
    EXPECT_EQ(ink(kRed, kLeftEnd), 0) << "right-aligned: the left end is empty";
    EXPECT_GT(ink(kRed), 10);

    label.font = theThemeFonts.font_title.get();
    repaint();
    EXPECT_GT(ink(kRed), body_ink + 10) << "the title font is larger";

    label.text.clear();
    repaint();
    EXPECT_EQ(ink(kRed), 0) << "no text, no ink";

    // A larger window shows the label over all of it.
    label.text = L"Go";
    ::SetWindowPos(hwnd, nullptr, 0, 0, 190, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    repaint();
    EXPECT_TRUE(SameColor(ClientPixel(hwnd, 188, 38), theThemePalette.combo_background));
    EXPECT_GT(ink(kRed, {150, 0, 190, 40}), 10) << "at the right end of the wider window";
}

TEST_F(ButtonsTest, DestroyingButtonsDuringAPressIsHarmless) {
    MoveMouse(Inside(Text()));
    PressLeft();
    Settle();
    ASSERT_EQ(::GetCapture(), Text());
    ASSERT_TRUE(text_button_.DestroyWindow());
    EXPECT_EQ(::GetCapture(), nullptr);
    ReleaseLeft();

    MoveMouse(Inside(Picture()));
    PressLeft();
    Settle();
    ASSERT_EQ(::GetCapture(), Picture());
    ASSERT_TRUE(frame_.DestroyWindow()); // the parent goes, and the button with it
    ReleaseLeft();
    Settle();
    EXPECT_EQ(frame_.clicks.size(), 0u);
}

} // namespace
