#pragma once
// Direct2D for the skinned controls, through the system folder's d2d1.dll (framework/Direct2D.h):
// d2d1 is never imported, so a DLL of that name planted beside the installer is never loaded.
#include <d2d1.h>

namespace nvx {

// D2D1CreateFactory of the system's d2d1.dll, with default options. A failure when the DLL or its
// entry point cannot be had, else whatever D2D1CreateFactory answers.
HRESULT CreateD2DFactory(D2D1_FACTORY_TYPE type, REFIID iid, void** factory) noexcept;

} // namespace nvx
