#pragma once
// The GDI fonts of the skin: a face at a cell height (positive LOGFONT height), stroke
// precision, proof quality.
#include <windows.h>

HFONT CreateSkinFont(const wchar_t* face, int cell_height, LONG weight, BYTE charset, bool underline = false);
