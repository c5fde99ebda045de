#include "skin/CaptionRules.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <sstream>
#include <string>

namespace {

constexpr int kHtCaption = 2;
constexpr int kHtSysMenu = 3;
constexpr int kHtLeft = 10;
constexpr int kHtBottomRight = 17;
constexpr int kHtClient = 1;

// Buttons as the frame makes them for a window that was not created maximized: Maximize and
// Restore have no room, Maximize is disabled.
std::array<CaptionButtonState, kCaptionButtonCount> MakeButtons(const FrameMetrics& m, int glyph_size = 16) {
    std::array<CaptionButtonState, kCaptionButtonCount> buttons{};
    for (int id = 0; id < kCaptionButtonCount; ++id) {
        buttons[id].id = id;
        buttons[id].visible = id != kCaptionRestore;
        buttons[id].disabled = id == kCaptionMaximize;
        PlaceGlyph(buttons[id], glyph_size, glyph_size, m);
    }
    for (int id : {kCaptionMaximize, kCaptionRestore})
        buttons[id].button_rect = buttons[id].glyph_rect = {};
    return buttons;
}

TEST(CaptionFrame, ClientAreaAndButtonsAtEachDpi) {
    const struct {
        int dpi;
        PixelRect client; // of a 400 x 300 window at the origin
        PixelRect close, minimize;
        PixelRect close_glyph; // glyph of the DPI's artwork size
        int glyph;
    } cases[] = {
        {96, {1, 29, 399, 299}, {369, 1, 399, 31}, {339, 1, 369, 31}, {376, 8, 392, 24}, 16},
        {120, {1, 36, 399, 299}, {362, 1, 399, 38}, {325, 1, 362, 38}, {370, 9, 390, 29}, 20},
        {144, {1, 43, 399, 299}, {354, 1, 399, 46}, {309, 1, 354, 46}, {364, 11, 388, 35}, 24},
        {192, {2, 58, 398, 298}, {338, 2, 398, 62}, {278, 2, 338, 62}, {352, 16, 384, 48}, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " DPI");
        const FrameMetrics m = FrameMetricsFor({c.dpi, c.dpi});
        const PixelRect window{0, 0, 400, 300};
        EXPECT_EQ(ClientFromWindow(window, false, m), c.client);
        auto buttons = MakeButtons(m, c.glyph);
        LayoutCaptionButtons(buttons.data(), window, m);
        EXPECT_EQ(buttons[kCaptionClose].button_rect, c.close);
        EXPECT_EQ(buttons[kCaptionMinimize].button_rect, c.minimize);
        EXPECT_EQ(buttons[kCaptionClose].glyph_rect, c.close_glyph);
        EXPECT_TRUE(buttons[kCaptionMaximize].button_rect.IsEmpty());
        EXPECT_TRUE(buttons[kCaptionRestore].button_rect.IsEmpty());
    }
}

TEST(CaptionFrame, MaximizedWindowLosesTheOverhangOnThreeSides) {
    const FrameMetrics m = FrameMetricsFor({96, 96});
    EXPECT_EQ(ClientFromWindow({-8, -8, 1928, 1048}, true, m), (PixelRect{0, 29, 1920, 1040}));
}

TEST(CaptionFrame, ButtonsOfAMaximizableWindowShareOneSlot) {
    const FrameMetrics m = FrameMetricsFor({96, 96});
    std::array<CaptionButtonState, kCaptionButtonCount> buttons{};
    for (auto& b : buttons)
        PlaceGlyph(b, 16, 16, m);
    LayoutCaptionButtons(buttons.data(), {0, 0, 400, 300}, m);
    EXPECT_EQ(buttons[kCaptionClose].button_rect, (PixelRect{369, 1, 399, 31}));
    EXPECT_EQ(buttons[kCaptionMaximize].button_rect, (PixelRect{339, 1, 369, 31}));
    EXPECT_EQ(buttons[kCaptionRestore].button_rect, (PixelRect{339, 1, 369, 31}));
    EXPECT_EQ(buttons[kCaptionMinimize].button_rect, (PixelRect{309, 1, 339, 31}));
}

TEST(CaptionFrame, AButtonWithoutGlyphIsNeitherDrawnNorHit) {
    const FrameMetrics m = FrameMetricsFor({96, 96});
    auto buttons = MakeButtons(m);
    PlaceGlyph(buttons[kCaptionClose], 0, 0, m);
    LayoutCaptionButtons(buttons.data(), {0, 0, 400, 300}, m);
    EXPECT_TRUE(buttons[kCaptionClose].button_rect.IsEmpty());
    // Minimize moves into the free place, and is what a point there hits.
    EXPECT_EQ(buttons[kCaptionMinimize].button_rect, (PixelRect{369, 1, 399, 31}));
    EXPECT_EQ(CCaptionTracker::HitTest(buttons.data(), kCaptionButtonCount, 380, 10), kCaptionMinimize);
    EXPECT_EQ(CCaptionTracker::HitTest(buttons.data(), kCaptionButtonCount, 350, 10), -1);
}

// A script of mouse events over a 400-pixel wide frame at 96 DPI, one word each:
//   C, M, G  move onto Close, onto Minimize, onto the caption between title and buttons
//   c, m, g  press the left button there (caption presses carry HTCAPTION)
//   C^ M^ G^ release there;  L  the mouse leaves the frame
// After the script: the reactions of the last event, the button that acted, and the look of
// Close and Minimize as "hover/pressed/hot" flags, e.g. "100" for a hovered, hot-less button.
struct TrackingCase {
    const char* script;
    bool close_disabled;
    int action; // CaptionButtonId that acted during the script, or -1
    const char* close_look;
    const char* minimize_look;
    bool last_repaint;
    bool last_default;
};

std::string Look(const CaptionButtonState& b) {
    return std::to_string(b.hover) + std::to_string(b.pressed) + std::to_string(b.hot);
}

TEST(CaptionTracking, FollowsThePressReleaseRules) {
    const TrackingCase cases[] = {
        // The hot button follows the mouse; moving within it changes nothing.
        {"C", false, -1, "101", "000", true, true},
        {"C C", false, -1, "101", "000", false, true},
        {"C M", false, -1, "000", "101", true, true},
        {"C G", false, -1, "000", "000", true, false},
        // A button acts on the release over it when it is the hot one.
        {"C c C^", false, kCaptionClose, "000", "000", true, false},
        {"C c M M^", false, kCaptionMinimize, "000", "000", true, false},
        {"C c G G^", false, -1, "000", "000", true, false},
        {"M m M^", false, kCaptionMinimize, "000", "000", true, false},
        // Hovering alone makes a button hot, so a press that began elsewhere still acts.
        {"G g C C^", false, kCaptionClose, "000", "000", true, false},
        // Leaving the frame keeps a press's look until the mouse is back over the frame.
        {"C c L", false, -1, "011", "000", false, false},
        {"C c L G", false, -1, "000", "000", true, false},
        {"C L", false, -1, "000", "000", true, false},
        // A press keeps the system's handling of the caption only.
        {"g", false, -1, "000", "000", false, true},
        // A disabled Close is never hovered, pressed or acted on.
        {"C", true, -1, "000", "000", true, false},
        {"C c C^", true, -1, "000", "000", true, false},
        {"M C", true, -1, "000", "000", true, false},
    };
    const FrameMetrics m = FrameMetricsFor({96, 96});
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.script << "\"" << (c.close_disabled ? " disabled" : ""));
        auto buttons = MakeButtons(m);
        LayoutCaptionButtons(buttons.data(), {0, 0, 400, 300}, m);
        buttons[kCaptionClose].disabled = c.close_disabled;
        CCaptionTracker tracker;
        CaptionReaction last;
        int action = -1;
        std::istringstream words(c.script);
        for (std::string word; words >> word;) {
            const char place = static_cast<char>(std::toupper(word[0]));
            const int x = place == 'C' ? 380 : place == 'M' ? 350 : 200;
            const int y = 12;
            if (word == "L")
                last = tracker.OnMouseLeave(buttons.data(), kCaptionButtonCount);
            else if (word.size() == 2)
                last = tracker.OnButtonUp(buttons.data(), kCaptionButtonCount, x, y);
            else if (std::islower(word[0]))
                last = tracker.OnButtonDown(buttons.data(), kCaptionButtonCount, x, y, kHtCaption);
            else
                last = tracker.OnMouseMove(buttons.data(), kCaptionButtonCount, x, y, [] { return true; });
            if (last.action >= 0)
                action = last.action;
        }
        EXPECT_EQ(action, c.action);
        EXPECT_EQ(Look(buttons[kCaptionClose]), c.close_look);
        EXPECT_EQ(Look(buttons[kCaptionMinimize]), c.minimize_look);
        EXPECT_EQ(last.repaint, c.last_repaint);
        EXPECT_EQ(last.default_processing, c.last_default);
    }
}

TEST(CaptionTracking, PressesOffTheButtonsKeepOnlyMovingAndSizing) {
    const struct {
        int hit_code;
        bool default_processing;
    } cases[] = {{kHtCaption, true},  {kHtLeft, true},    {kHtBottomRight, true},
                 {kHtSysMenu, false}, {kHtClient, false}, {0, false},
                 {9, false},          {18, false}};
    const FrameMetrics m = FrameMetricsFor({96, 96});
    for (const auto& c : cases) {
        auto buttons = MakeButtons(m);
        LayoutCaptionButtons(buttons.data(), {0, 0, 400, 300}, m);
        CCaptionTracker tracker;
        const CaptionReaction r =
            tracker.OnButtonDown(buttons.data(), kCaptionButtonCount, 100, 10, c.hit_code);
        EXPECT_EQ(r.default_processing, c.default_processing) << "hit code " << c.hit_code;
        EXPECT_FALSE(tracker.press_in_progress());
    }
}

TEST(CaptionTracking, LeaveTrackingIsRequestedOnceUntilTheMouseLeaves) {
    const FrameMetrics m = FrameMetricsFor({96, 96});
    auto buttons = MakeButtons(m);
    LayoutCaptionButtons(buttons.data(), {0, 0, 400, 300}, m);
    CCaptionTracker tracker;
    int requests = 0;
    auto request = [&] {
        ++requests;
        return true;
    };
    tracker.OnMouseMove(buttons.data(), kCaptionButtonCount, 380, 10, request);
    tracker.OnMouseMove(buttons.data(), kCaptionButtonCount, 350, 10, request);
    EXPECT_EQ(requests, 1);
    tracker.OnMouseLeave(buttons.data(), kCaptionButtonCount);
    tracker.OnMouseMove(buttons.data(), kCaptionButtonCount, 350, 10, request);
    EXPECT_EQ(requests, 2);
    // A refused request is asked again on the next move.
    CCaptionTracker refused;
    int refusals = 0;
    auto refuse = [&] {
        ++refusals;
        return false;
    };
    refused.OnMouseMove(buttons.data(), kCaptionButtonCount, 380, 10, refuse);
    refused.OnMouseMove(buttons.data(), kCaptionButtonCount, 380, 10, refuse);
    EXPECT_EQ(refusals, 2);
}

} // namespace
