#include "skin/Direct2DEntry.h"

namespace nvx {

namespace {

using CreateFactoryFunction = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*,
                                               void**);

// Loaded once and kept for the life of the process: factories and render targets made from it
// may live until exit.
CreateFactoryFunction FactoryEntry() noexcept {
    static const CreateFactoryFunction entry = []() -> CreateFactoryFunction {
        HMODULE d2d1 = ::LoadLibraryExW(L"d2d1.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!d2d1)
            return nullptr;
        return reinterpret_cast<CreateFactoryFunction>(
            reinterpret_cast<void*>(::GetProcAddress(d2d1, "D2D1CreateFactory")));
    }();
    return entry;
}

} // namespace

HRESULT CreateD2DFactory(D2D1_FACTORY_TYPE type, REFIID iid, void** factory) noexcept {
    if (!factory)
        return E_POINTER;
    *factory = nullptr;
    CreateFactoryFunction entry = FactoryEntry();
    if (!entry)
        return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    return entry(type, iid, nullptr, factory);
}

} // namespace nvx
