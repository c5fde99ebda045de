#pragma once
// Direct2D and DirectWrite from the system for a scope, with the first draws answered as lost
// (D2DERR_RECREATE_TARGET, as after a device loss) and the Direct2D factories made counted.
#include "framework/Direct2D.h"
#include "framework/DirectWrite.h"
#include "skin/Direct2DEntry.h"

class CLostDraws {
public:
    explicit CLostDraws(int draws_to_lose)
        : lost(draws_to_lose),
          override_({[this](D2D1_FACTORY_TYPE type, REFIID riid, void** factory) {
                         ++factories;
                         return nvx::d2d1::D2D1CreateFactory(type, riid, nullptr, factory);
                     },
                     [](DWRITE_FACTORY_TYPE type, REFIID riid, IUnknown** factory) {
                         return nvx::dwrite::DWriteCreateFactory(type, riid, factory);
                     },
                     [this](HRESULT result) {
                         return lost-- > 0 ? static_cast<HRESULT>(D2DERR_RECREATE_TARGET) : result;
                     }}) {}

    int lost;          // draws still to be answered as lost
    int factories = 0; // Direct2D factories made in the scope

private:
    CDirect2DEntryOverride override_;
};
