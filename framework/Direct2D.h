#pragma once
// Direct2D (d2d1.dll), loaded from the system folder on first use (see SystemLibrary.h).
// When the DLL or the entry point is missing, the factory is null and the result is the
// reason as an HRESULT (HRESULT_FROM_WIN32 of ERROR_MOD_NOT_FOUND or ERROR_PROC_NOT_FOUND).
#include <windows.h>
#include <d2d1.h>

namespace nvx::d2d1 {

HRESULT D2D1CreateFactory(D2D1_FACTORY_TYPE factory_type, REFIID riid, const D2D1_FACTORY_OPTIONS* options,
                          void** factory);

template <typename Factory> HRESULT D2D1CreateFactory(D2D1_FACTORY_TYPE factory_type, Factory** factory) {
    return nvx::d2d1::D2D1CreateFactory(factory_type, __uuidof(Factory), nullptr,
                                        reinterpret_cast<void**>(factory));
}

} // namespace nvx::d2d1
