#pragma once
// The last picture a Direct2D control drew, kept off screen so that a repaint that would draw the
// same pixels is one copy instead of a render (binding the render target to a DC and ending the
// draw are by far the dearest steps). The control decides when the picture is still the same:
// it keeps the inputs of its last render and compares them.
#include "skin/GdiOwners.h"

class CPaintCache {
public:
    CPaintCache() = default;
    ~CPaintCache();
    CPaintCache(const CPaintCache&) = delete;
    CPaintCache& operator=(const CPaintCache&) = delete;

    // A memory DC holding a bitmap of the size, compatible with the target, to render into; null
    // when it cannot be made. The bitmap is kept while the size stays the same.
    HDC Surface(HDC target, int width, int height) noexcept;
    // Copies the last rendered picture to the target with its top-left corner at (x, y).
    void CopyTo(HDC target, int x, int y) const noexcept;
    // Frees the DC and the bitmap.
    void Clear() noexcept;

private:
    skin::MemoryDc dc_;
    skin::Bitmap bitmap_;
    HGDIOBJ previous_bitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
