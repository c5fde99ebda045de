#pragma once
// Direct2D without importing d2d1.dll: the program runs elevated from a Downloads folder, where
// a DLL of that name planted next to it must never be loaded, so d2d1 comes from the system
// folder at run time.
#include <d2d1.h>

namespace nvx {

// D2D1CreateFactory of the system's d2d1.dll, with default options. A failure when the DLL or its
// entry point cannot be had, else whatever D2D1CreateFactory answers.
HRESULT CreateD2DFactory(D2D1_FACTORY_TYPE type, REFIID iid, void** factory) noexcept;

} // namespace nvx
