#include "skin/Direct2DEntry.h"

namespace {

using D2D1CreateFactoryFunction = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*,
                                                   void**);
using DWriteCreateFactoryFunction = HRESULT(WINAPI*)(DWRITE_FACTORY_TYPE, REFIID, IUnknown**);

// An export of a system DLL, loaded on first use and kept for the life of the process (the
// factories it makes must outlive every control). Null when the DLL or the export is missing;
// `error` then holds the reason.
template <typename Function> Function SystemExport(const wchar_t* dll, const char* name, DWORD* error) {
    HMODULE module = ::LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        *error = ::GetLastError();
        return nullptr;
    }
    auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    if (!function)
        *error = ::GetLastError();
    return function;
}

HRESULT LoadFailure(DWORD error) {
    return HRESULT_FROM_WIN32(error ? error : ERROR_PROC_NOT_FOUND);
}

HRESULT SystemDirect2D(D2D1_FACTORY_TYPE type, REFIID riid, void** factory) {
    static DWORD error = 0;
    static const auto create =
        SystemExport<D2D1CreateFactoryFunction>(L"d2d1.dll", "D2D1CreateFactory", &error);
    return create ? create(type, riid, nullptr, factory) : LoadFailure(error);
}

HRESULT SystemDirectWrite(DWRITE_FACTORY_TYPE type, REFIID riid, IUnknown** factory) {
    static DWORD error = 0;
    static const auto create =
        SystemExport<DWriteCreateFactoryFunction>(L"dwrite.dll", "DWriteCreateFactory", &error);
    return create ? create(type, riid, factory) : LoadFailure(error);
}

Direct2DEntryPoints& EntryPoints() {
    static Direct2DEntryPoints entry_points{SystemDirect2D, SystemDirectWrite};
    return entry_points;
}

} // namespace

HRESULT CreateDirect2DFactory(D2D1_FACTORY_TYPE type, REFIID riid, void** factory) noexcept {
    *factory = nullptr;
    try {
        return EntryPoints().create_direct2d(type, riid, factory);
    } catch (...) {
        return E_FAIL; // a test's replacement that threw
    }
}

HRESULT CreateDirectWriteFactory(DWRITE_FACTORY_TYPE type, REFIID riid, IUnknown** factory) noexcept {
    *factory = nullptr;
    try {
        return EntryPoints().create_directwrite(type, riid, factory);
    } catch (...) {
        return E_FAIL;
    }
}

CDirect2DEntryOverride::CDirect2DEntryOverride(Direct2DEntryPoints entry_points)
    : previous_(std::exchange(EntryPoints(), std::move(entry_points))) {}

CDirect2DEntryOverride::~CDirect2DEntryOverride() {
    EntryPoints() = std::move(previous_);
}
