#pragma once
// Draws PNG artwork with its per-pixel alpha (the pictures are premultiplied when loaded).
#include <windows.h>

// Blends the source rectangle of picture over the destination rectangle of target, stretched
// when the sizes differ; constant_alpha dims the whole picture (50 for a disabled caption
// button). A null picture draws nothing.
void BlendPicture(HDC target, const RECT& destination, HBITMAP picture, const RECT& source,
                  BYTE constant_alpha = 255);
