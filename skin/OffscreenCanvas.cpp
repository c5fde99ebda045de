#include "skin/OffscreenCanvas.h"

COffscreenCanvas::COffscreenCanvas(HDC target, int width, int height) noexcept
    : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0) {
    if (width_ == 0 || height_ == 0)
        return;
    dc_ = skin::Adopt<skin::MemoryDc>(::CreateCompatibleDC(target));
    bitmap_ = skin::Adopt<skin::Bitmap>(::CreateCompatibleBitmap(target, width_, height_));
    if (dc_ && bitmap_)
        selected_bitmap_ = nvx::SelectObjectScope(dc_.get(), bitmap_.get());
}

void COffscreenCanvas::CopyTo(HDC target, int x, int y) const noexcept {
    if (*this)
        ::BitBlt(target, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) noexcept {
    // ExtTextOut with an opaque rectangle fills without making a brush.
    const COLORREF previous = ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, previous);
}
