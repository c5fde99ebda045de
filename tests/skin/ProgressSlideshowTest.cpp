#include "skin/Direct2DEntry.h"
#include "skin/NVXProgress.h"
#include "skin/NVXSliderShowCtrl.h"
#include "skin/ScreenDpi.h"
#include "tests/skin/LostDraws.h"
#include "tests/skin/SkinControlHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using skintest::CCapture;
using skintest::SameColour;

class ProgressBarTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host_.Open(0, 0, 400, 100));
        ASSERT_TRUE(bar_.Create(WS_CHILD | WS_TABSTOP, RECT{}, &host_, 105));
        // As the progress page sets it up.
        const ThemePalette& palette = theThemePalette;
        bar_.background_color = palette.window_background;
        bar_.track_color = palette.progress_track;
        bar_.fill_color = palette.progress_fill;
        bar_.range = 1000;
        bar_.bar_rect = {0, 0, kBarWidth, ScaleY(8)};
        ::SetWindowPos(bar_, nullptr, kLeft, kTop, kBarWidth + 2 * kSlack, ScaleY(8) + 2 * kSlack,
                       SWP_NOZORDER | SWP_SHOWWINDOW);
    }

    CCapture Show(int position) {
        bar_.position = position;
        bar_.Invalidate(TRUE);
        ::UpdateWindow(bar_);
        return CCapture(bar_);
    }

    static constexpr int kBarWidth = 300;
    static constexpr int kSlack = 10; // the bar is centred with this much room around it
    static constexpr int kLeft = 20;
    static constexpr int kTop = 30;
    skintest::CHostWindow host_;
    CNVXProgress bar_;
};

// The done part grows from the left with a straight moving edge; the ends are rounded.
TEST_F(ProgressBarTest, FillsTheDoneShareOfTheTrackInThePaletteColours) {
    const ThemePalette& palette = theThemePalette;
    const int x0 = kSlack;
    const int y0 = kSlack;
    const int height = ScaleY(8);
    const int middle = y0 + height / 2;
    const struct {
        int position;
        int filled; // pixels of the done part on the middle row
    } cases[] = {{500, 150}, {0, 0}, {1, 0}, {250, 75}, {990, 297}, {1000, 300}, {1700, 300}, {-4, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position);
        const CCapture shown = Show(c.position);
        EXPECT_TRUE(SameColour(shown.At(2, 2), palette.window_background));
        EXPECT_TRUE(SameColour(shown.At(x0 - 2, middle), palette.window_background));
        EXPECT_TRUE(SameColour(shown.At(x0 + kBarWidth + 1, middle), palette.window_background));
        if (c.filled > 0) {
            EXPECT_TRUE(SameColour(shown.At(x0 + 2, middle), palette.progress_fill));
            EXPECT_TRUE(SameColour(shown.At(x0 + c.filled - 1, middle), palette.progress_fill));
        }
        if (c.filled < kBarWidth) {
            EXPECT_TRUE(SameColour(shown.At(x0 + c.filled, middle), palette.progress_track));
            EXPECT_TRUE(SameColour(shown.At(x0 + kBarWidth - 3, middle), palette.progress_track));
        }
        // Rounded corners: the outermost corner pixels are nearer the background than the bar.
        for (POINT corner : {POINT{x0, y0}, POINT{x0 + kBarWidth - 1, y0 + height - 1}}) {
            const COLORREF pixel = shown.At(corner.x, corner.y);
            EXPECT_LT(
                skintest::ColourDistance(pixel, palette.window_background),
                skintest::ColourDistance(pixel, c.filled ? palette.progress_fill : palette.progress_track))
                << corner.x << ", " << corner.y;
        }
    }
}

// Without a Direct2D factory the bar draws nothing (no track, no fill) and keeps working: every
// paint asks for a factory again, so a Direct2D that comes back is used.
TEST_F(ProgressBarTest, WithoutDirect2DNothingIsDrawnAndEveryPaintTriesAgain) {
    int attempts = 0;
    CDirect2DEntryOverride no_direct2d({[&](D2D1_FACTORY_TYPE, REFIID, void** factory) {
                                            ++attempts;
                                            *factory = nullptr;
                                            return E_NOINTERFACE;
                                        },
                                        nullptr});
    const ThemePalette& palette = theThemePalette;
    const int middle = kSlack + ScaleY(8) / 2;
    for (int position : {0, 500, 1000}) {
        SCOPED_TRACE(testing::Message() << "position " << position);
        const CCapture shown = Show(position);
        for (int x = kSlack; x < kSlack + kBarWidth; x += 7) {
            EXPECT_FALSE(SameColour(shown.At(x, middle), palette.progress_fill)) << x;
            EXPECT_FALSE(SameColour(shown.At(x, middle), palette.progress_track)) << x;
        }
    }
    EXPECT_GE(attempts, 3) << "a paint did not ask for a factory";
    EXPECT_TRUE(::IsWindow(bar_));
}

// A lost device: the draw that ends in D2DERR_RECREATE_TARGET drops the factory and the render
// target; the next paint makes both anew and shows the position as it stands.
TEST_F(ProgressBarTest, ALostRenderTargetIsMadeAnewForTheNextPaint) {
    Show(500);
    CLostDraws draws(1);
    const ThemePalette& palette = theThemePalette;
    const int middle = kSlack + ScaleY(8) / 2;

    Show(250); // drawn, and the draw is lost
    EXPECT_EQ(draws.lost, 0);
    EXPECT_EQ(draws.factories, 0);
    const CCapture shown = Show(250);
    EXPECT_EQ(draws.factories, 1) << "the next paint made a factory";
    EXPECT_TRUE(SameColour(shown.At(kSlack + 2, middle), palette.progress_fill));
    EXPECT_TRUE(SameColour(shown.At(kSlack + 74, middle), palette.progress_fill));
    EXPECT_TRUE(SameColour(shown.At(kSlack + 75, middle), palette.progress_track));
    EXPECT_TRUE(SameColour(shown.At(kSlack + 120, middle), palette.progress_track))
        << "not the 500 drawn before";

    // Made once: later positions reuse them.
    const CCapture later = Show(990);
    EXPECT_EQ(draws.factories, 1);
    EXPECT_TRUE(SameColour(later.At(kSlack + 296, middle), palette.progress_fill));
}

// The fill's edge is straight: every row of the bar's straight middle ends at the same column.
TEST_F(ProgressBarTest, TheMovingEdgeIsStraight) {
    const CCapture shown = Show(500);
    const int height = ScaleY(8);
    for (int y = kSlack + height / 4; y < kSlack + height - height / 4; ++y) {
        EXPECT_TRUE(SameColour(shown.At(kSlack + 149, y), theThemePalette.progress_fill)) << y;
        EXPECT_TRUE(SameColour(shown.At(kSlack + 150, y), theThemePalette.progress_track)) << y;
    }
}

// Pictures: flat DIBs of one colour each.
struct FlatPicture {
    FlatPicture(int width, int height, COLORREF colour) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        auto* pixels = static_cast<std::uint32_t*>(bits);
        for (int i = 0; i < width * height; ++i)
            pixels[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        picture = {width, height, bitmap.get()};
    }
    nvx::UniqueBitmap bitmap;
    SlidePicture picture;
};

class SlideshowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host_.Open(0, 0, 700, 400));
        host_.click_message = WM_SKIN_SLIDESHOW_CLICK;
        show_ = std::make_unique<CNVXSliderShowCtrl>();
        ASSERT_TRUE(show_->Create(WS_CHILD | WS_TABSTOP, RECT{}, &host_, 170));
        show_->background_color = theThemePalette.window_background;
        ::SetWindowPos(*show_, nullptr, 10, 10, kWidth, kHeight, SWP_NOZORDER | SWP_SHOWWINDOW);
    }

    static constexpr int kWidth = 600;
    static constexpr int kHeight = 300;
    skintest::CHostWindow host_;
    std::unique_ptr<CNVXSliderShowCtrl> show_;
    FlatPicture red_{400, 200, RGB(200, 30, 30)};
    FlatPicture green_{500, 300, RGB(30, 200, 30)};
    FlatPicture blue_{300, 100, RGB(30, 30, 200)};
};

// The show at chosen moments, drawn as the paint draws it: a sixth into the first slide, picture 1
// standing, and picture 0 standing again after a full round.
TEST_F(SlideshowTest, DrawsEachPictureWhereTheScheduleSaysAtEachMoment) {
    show_->pictures = {red_.picture, green_.picture, blue_.picture};
    const COLORREF background = theThemePalette.window_background;
    const int shift = static_cast<int>(kWidth * 0.1667);
    const struct {
        double t;
        struct {
            int x, y;
            COLORREF colour;
        } samples[4];
    } cases[] = {
        // red from x = 100 - shift, green from 600 + 50 - shift
        {7.6,
         {{100 - shift, 150, RGB(200, 30, 30)},
          {100 - shift + 399, 150, RGB(200, 30, 30)},
          {650 - shift - 1, 150, background},
          {650 - shift, 150, RGB(30, 200, 30)}}},
        {8.2,
         {{49, 150, background},
          {50, 150, RGB(30, 200, 30)},
          {549, 0, RGB(30, 200, 30)},
          {550, 150, background}}},
        {24.4,
         {{99, 150, background},
          {100, 50, RGB(200, 30, 30)},
          {499, 249, RGB(200, 30, 30)},
          {500, 150, background}}},
        // sliding out the last picture: blue leaves, red comes in from the right
        {24.0,
         {{-150 + 299, 150, RGB(30, 30, 200)},
          {-150 + 300, 150, background},
          {400, 150, RGB(200, 30, 30)},
          {399, 150, background}}},
    };
    nvx::ClientDc screen(*show_);
    nvx::UniqueMemoryDc canvas(::CreateCompatibleDC(screen.get()));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "t = " << c.t);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(info.bmiHeader), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        nvx::UniqueBitmap target(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        nvx::SelectObjectScope select(canvas.get(), target.get());
        show_->Render(canvas.get(), c.t);
        ::GdiFlush();
        for (const auto& sample : c.samples) {
            const std::uint32_t bgra = static_cast<std::uint32_t*>(bits)[sample.y * kWidth + sample.x];
            EXPECT_TRUE(
                SameColour(RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF), sample.colour, 0))
                << sample.x << ", " << sample.y;
        }
    }
}

// In the window itself: a single picture stands centred whenever the timer repaints.
TEST_F(SlideshowTest, ASinglePictureStandsCentredInTheWindow) {
    show_->pictures = {blue_.picture};
    // The window was painted before it had pictures: the timer's repaint brings the picture.
    ASSERT_TRUE(skintest::WaitFor([&] { return CCapture(*show_).At(300, 150) == RGB(30, 30, 200); }));
    const CCapture shown(*show_);
    const COLORREF background = theThemePalette.window_background;
    EXPECT_TRUE(SameColour(shown.At(150, 100), RGB(30, 30, 200), 0));
    EXPECT_TRUE(SameColour(shown.At(449, 199), RGB(30, 30, 200), 0));
    EXPECT_TRUE(SameColour(shown.At(149, 150), background, 0));
    EXPECT_TRUE(SameColour(shown.At(450, 150), background, 0));
    EXPECT_TRUE(SameColour(shown.At(300, 99), background, 0));
    EXPECT_TRUE(SameColour(shown.At(300, 200), background, 0));
}

TEST_F(SlideshowTest, WithoutPicturesOnlyTheBackgroundIsDrawn) {
    show_->background_color = RGB(1, 2, 3);
    skintest::PaintNow(host_);
    const CCapture shown(*show_);
    for (POINT p : {POINT{0, 0}, POINT{300, 150}, POINT{kWidth - 1, kHeight - 1}})
        EXPECT_TRUE(SameColour(shown.At(p.x, p.y), RGB(1, 2, 3), 0));
}

// A real click, wherever the show stands, reaches the parent at once.
TEST_F(SlideshowTest, AClickIsReportedToTheParent) {
    show_->pictures = {red_.picture, green_.picture};
    skintest::PaintNow(host_);
    const int before = host_.slideshow_clicks;
    skintest::MouseAt(skintest::ScreenPoint(*show_, 30, 40), MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(skintest::WaitFor([&] { return host_.slideshow_clicks == before + 1; }));
    // The press itself reports, synchronously: no timer tick needed.
    show_->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(500, 250));
    EXPECT_EQ(host_.slideshow_clicks, before + 2);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

// The repaint timer runs from creation and dies with the window; ticks already queued or the
// object going away first do no harm.
TEST_F(SlideshowTest, DestroyingTheWindowWhileItsTimerRunsIsSafe) {
    show_->pictures = {red_.picture, green_.picture};
    const HWND hwnd = *show_;
    // Running: the timer's repaint shows a picture that was not there at the first paint.
    ASSERT_TRUE(
        skintest::WaitFor([&] { return CCapture(hwnd).At(300, 150) != theThemePalette.window_background; }));
    ASSERT_TRUE(show_->DestroyWindow());
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(show_->GetSafeHwnd(), nullptr);
    skintest::PumpOnce(); // a tick queued before the end finds no window
    show_.reset();

    // The object destroyed before its window: the window goes with it, its timer too.
    auto second = std::make_unique<CNVXSliderShowCtrl>();
    ASSERT_TRUE(second->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, &host_, 171));
    const HWND second_hwnd = *second;
    second.reset();
    EXPECT_FALSE(::IsWindow(second_hwnd));
    skintest::PumpOnce();

    // The parent destroyed under a running show.
    auto third = std::make_unique<CNVXSliderShowCtrl>();
    ASSERT_TRUE(third->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, &host_, 172));
    host_.DestroyWindow();
    skintest::PumpOnce();
    EXPECT_EQ(third->GetSafeHwnd(), nullptr);
}

} // namespace
