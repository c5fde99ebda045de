#include "framework/WinTrust.h"

#include "framework/SystemLibrary.h"

namespace nvx::wintrust {

namespace {

constexpr wchar_t kFileName[] = L"wintrust.dll";
using WinTrustDll = CProcessWideLibrary<kFileName>;

} // namespace

LONG WinVerifyTrust(HWND window, GUID* action, WINTRUST_DATA* data) {
    static const auto entry = WinTrustDll::Entry<decltype(::WinVerifyTrust)>("WinVerifyTrust");
    return entry.CallOr(HRESULT_FROM_WIN32(entry.error()), window, action, data);
}

CRYPT_PROVIDER_DATA* WTHelperProvDataFromStateData(HANDLE state) {
    static const auto entry =
        WinTrustDll::Entry<decltype(::WTHelperProvDataFromStateData)>("WTHelperProvDataFromStateData");
    return entry.CallOr(nullptr, state);
}

CRYPT_PROVIDER_SGNR* WTHelperGetProvSignerFromChain(CRYPT_PROVIDER_DATA* data, DWORD signer,
                                                    BOOL counter_signer, DWORD counter_signer_index) {
    static const auto entry =
        WinTrustDll::Entry<decltype(::WTHelperGetProvSignerFromChain)>("WTHelperGetProvSignerFromChain");
    return entry.CallOr(nullptr, data, signer, counter_signer, counter_signer_index);
}

} // namespace nvx::wintrust
