#pragma once
// The gallery's slideshows: each shows one fixed moment of the show (a picture standing, or a
// slide halfway through), so that a screenshot shows the same picture every time and repaints
// cost the same. Its pictures are drawn by the gallery itself.
#include "skin/GdiOwners.h"
#include "skin/NVXSliderShowCtrl.h"

class CStillSlideshow : public CNVXSliderShowCtrl {
public:
    // Seconds into the show that every paint shows.
    double moment = 0.0;
    // Stops the repaint timer: the picture does not move.
    void Freeze() { KillTimer(kRepaintTimer); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
};

// An opaque picture of the given size: a vertical gradient between two colours with a caption in
// the font, as the product tour's slides look.
skin::Bitmap DrawSlidePicture(int width, int height, COLORREF top, COLORREF bottom, const wchar_t* caption,
                              HFONT font);
