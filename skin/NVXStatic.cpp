#include "skin/NVXStatic.h"

#include "skin/OffscreenCanvas.h"
#include "skin/ScreenDpi.h"
#include "skin/SkinFont.h"

void CNVXStatic::PreSubclassWindow() {
    ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
}

void CNVXStatic::DrawLabelText(HDC dc, const std::wstring& label, RECT& rect) {
    ::SetBkMode(dc, TRANSPARENT);
    // The fallback font lives for this paint only.
    skin::Font fallback;
    if (!font)
        fallback =
            skin::Adopt<skin::Font>(CreateSkinFont(L"Arial", ScaleExactX(14), FW_NORMAL, ANSI_CHARSET));
    nvx::SelectObjectScope select(dc, font ? font : fallback.get());
    ::SetTextColor(dc, text_color);
    ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &rect, draw_flags);
}

bool CNVXStatic::DrawItem(DRAWITEMSTRUCT* item) {
    const RECT& bounds = item->rcItem;
    Look look{bounds.right - bounds.left,
              bounds.bottom - bounds.top,
              text,
              font,
              text_color,
              background_color,
              draw_flags};
    const bool copied = painted_.Paint(item->hDC, bounds.left, bounds.top, std::move(look),
                                       [this](HDC surface, const Look& drawn) {
                                           RECT area{0, 0, drawn.width, drawn.height};
                                           FillSolid(surface, area, background_color);
                                           if (!text.empty())
                                               DrawLabelText(surface, text, area);
                                           return true;
                                       });
    if (!copied)
        return true;
    if (is_link && focused) {
        RECT focus = bounds;
        ::InflateRect(&focus, -2, -2);
        ::DrawFocusRect(item->hDC, &focus);
    }
    return true;
}

void CNVXStatic::PaintNow() {
    // The item the static control would send its parent, drawn here: the way through the parent
    // (WM_CTLCOLORSTATIC, then WM_DRAWITEM reflected back) costs two messages across windows a
    // paint, with nothing on it for anyone but this label.
    nvx::PaintDc dc(GetSafeHwnd());
    if (!dc)
        return;
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = static_cast<UINT>(::GetDlgCtrlID(GetSafeHwnd()));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ::IsWindowEnabled(GetSafeHwnd()) ? 0 : ODS_DISABLED;
    item.hwndItem = GetSafeHwnd();
    item.hDC = dc.get();
    item.rcItem = GetClientRect();
    DrawItem(&item);
}

LRESULT CNVXStatic::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return TRUE; // the paint covers every pixel
    case WM_PAINT:
        PaintNow();
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
        if (is_link)
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        break;
    case WM_SETFOCUS: {
        LRESULT result = CWnd::WindowProc(msg, wparam, lparam);
        if (!focused) {
            focused = 1;
            Invalidate(FALSE);
        }
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = CWnd::WindowProc(msg, wparam, lparam);
        if (focused) {
            focused = 0;
            Invalidate(FALSE);
        }
        return result;
    }
    default:
        break;
    }
    return CWnd::WindowProc(msg, wparam, lparam);
}
