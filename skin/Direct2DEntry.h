#pragma once
// The two entry points of Direct2D and DirectWrite the skinned controls use: the system
// folder's d2d1.dll and dwrite.dll (framework/Direct2D.h, framework/DirectWrite.h), which tests
// can replace for a scope.
#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>

#include <functional>
#include <utility>

// D2D1CreateFactory / DWriteCreateFactory. Without the DLL or the export they answer
// HRESULT_FROM_WIN32 of the load error and leave *factory null.
HRESULT CreateDirect2DFactory(D2D1_FACTORY_TYPE type, REFIID riid, void** factory) noexcept;
HRESULT CreateDirectWriteFactory(DWRITE_FACTORY_TYPE type, REFIID riid, IUnknown** factory) noexcept;

// target->EndDraw(), whose answer a test may replace: a lost device (D2DERR_RECREATE_TARGET)
// cannot be brought about at will.
HRESULT EndDirect2DDraw(ID2D1RenderTarget* target) noexcept;

// Tests replace the entry points for a scope to see how the controls cope without them, or with
// a draw that ends in an error.
struct Direct2DEntryPoints {
    std::function<HRESULT(D2D1_FACTORY_TYPE, REFIID, void**)> create_direct2d;
    std::function<HRESULT(DWRITE_FACTORY_TYPE, REFIID, IUnknown**)> create_directwrite;
    // Given EndDraw's answer, answers what the control sees; empty: EndDraw's own answer.
    std::function<HRESULT(HRESULT)> end_draw = {};
};

class CDirect2DEntryOverride {
public:
    explicit CDirect2DEntryOverride(Direct2DEntryPoints entry_points);
    ~CDirect2DEntryOverride();
    CDirect2DEntryOverride(const CDirect2DEntryOverride&) = delete;
    CDirect2DEntryOverride& operator=(const CDirect2DEntryOverride&) = delete;

private:
    Direct2DEntryPoints previous_;
};
