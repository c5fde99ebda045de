#pragma once
// A control's off-screen surface, kept from one paint to the next. Making a memory DC and a bitmap
// compatible with a window DC is not free (under Wine each is a check of the display devices
// with the window server), and a control that would draw the same pixels again can copy its last
// picture instead of rendering it (for a Direct2D control, binding the render target to a DC and
// ending the draw are by far the dearest steps). The control decides when the picture is still
// the same: it keeps the inputs of its last render and compares them. Whoever draws into the
// surface sets the DC state it needs (modes, colours); selected objects are put back.
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
    nvx::SelectObjectScope selected_bitmap_; // after both: the bitmap leaves the DC before either goes
    int width_ = 0;
    int height_ = 0;
};
