#include "skin/PaintCache.h"

CPaintCache::~CPaintCache() {
    Clear();
}

void CPaintCache::Clear() noexcept {
    // The bitmap leaves the DC before either is deleted.
    selected_bitmap_.reset();
    bitmap_.reset();
    dc_.reset();
    width_ = height_ = 0;
}

HDC CPaintCache::Surface(HDC target, int width, int height) noexcept {
    if (width <= 0 || height <= 0)
        return nullptr;
    if (dc_ && bitmap_ && width == width_ && height == height_)
        return dc_.get();
    Clear();
    dc_ = skin::Adopt<skin::MemoryDc>(::CreateCompatibleDC(target));
    bitmap_ = skin::Adopt<skin::Bitmap>(::CreateCompatibleBitmap(target, width, height));
    if (!dc_ || !bitmap_) {
        Clear();
        return nullptr;
    }
    selected_bitmap_ = nvx::SelectObjectScope(dc_.get(), bitmap_.get());
    width_ = width;
    height_ = height;
    return dc_.get();
}

void CPaintCache::CopyTo(HDC target, int x, int y) const noexcept {
    if (dc_ && bitmap_)
        ::BitBlt(target, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}
