#pragma once
// crypt32.dll, loaded from the system folder on first use (see SystemLibrary.h): the chain
// policy check and the certificate name as text. When the DLL or the entry point is missing,
// CertVerifyCertificateChainPolicy answers FALSE and CertNameToStrW 0, with the reason in the
// thread's last error.
#include <windows.h>
#include <wincrypt.h>

namespace nvx::crypt32 {

BOOL CertVerifyCertificateChainPolicy(LPCSTR policy, PCCERT_CHAIN_CONTEXT chain, PCERT_CHAIN_POLICY_PARA para,
                                      PCERT_CHAIN_POLICY_STATUS status);
DWORD CertNameToStrW(DWORD encoding, PCERT_NAME_BLOB name, DWORD type, LPWSTR text, DWORD text_length);

} // namespace nvx::crypt32
