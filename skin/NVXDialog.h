#pragma once
// The skinned top-level dialog: it keeps the system's caption style (so that it is moved by its
// caption and listed as a captioned window) but takes over the whole non-client area. It sizes
// that area itself (a one-pixel border and a flat caption strip), paints it, draws its own
// caption buttons from the PNG glyphs and carries out their actions through WM_SYSCOMMAND. It
// answers WM_NCACTIVATE itself, so that the system never paints a frame of its own.
#include "framework/Dialog.h"
#include "skin/CaptionRules.h"
#include "skin/GdiOwners.h"
#include "skin/ImageWrapper.h"
#include "skin/PaintCache.h"

#include <memory>
#include <vector>

// One caption button: its state (CaptionButtonState), its glyph and its colours.
struct CaptionButton : CaptionButtonState {
    CWnd* owner = nullptr;
    HBITMAP glyph = nullptr; // not owned: the image cache keeps it alive
    int glyph_width = 0;
    int glyph_height = 0;
    int frame_count = 1; // the first frame is drawn
    int horizontal = 1;
    COLORREF normal_color = 0;
    COLORREF hover_color = 0;
    COLORREF pressed_color = 0;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

    // Takes the picture's bitmap and size and places the button and glyph rectangles at the
    // window's origin. No picture, or one that could not be decoded, leaves both rectangles
    // empty: the button is then neither drawn nor hit.
    void SetGlyph(const std::shared_ptr<CImageWrapper>& picture, const FrameMetrics& metrics);
    int FrameWidth() const { return frame_count > 0 && horizontal ? glyph_width / frame_count : glyph_width; }
    int FrameHeight() const {
        return frame_count > 0 && !horizontal ? glyph_height / frame_count : glyph_height;
    }
};

class CNVXDialog : public CDialogEx {
public:
    explicit CNVXDialog(UINT template_id);

    // Owner flag: paint the window's big icon and its text in the caption. Call RepaintFrame
    // after changing it.
    int show_caption_title = 0;
    // Close, Maximize, Restore, Minimize (indexed by CaptionButtonId), made when the window is
    // created. Derived classes may set `disabled`; it shows at the next frame paint.
    std::vector<CaptionButton> caption_buttons;

    // Paints the whole frame at once.
    void RepaintFrame();
    // The executable's icon as the window's big and small icon (the caption and the taskbar).
    void SetApplicationIcon();
    // A window of a silent run: hidden, and kept off the taskbar should anything show it.
    void HideFromTaskbar();

protected:
    // Called on every WM_SIZE after the window region is updated, with the client rectangle.
    virtual void OnClientResized(const RECT& client) { (void)client; }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    void OnSize(UINT type, int cx, int cy) override;

private:
    void CreateCaptionButtons(LONG_PTR style);
    void CalculateClient(RECT& proposed_window);
    void LayoutCaptionButtonsNow();
    void ShowMaximizeOrRestore(bool maximized);
    void PaintFrame(HDC dc, int width, int height);
    // The side and bottom borders below the strip painted off screen, straight onto the window.
    void PaintFrameBelow(HDC dc, int width, int height, int strip);
    void PaintCaptionTitle(HDC dc, PixelRect caption);
    void UpdateRegion();
    LRESULT OnNonClientMouse(UINT msg, WPARAM wparam, LPARAM lparam);
    void RunAction(int button);
    POINT ToWindowCoordinates(LPARAM screen_point) const;
    bool IsWindowMaximized() const { return (GetStyle() & WS_MAXIMIZE) != 0; }

    skin::Font caption_font_;
    FrameMetrics metrics_;
    CPaintCache frame_canvas_; // the caption strip
    bool layout_pending_ = false;
    CCaptionTracker tracker_;
};
