#include "skin/Direct2DEntry.h"

#include "framework/Direct2D.h"
#include "framework/DirectWrite.h"

namespace {

HRESULT SystemDirect2D(D2D1_FACTORY_TYPE type, REFIID riid, void** factory) {
    return nvx::d2d1::D2D1CreateFactory(type, riid, nullptr, factory);
}

HRESULT SystemDirectWrite(DWRITE_FACTORY_TYPE type, REFIID riid, IUnknown** factory) {
    return nvx::dwrite::DWriteCreateFactory(type, riid, factory);
}

Direct2DEntryPoints& EntryPoints() {
    static Direct2DEntryPoints entry_points{SystemDirect2D, SystemDirectWrite, {}};
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

HRESULT EndDirect2DDraw(ID2D1RenderTarget* target) noexcept {
    const HRESULT result = target->EndDraw();
    try {
        const auto& end_draw = EntryPoints().end_draw;
        return end_draw ? end_draw(result) : result;
    } catch (...) {
        return E_FAIL;
    }
}

CDirect2DEntryOverride::CDirect2DEntryOverride(Direct2DEntryPoints entry_points)
    : previous_(std::exchange(EntryPoints(), std::move(entry_points))) {}

CDirect2DEntryOverride::~CDirect2DEntryOverride() {
    EntryPoints() = std::move(previous_);
}
