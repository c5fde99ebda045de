#include "skin/Direct2DEntry.h"

#include "framework/Direct2D.h"

namespace nvx {

HRESULT CreateD2DFactory(D2D1_FACTORY_TYPE type, REFIID iid, void** factory) noexcept {
    if (!factory)
        return E_POINTER;
    *factory = nullptr;
    return nvx::d2d1::D2D1CreateFactory(type, iid, nullptr, factory);
}

} // namespace nvx
