#include "framework/Direct2D.h"

#include "framework/DirectWrite.h"
#include "framework/SystemLibrary.h"

namespace nvx::d2d1 {

namespace {

constexpr wchar_t kFileName[] = L"d2d1.dll";
using Direct2DDll = CProcessWideLibrary<kFileName>;

} // namespace

HRESULT D2D1CreateFactory(D2D1_FACTORY_TYPE factory_type, REFIID riid, const D2D1_FACTORY_OPTIONS* options,
                          void** factory) {
    // Spelled out: the SDK adds C++ overloads of the same name, so decltype cannot name it.
    using Function = HRESULT(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    static const bool direct_write_first = nvx::dwrite::LoadFromSystemFolder();
    (void)direct_write_first;
    static const auto entry = Direct2DDll::Entry<Function>("D2D1CreateFactory");
    if (!entry && factory)
        *factory = nullptr;
    return entry.CallOr(HRESULT_FROM_WIN32(entry.error()), factory_type, riid, options, factory);
}

} // namespace nvx::d2d1
