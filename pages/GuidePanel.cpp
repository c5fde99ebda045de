#include "pages/GuidePanel.h"

#include "resources/artwork.h"
#include "resources/resource.h"
#include "skin/BlendPicture.h"
#include "skin/ImageWrapper.h"
#include "skin/OffscreenCanvas.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"

#include <algorithm>

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

void CGuidePanel::DrawPageHeading(HDC dc, int icon_top, const std::wstring& title) const {
    const RECT client = GetClientRect();
    const int icon_size = ScaleX(64);
    nvx::UniqueIcon icon(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON),
                                        IMAGE_ICON, icon_size, icon_size, LR_DEFAULTCOLOR)));
    if (icon)
        ::DrawIconEx(dc, (client.right - client.left - icon_size) / 2, icon_top, icon.get(), icon_size,
                     icon_size, 0, nullptr, DI_NORMAL);
    if (title.empty())
        return;
    HGDIOBJ previous = ::SelectObject(dc, theThemeFonts.font_title.get());
    SIZE size{};
    ::GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &size);
    RECT rect{(client.right - client.left - size.cx) / 2, icon_top + icon_size + size.cy / 2, 0, 0};
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, theThemePalette.title_text);
    ::DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &rect,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_WORD_ELLIPSIS);
    ::SelectObject(dc, previous);
}

void CGuidePanel::PaintBackground(HDC target) {
    const RECT client = GetClientRect();
    COffscreenCanvas canvas(target, client.right, client.bottom);
    if (!canvas)
        return;
    FillSolid(canvas.dc(), client, theThemePalette.window_background);
    const auto logo = LoadPngResource(ScreenDpiScale().PickDpiVariant(IDB_PRODUCT_LOGO));
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
