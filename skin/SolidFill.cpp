#include "skin/SolidFill.h"

#include "framework/Handles.h"

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    nvx::UniqueBrush brush(::CreateSolidBrush(color));
    if (brush)
        ::FillRect(dc, &rect, brush.get());
}
