#include "pages/GuidePanel.h"

#include "skin/BlendPicture.h"
#include "skin/ImageWrapper.h"
#include "skin/OffscreenCanvas.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemePalette.h"

#include <algorithm>

namespace {
constexpr int kLogoBaseId = 129;
} // namespace

SIZE CGuidePanel::DefaultPageSize() {
    static const SIZE size{ScaleX(660), ScaleY(446)};
    return size;
}

SIZE CGuidePanel::GetPageSize() {
    return DefaultPageSize();
}

void CGuidePanel::RemoveTemplateFrame() const noexcept {
    ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
    ModifyStyleEx(WS_EX_DLGMODALFRAME, 0);
}

BOOL CGuidePanel::OnInitDialog() {
    CDialog::OnInitDialog();
    RemoveTemplateFrame();
    return TRUE;
}

IPageHost* CGuidePanel::GetPageHost() const noexcept {
    return dynamic_cast<IPageHost*>(GetParent());
}

void CGuidePanel::GoToNextPage() {
    IPageHost* host = GetPageHost();
    if (!host)
        return;
    const int next = host->CurrentPageIndex() + 1;
    if (host->HasPage(next))
        host->ShowPage(next);
}

void CGuidePanel::MeasureText(const std::wstring& text, HFONT font, SIZE& size) const {
    if (text.empty())
        return;
    nvx::ClientDc dc(GetSafeHwnd());
    if (!dc)
        return;
    HGDIOBJ previous = font ? ::SelectObject(dc.get(), font) : nullptr;
    SIZE measured{};
    const BOOL ok = ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &measured);
    if (previous)
        ::SelectObject(dc.get(), previous);
    if (ok && measured.cx > 0) {
        size.cx = measured.cx;
        size.cy = std::max(size.cy, measured.cy);
    }
}

void CGuidePanel::PaintBackground(HDC target) {
    const RECT client = GetClientRect();
    COffscreenCanvas canvas(target, client.right, client.bottom);
    if (!canvas)
        return;
    FillSolid(canvas.dc(), client, theThemePalette.window_background);
    const auto logo = LoadPngResource(ScreenDpiScale().PickDpiVariant(kLogoBaseId));
    if (logo && logo->bitmap) {
        const RECT destination{client.right - logo->width, 0, client.right, logo->height};
        BlendPicture(canvas.dc(), destination, logo->bitmap.get(), RECT{0, 0, logo->width, logo->height});
    }
    DrawContent(canvas.dc());
    canvas.CopyTo(target);
}

LRESULT CGuidePanel::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_ERASEBKGND) {
        PaintBackground(reinterpret_cast<HDC>(wparam));
        return 0;
    }
    return CDialog::WindowProc(msg, wparam, lparam);
}

void CGuidePanel::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    LayoutControls(GetClientRect());
}
