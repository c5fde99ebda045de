#pragma once
// An owner-drawn label that can also act as a link (hand cursor, focus rectangle). The owning
// page sets the public fields; a click reaches the parent as STN_CLICKED when the template
// gives the control SS_NOTIFY.
#include "framework/Wnd.h"
#include "skin/PaintMemo.h"

#include <string>

class CNVXStatic : public CWnd {
public:
    std::wstring text;       // what is drawn; the owner also sets it as the window text
    HFONT font = nullptr;    // a theme font (not owned); null: a fallback "Arial"
    COLORREF text_color = 0; // set by the owner
    COLORREF background_color = 0;
    int is_link = 0;     // hand cursor and focus rectangle
    UINT draw_flags = 0; // DrawTextW format, set by the owner
    int focused = 0;     // the control has the keyboard focus

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    bool DrawItem(DRAWITEMSTRUCT* item) override;
    // Draws the text into the off-screen canvas; a derived label may draw it otherwise.
    virtual void DrawLabelText(HDC dc, const std::wstring& label, RECT& rect);

private:
    void PaintNow();
    // What decides the label's pixels; a repaint with the same look copies the last picture.
    struct Look {
        int width;
        int height;
        std::wstring text;
        HFONT font;
        COLORREF text_color;
        COLORREF background_color;
        UINT draw_flags;
        bool operator==(const Look&) const = default;
    };

    CPaintMemo<Look> painted_;
};
