#pragma once
// wintrust.dll, loaded from the system folder on first use (see SystemLibrary.h): the
// Authenticode check and the helpers that read its signer. When the DLL or the entry point is
// missing, WinVerifyTrust answers the reason (ERROR_MOD_NOT_FOUND, ERROR_PROC_NOT_FOUND as an
// HRESULT) and the helpers null.
#include <windows.h>
#include <wincrypt.h>
#include <wintrust.h>

namespace nvx::wintrust {

LONG WinVerifyTrust(HWND window, GUID* action, WINTRUST_DATA* data);
CRYPT_PROVIDER_DATA* WTHelperProvDataFromStateData(HANDLE state);
CRYPT_PROVIDER_SGNR* WTHelperGetProvSignerFromChain(CRYPT_PROVIDER_DATA* data, DWORD signer,
                                                    BOOL counter_signer, DWORD counter_signer_index);

} // namespace nvx::wintrust
