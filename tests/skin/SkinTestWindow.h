#pragma once
// What the skin's window tests share: the theme set up as start-up does, a skinned test frame
// that counts what reaches it, real mouse input, and the colours a window really shows.
#include "skin/NVXDialog.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace skintest {

// A skinned frame of 320 x 200 pixels at (100, 100), shown, with its clicks and system commands
// counted.
class CTestFrame : public CNVXDialog {
public:
    CTestFrame();
    ~CTestFrame() override;
    // Creates, places and shows the frame; false when that failed.
    bool Open(int width = 320, int height = 200);
    // A child control of the frame, placed in client coordinates.
    HWND AddChild(const wchar_t* window_class, DWORD style, const RECT& rect, int id);

    std::map<int, int> clicks;        // BN_CLICKED / STN_CLICKED by control id
    std::vector<WPARAM> sys_commands; // WM_SYSCOMMAND codes
    int close_requests = 0;           // WM_CLOSE

protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    bool OnCommand(WPARAM wparam, LPARAM lparam) override;
};

// Theme as start-up makes it, and COM for the picture decoder.
class SkinWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
};

// The mouse, as the user moves it: moves, presses and releases at screen points, with the
// messages they cause handled before returning.
void MoveMouse(POINT screen);
void PressLeft();
void ReleaseLeft();
void ClickAt(POINT screen);
// Screen point of a point in a window's own coordinates (window origin, frame included).
POINT WindowPoint(HWND hwnd, int x, int y);
POINT ClientPoint(HWND hwnd, int x, int y);
// Handles this thread's pending messages (paints included).
void Settle();

// Colour of a pixel on the screen, and of a pixel of a window in its own coordinates.
COLORREF ScreenPixel(POINT screen);
COLORREF WindowPixel(HWND hwnd, int x, int y);
COLORREF ClientPixel(HWND hwnd, int x, int y);
// Pixels of a client rectangle whose colour is the given one (within a tolerance per channel).
int CountClientPixels(HWND hwnd, const RECT& rect, COLORREF color, int tolerance = 0);

std::string ColorText(COLORREF color);
testing::AssertionResult SameColor(COLORREF actual, COLORREF expected, int tolerance = 0);

} // namespace skintest
