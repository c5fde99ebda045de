#pragma once
// Flat fills of the skinned controls, with a brush that lives for the one call.
#include <windows.h>

void FillSolid(HDC dc, const RECT& rect, COLORREF color);
