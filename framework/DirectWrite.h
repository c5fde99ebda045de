#pragma once
// DirectWrite (dwrite.dll), loaded from the system folder on first use (see SystemLibrary.h).
// When the DLL or the entry point is missing, the factory is null and the result is the
// reason as an HRESULT (HRESULT_FROM_WIN32 of ERROR_MOD_NOT_FOUND or ERROR_PROC_NOT_FOUND).
#include <windows.h>
#include <dwrite.h>

namespace nvx::dwrite {

HRESULT DWriteCreateFactory(DWRITE_FACTORY_TYPE factory_type, REFIID iid, IUnknown** factory);

// Loads the DLL (once) and says whether it is there. Direct2D calls it before it loads
// d2d1.dll: d2d1 imports DirectWrite lazily, and Wine resolves that import from the program's
// folder first, where a planted dwrite.dll would be taken; one already loaded is used instead.
bool LoadFromSystemFolder();

template <typename Factory> HRESULT DWriteCreateFactory(DWRITE_FACTORY_TYPE factory_type, Factory** factory) {
    return nvx::dwrite::DWriteCreateFactory(factory_type, __uuidof(Factory),
                                            reinterpret_cast<IUnknown**>(factory));
}

} // namespace nvx::dwrite
