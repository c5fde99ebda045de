#pragma once
// A flat owner-drawn button showing a picture and/or a caption: the pages' check boxes, the
// expander and the browse button. Background, a state rectangle while hovered or pressed, the
// picture's first frame centred, the caption in the button font.
#include "framework/Wnd.h"
#include "skin/ButtonPress.h"
#include "skin/ImageWrapper.h"
#include "skin/PaintCache.h"

#include <memory>
#include <string>

class CNVXButton : public CWnd {
public:
    COLORREF normal_color = 0;
    COLORREF hover_color = 0;
    COLORREF pressed_color = 0;
    COLORREF border_color = 0;

    // Colours and caption; removes any picture.
    void SetAppearance(COLORREF normal, COLORREF hover, COLORREF pressed, COLORREF border,
                       const std::wstring& text);
    // Shows the first frame of the picture (not owned: the image cache keeps it). The owner
    // invalidates the button afterwards.
    void SetImage(const std::shared_ptr<CImageWrapper>& picture);
    const std::wstring& text() const noexcept { return text_; }
    HBITMAP image() const noexcept { return image_; }

    ButtonInteraction state;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    bool DrawItem(DRAWITEMSTRUCT* item) override;

private:
    std::wstring text_;
    HBITMAP image_ = nullptr;
    int frame_count_ = 0; // 0: no picture
    int horizontal_ = 1;
    int image_width_ = 0;
    int image_height_ = 0;
    BLENDFUNCTION blend_{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    CPaintCache canvas_;
};
