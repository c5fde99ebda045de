#pragma once
// Owners of the GDI objects the skinned windows make while they paint, with a live count of
// them. The count is how a test sees that painting gives back everything it takes (the system's
// own GDI object count is not available everywhere: Wine answers 0).
#include "framework/Handles.h"

namespace skin {

// GDI objects of the skin alive now (made through Adopt and not yet deleted).
long LiveGdiObjects() noexcept;

namespace detail {
void CountCreated() noexcept;
void CountDeleted() noexcept;
template <typename Handle> void DeleteCountedObject(Handle handle) noexcept {
    CountDeleted();
    ::DeleteObject(handle);
}
inline void DeleteCountedDc(HDC dc) noexcept {
    CountDeleted();
    ::DeleteDC(dc);
}
} // namespace detail

using Font = nvx::UniqueResource<HFONT, &detail::DeleteCountedObject<HFONT>>;
using Bitmap = nvx::UniqueResource<HBITMAP, &detail::DeleteCountedObject<HBITMAP>>;
using Brush = nvx::UniqueResource<HBRUSH, &detail::DeleteCountedObject<HBRUSH>>;
using Pen = nvx::UniqueResource<HPEN, &detail::DeleteCountedObject<HPEN>>;
using Region = nvx::UniqueResource<HRGN, &detail::DeleteCountedObject<HRGN>>;
using MemoryDc = nvx::UniqueResource<HDC, &detail::DeleteCountedDc>;

// Takes a freshly created handle into its counted owner (a null handle makes an empty owner).
template <typename Owner> Owner Adopt(typename Owner::handle_type handle) noexcept {
    if (handle)
        detail::CountCreated();
    return Owner(handle);
}

} // namespace skin
