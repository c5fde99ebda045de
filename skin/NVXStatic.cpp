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
    {
        COffscreenCanvas canvas(item->hDC, bounds.right - bounds.left, bounds.bottom - bounds.top);
        if (!canvas)
            return true;
        RECT area = canvas.rect();
        FillSolid(canvas.dc(), area, background_color);
        if (!text.empty())
            DrawLabelText(canvas.dc(), text, area);
        canvas.CopyTo(item->hDC, bounds.left, bounds.top);
    }
    if (is_link && focused) {
        RECT focus = bounds;
        ::InflateRect(&focus, -2, -2);
        ::DrawFocusRect(item->hDC, &focus);
    }
    return true;
}

LRESULT CNVXStatic::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
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
