#pragma once
// Double buffering: a memory DC with a bitmap compatible with the target, drawn into and then
// copied to the target in one BitBlt, so that a window never shows half of a paint.
#include "skin/GdiOwners.h"

class COffscreenCanvas {
public:
    COffscreenCanvas(HDC target, int width, int height) noexcept;
    COffscreenCanvas(const COffscreenCanvas&) = delete;
    COffscreenCanvas& operator=(const COffscreenCanvas&) = delete;

    // False when the DC or the bitmap could not be made (nothing should be drawn then).
    explicit operator bool() const noexcept { return dc_ && bitmap_; }
    HDC dc() const noexcept { return dc_.get(); }
    RECT rect() const noexcept { return {0, 0, width_, height_}; }
    // Copies the whole canvas to the target with its top-left corner at (x, y).
    void CopyTo(HDC target, int x = 0, int y = 0) const noexcept;

private:
    skin::MemoryDc dc_;
    skin::Bitmap bitmap_;
    nvx::SelectObjectScope selected_bitmap_; // after both: the bitmap leaves the DC before either goes
    int width_;
    int height_;
};

// Fills a rectangle with a solid colour.
void FillSolid(HDC dc, const RECT& rect, COLORREF color) noexcept;
