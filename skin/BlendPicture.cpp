#include "skin/BlendPicture.h"

#include "framework/Handles.h"
#include "skin/GdiOwners.h"

void BlendPicture(HDC target, const RECT& destination, HBITMAP picture, const RECT& source,
                  BYTE constant_alpha) {
    if (!picture)
        return;
    skin::MemoryDc source_dc = skin::Adopt<skin::MemoryDc>(::CreateCompatibleDC(target));
    if (!source_dc)
        return;
    nvx::SelectObjectScope select(source_dc.get(), picture);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, constant_alpha, AC_SRC_ALPHA};
    // gdi32's own entry point: AlphaBlend would import msimg32, which is not a known DLL.
    ::GdiAlphaBlend(target, destination.left, destination.top, destination.right - destination.left,
                    destination.bottom - destination.top, source_dc.get(), source.left, source.top,
                    source.right - source.left, source.bottom - source.top, blend);
}
