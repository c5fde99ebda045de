#include "framework/Crypt32.h"

#include "framework/SystemLibrary.h"

namespace nvx::crypt32 {

namespace {

constexpr wchar_t kFileName[] = L"crypt32.dll";
using Crypt32Dll = CProcessWideLibrary<kFileName>;

} // namespace

BOOL CertVerifyCertificateChainPolicy(LPCSTR policy, PCCERT_CHAIN_CONTEXT chain, PCERT_CHAIN_POLICY_PARA para,
                                      PCERT_CHAIN_POLICY_STATUS status) {
    static const auto entry =
        Crypt32Dll::Entry<decltype(::CertVerifyCertificateChainPolicy)>("CertVerifyCertificateChainPolicy");
    return entry.CallOr(FALSE, policy, chain, para, status);
}

DWORD CertNameToStrW(DWORD encoding, PCERT_NAME_BLOB name, DWORD type, LPWSTR text, DWORD text_length) {
    static const auto entry = Crypt32Dll::Entry<decltype(::CertNameToStrW)>("CertNameToStrW");
    return entry.CallOr(0, encoding, name, type, text, text_length);
}

} // namespace nvx::crypt32
