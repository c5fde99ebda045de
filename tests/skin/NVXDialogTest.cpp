#include "skin/NVXDialog.h"

#include "skin/ScreenDpi.h"
#include "skin/ThemePalette.h"
#include "tests/skin/SkinTestWindow.h"
#include "tests/support/InstallerProcess.h"

#include <algorithm>

namespace {

using namespace skintest;

constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr DWORD kWaitMs = 5000;

class NVXDialogTest : public SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        if (ScreenDpiScale().dpi_y != 96)
            GTEST_SKIP() << "the frame's sizes are checked at 96 DPI";
        ASSERT_TRUE(frame_.Open(kWidth, kHeight));
        hwnd_ = frame_.GetSafeHwnd();
    }

    // Points of the caption at 96 DPI, in window coordinates.
    POINT OnClose() const { return WindowPoint(hwnd_, kWidth - 16, 6); }
    POINT OnMinimize() const { return WindowPoint(hwnd_, kWidth - 46, 6); }
    POINT OnCaption() const { return WindowPoint(hwnd_, 120, 14); }
    // A pixel of a button's background, clear of its glyph.
    COLORREF CloseBackground() const { return WindowPixel(hwnd_, kWidth - 29, 3); }
    COLORREF MinimizeBackground() const { return WindowPixel(hwnd_, kWidth - 59, 3); }
    // The centre of the Close glyph (a cross of (220, 220, 220)).
    COLORREF CloseGlyphCentre() const { return WindowPixel(hwnd_, kWidth - 17, 15); }

    bool WaitFor(auto condition) { return nvxtest::WaitUntil(condition, kWaitMs); }

    CTestFrame frame_;
    HWND hwnd_ = nullptr;
};

TEST_F(NVXDialogTest, CaptionAndBorderHaveTheirSizesAndColours) {
    const RECT window = frame_.GetWindowRect();
    const POINT client = ClientPoint(hwnd_, 0, 0);
    EXPECT_EQ(client.x - window.left, 1);
    EXPECT_EQ(client.y - window.top, 29);
    const RECT client_rect = frame_.GetClientRect();
    EXPECT_EQ(client_rect.right, kWidth - 2);
    EXPECT_EQ(client_rect.bottom, kHeight - 30);

    const CaptionButton& close = frame_.caption_buttons[kCaptionClose];
    const CaptionButton& minimize = frame_.caption_buttons[kCaptionMinimize];
    EXPECT_EQ(close.button_rect, (PixelRect{kWidth - 31, 1, kWidth - 1, 31}));
    EXPECT_EQ(minimize.button_rect, (PixelRect{kWidth - 61, 1, kWidth - 31, 31}));
    EXPECT_TRUE(frame_.caption_buttons[kCaptionMaximize].button_rect.IsEmpty());
    EXPECT_FALSE(frame_.caption_buttons[kCaptionRestore].visible);

    const ThemePalette& p = theThemePalette;
    const struct {
        int x, y;
        COLORREF color;
        const char* where;
    } samples[] = {
        {0, 100, p.frame_border, "left border"},
        {kWidth - 1, 100, p.frame_border, "right border"},
        {150, 0, p.frame_border, "top border"},
        {150, kHeight - 1, p.frame_border, "bottom border"},
        {20, 14, p.caption_background, "caption strip"},
        {150, 28, p.caption_background, "caption strip, last row"},
        {kWidth - 29, 3, p.caption_background, "Close"},
        {kWidth - 59, 3, p.caption_background, "Minimize"},
        {kWidth - 17, 15, RGB(220, 220, 220), "Close glyph"},
        {kWidth - 46, 16, RGB(220, 220, 220), "Minimize glyph"},
        {150, 100, p.window_background, "client"},
    };
    for (const auto& s : samples)
        EXPECT_TRUE(SameColor(WindowPixel(hwnd_, s.x, s.y), s.color, 2)) << s.where;
}

TEST_F(NVXDialogTest, TheHotButtonFollowsTheMouse) {
    const ThemePalette& p = theThemePalette;
    MoveMouse(OnClose());
    ASSERT_TRUE(WaitFor([&] { return frame_.caption_buttons[kCaptionClose].hover != 0; }));
    EXPECT_TRUE(WaitFor([&] { return CloseBackground() == p.close_hover; })) << ColorText(CloseBackground());
    EXPECT_TRUE(SameColor(MinimizeBackground(), p.caption_background));

    MoveMouse(OnMinimize());
    ASSERT_TRUE(WaitFor([&] { return frame_.caption_buttons[kCaptionMinimize].hot != 0; }));
    EXPECT_EQ(frame_.caption_buttons[kCaptionClose].hot, 0);
    EXPECT_TRUE(WaitFor([&] { return MinimizeBackground() == p.caption_button_hover; }))
        << ColorText(MinimizeBackground());
    EXPECT_TRUE(SameColor(CloseBackground(), p.caption_background));

    MoveMouse(OnCaption());
    ASSERT_TRUE(WaitFor([&] { return frame_.caption_buttons[kCaptionMinimize].hover == 0; }));
    EXPECT_TRUE(WaitFor([&] { return MinimizeBackground() == p.caption_background; }));
}

TEST_F(NVXDialogTest, ClickingCloseAsksTheWindowToClose) {
    MoveMouse(OnClose());
    PressLeft();
    EXPECT_TRUE(WaitFor([&] { return CloseBackground() == theThemePalette.close_pressed; }))
        << ColorText(CloseBackground());
    ReleaseLeft();
    EXPECT_TRUE(WaitFor([&] { return frame_.close_requests == 1; }));
    EXPECT_NE(std::find(frame_.sys_commands.begin(), frame_.sys_commands.end(), SC_CLOSE),
              frame_.sys_commands.end());
}

TEST_F(NVXDialogTest, PressOnCloseAndReleaseOnMinimizeMinimizes) {
    MoveMouse(OnClose());
    PressLeft();
    MoveMouse(OnMinimize());
    ReleaseLeft();
    EXPECT_TRUE(WaitFor([&] { return ::IsIconic(hwnd_) != FALSE; }));
    EXPECT_EQ(frame_.close_requests, 0);
    EXPECT_NE(std::find(frame_.sys_commands.begin(), frame_.sys_commands.end(), SC_MINIMIZE),
              frame_.sys_commands.end());
}

TEST_F(NVXDialogTest, PressOnCloseAndReleaseOnTheCaptionDoesNothing) {
    MoveMouse(OnClose());
    PressLeft();
    MoveMouse(OnCaption());
    ReleaseLeft();
    Settle();
    EXPECT_EQ(frame_.close_requests, 0);
    EXPECT_FALSE(::IsIconic(hwnd_));
    EXPECT_TRUE(frame_.sys_commands.empty());
    EXPECT_TRUE(SameColor(CloseBackground(), theThemePalette.caption_background));
}

TEST_F(NVXDialogTest, ADisabledCloseIsDimmedAndInert) {
    const COLORREF normal_glyph = CloseGlyphCentre();
    frame_.caption_buttons[kCaptionClose].disabled = 1;
    frame_.RepaintFrame();
    Settle();
    // The glyph at constant alpha 50 over the caption: 24 + (220 - 24) * 50 / 255 and so on.
    EXPECT_TRUE(SameColor(normal_glyph, RGB(220, 220, 220), 2));
    EXPECT_TRUE(SameColor(CloseGlyphCentre(), RGB(62, 63, 67), 3));

    MoveMouse(OnClose());
    PressLeft();
    Settle();
    EXPECT_TRUE(SameColor(CloseBackground(), theThemePalette.caption_background));
    ReleaseLeft();
    Settle();
    EXPECT_EQ(frame_.caption_buttons[kCaptionClose].hover, 0);
    EXPECT_EQ(frame_.caption_buttons[kCaptionClose].pressed, 0);
    EXPECT_EQ(frame_.close_requests, 0);
    EXPECT_TRUE(frame_.sys_commands.empty());
}

TEST_F(NVXDialogTest, ACaptionPressKeptWhileTheMouseIsAwayEndsWhenItReturns) {
    MoveMouse(OnClose());
    PressLeft();
    MoveMouse(ClientPoint(hwnd_, 150, 100)); // into the client area: the frame is left
    Settle();
    EXPECT_EQ(frame_.caption_buttons[kCaptionClose].pressed, 1);
    EXPECT_TRUE(SameColor(CloseBackground(), theThemePalette.close_pressed));
    MoveMouse(OnCaption());
    EXPECT_TRUE(WaitFor([&] { return frame_.caption_buttons[kCaptionClose].pressed == 0; }));
    ReleaseLeft();
    Settle();
    EXPECT_EQ(frame_.close_requests, 0);
}

// Caption text pixels (the title's grey and its antialiased edges) in a part of the caption.
int TitlePixels(HWND hwnd, const RECT& window_rect) {
    const POINT client = ClientPoint(hwnd, 0, 0);
    const RECT window = [&] {
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        return r;
    }();
    RECT in_client = window_rect;
    ::OffsetRect(&in_client, window.left - client.x, window.top - client.y);
    return CountClientPixels(hwnd, in_client, theThemePalette.caption_text, 60);
}

TEST_F(NVXDialogTest, TheTitleShowsAtOnceWhenAskedFor) {
    frame_.SetWindowText(L"Lumetra Setup");
    Settle();
    const RECT title_area{2, 2, kWidth - 62, 28};
    EXPECT_EQ(TitlePixels(hwnd_, title_area), 0);
    frame_.show_caption_title = 1;
    frame_.RepaintFrame();
    Settle();
    EXPECT_GT(TitlePixels(hwnd_, title_area), 20);
    frame_.show_caption_title = 0;
    frame_.RepaintFrame();
    Settle();
    EXPECT_EQ(TitlePixels(hwnd_, title_area), 0);
}

TEST_F(NVXDialogTest, ALongTitleEndsBeforeTheButtons) {
    frame_.show_caption_title = 1;
    frame_.SetWindowText(
        L"A window title that is far too long to be shown whole in this narrow caption strip");
    Settle();
    EXPECT_GT(TitlePixels(hwnd_, {kWidth - 120, 2, kWidth - 61, 28}), 0) << "the title reaches the buttons";
    // The Minimize glyph is the only light part of its button.
    EXPECT_TRUE(SameColor(WindowPixel(hwnd_, kWidth - 59, 12), theThemePalette.caption_background));
    EXPECT_TRUE(SameColor(WindowPixel(hwnd_, kWidth - 33, 12), theThemePalette.caption_background));
}

TEST_F(NVXDialogTest, SystemActivationAndTitleChangesDoNotPaintTheSystemFrame) {
    EXPECT_EQ(frame_.SendMessage(WM_NCACTIVATE, FALSE, 0), TRUE);
    EXPECT_EQ(frame_.SendMessage(WM_NCACTIVATE, TRUE, 0), TRUE);
    frame_.SetWindowText(L"Another title");
    Settle();
    for (POINT p : {POINT{20, 10}, POINT{150, 5}, POINT{kWidth - 29, 3}, POINT{2, 20}})
        EXPECT_TRUE(SameColor(WindowPixel(hwnd_, p.x, p.y), theThemePalette.caption_background))
            << p.x << ", " << p.y;
}

TEST_F(NVXDialogTest, AButtonWithoutPictureIsNeitherDrawnNorHit) {
    const FrameMetrics metrics = FrameMetricsFor(ScreenDpiScale());
    // A resource that does not exist, and one that cannot be decoded.
    for (auto picture : {LoadPngResource(4242), LoadPngResource(4100)}) {
        frame_.caption_buttons[kCaptionClose].SetGlyph(picture, metrics);
        // A frame change lays the buttons out again.
        ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        Settle();
        EXPECT_TRUE(frame_.caption_buttons[kCaptionClose].button_rect.IsEmpty());
        // Minimize takes the free place at the right edge; where it was, nothing is drawn.
        EXPECT_EQ(frame_.caption_buttons[kCaptionMinimize].button_rect,
                  (PixelRect{kWidth - 31, 1, kWidth - 1, 31}));
        EXPECT_TRUE(SameColor(WindowPixel(hwnd_, kWidth - 46, 16), theThemePalette.caption_background));
        EXPECT_TRUE(SameColor(WindowPixel(hwnd_, kWidth - 16, 16), RGB(220, 220, 220), 2));
        MoveMouse(OnClose());
        Settle();
        EXPECT_EQ(frame_.caption_buttons[kCaptionClose].hover, 0);
        MoveMouse(OnCaption());
    }
}

TEST_F(NVXDialogTest, DestroyingTheWindowDuringACaptionPressIsHarmless) {
    MoveMouse(OnClose());
    PressLeft();
    Settle();
    ASSERT_TRUE(frame_.DestroyWindow());
    ReleaseLeft();
    MoveMouse(OnMinimize());
    Settle();
    EXPECT_FALSE(::IsWindow(hwnd_));
}

} // namespace
