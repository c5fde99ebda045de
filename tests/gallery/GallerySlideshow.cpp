#include "tests/gallery/GallerySlideshow.h"

#include "skin/OffscreenCanvas.h"

#include <cwchar>

LRESULT CStillSlideshow::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg != WM_PAINT)
        return CNVXSliderShowCtrl::WindowProc(msg, wparam, lparam);
    nvx::PaintDc dc(GetSafeHwnd());
    if (dc)
        Render(dc.get(), moment);
    return 0;
}

skin::Bitmap DrawSlidePicture(int width, int height, COLORREF top, COLORREF bottom, const wchar_t* caption,
                              HFONT font) {
    nvx::ClientDc screen(nullptr);
    skin::Bitmap picture = skin::Adopt<skin::Bitmap>(::CreateCompatibleBitmap(screen.get(), width, height));
    skin::MemoryDc dc = skin::Adopt<skin::MemoryDc>(::CreateCompatibleDC(screen.get()));
    if (!picture || !dc)
        return {};
    nvx::SelectObjectScope select(dc.get(), picture.get());
    auto mix = [](int from, int to, int step, int steps) { return from + (to - from) * step / steps; };
    for (int y = 0; y < height; ++y) {
        const COLORREF row = RGB(mix(GetRValue(top), GetRValue(bottom), y, height),
                                 mix(GetGValue(top), GetGValue(bottom), y, height),
                                 mix(GetBValue(top), GetBValue(bottom), y, height));
        FillSolid(dc.get(), RECT{0, y, width, y + 1}, row);
    }
    RECT area{0, 0, width, height};
    nvx::SelectObjectScope select_font(dc.get(), font);
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), RGB(255, 255, 255));
    ::DrawTextW(dc.get(), caption, static_cast<int>(std::wcslen(caption)), &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return picture;
}
