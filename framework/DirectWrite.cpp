#include "framework/DirectWrite.h"

#include "framework/SystemLibrary.h"

namespace nvx::dwrite {

namespace {

constexpr wchar_t kFileName[] = L"dwrite.dll";
using DirectWriteDll = CProcessWideLibrary<kFileName>;

} // namespace

bool LoadFromSystemFolder() {
    return static_cast<bool>(DirectWriteDll::Get());
}

HRESULT DWriteCreateFactory(DWRITE_FACTORY_TYPE factory_type, REFIID iid, IUnknown** factory) {
    static const auto entry = DirectWriteDll::Entry<decltype(::DWriteCreateFactory)>("DWriteCreateFactory");
    if (!entry && factory)
        *factory = nullptr;
    return entry.CallOr(HRESULT_FROM_WIN32(entry.error()), factory_type, iid, factory);
}

} // namespace nvx::dwrite
