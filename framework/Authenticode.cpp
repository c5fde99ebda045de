#include "framework/Authenticode.h"

#include "framework/Crypt32.h"
#include "framework/Handles.h"
#include "framework/WinTrust.h"

#include <softpub.h>

#include <cstdio>
#include <vector>

namespace nvx {

namespace {

std::wstring Hex(LONG code) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(code));
    return text;
}

std::wstring SubjectText(PCCERT_CONTEXT certificate) {
    CERT_NAME_BLOB* name = &certificate->pCertInfo->Subject;
    DWORD length = crypt32::CertNameToStrW(X509_ASN_ENCODING, name, CERT_X500_NAME_STR, nullptr, 0);
    if (length <= 1)
        return {};
    std::vector<wchar_t> text(length);
    length = crypt32::CertNameToStrW(X509_ASN_ENCODING, name, CERT_X500_NAME_STR, text.data(), length);
    return length > 1 ? std::wstring(text.data(), length - 1) : std::wstring();
}

// One WinVerifyTrust verification with its state, closed again when it ends.
class CTrustVerification {
public:
    CTrustVerification(HANDLE file, const std::wstring& path) {
        file_info_.cbStruct = sizeof(file_info_);
        file_info_.pcwszFilePath = path.c_str();
        file_info_.hFile = file;
        data_.cbStruct = sizeof(data_);
        data_.dwUIChoice = WTD_UI_NONE;
        data_.fdwRevocationChecks = WTD_REVOKE_NONE;
        data_.dwUnionChoice = WTD_CHOICE_FILE;
        data_.pFile = &file_info_;
        data_.dwStateAction = WTD_STATEACTION_VERIFY;
        data_.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
        result_ = wintrust::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action_, &data_);
    }
    ~CTrustVerification() {
        data_.dwStateAction = WTD_STATEACTION_CLOSE;
        wintrust::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action_, &data_);
    }
    CTrustVerification(const CTrustVerification&) = delete;
    CTrustVerification& operator=(const CTrustVerification&) = delete;

    LONG result() const noexcept { return result_; }
    // The first signer with its certificates and chain; null when none was read.
    CRYPT_PROVIDER_SGNR* Signer() const {
        CRYPT_PROVIDER_DATA* provider = wintrust::WTHelperProvDataFromStateData(data_.hWVTStateData);
        return provider ? wintrust::WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
    }

private:
    GUID action_ = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WINTRUST_FILE_INFO file_info_{};
    WINTRUST_DATA data_{};
    LONG result_ = 0;
};

// Why the signer's chain is not trusted; empty when it is.
std::wstring ChainProblem(PCCERT_CHAIN_CONTEXT chain) {
    if (!chain)
        return L"no certificate chain for the signer";
    if (ChainErrorRefuses(chain->TrustStatus.dwErrorStatus))
        return L"the signer's certificate chain has the errors " +
               Hex(static_cast<LONG>(chain->TrustStatus.dwErrorStatus));
    CERT_CHAIN_POLICY_PARA para{};
    para.cbSize = sizeof(para);
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof(status);
    if (!crypt32::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_AUTHENTICODE, chain, &para, &status))
        return L"the chain policy could not be checked: " + Hex(static_cast<LONG>(::GetLastError()));
    if (status.dwError != ERROR_SUCCESS)
        return L"the Authenticode chain policy answers " + Hex(static_cast<LONG>(status.dwError));
    return {};
}

} // namespace

FileSignature ReadFileSignature(HANDLE file, const std::wstring& path) {
    FileSignature signature;
    CTrustVerification verification(file, path);
    const LONG result = verification.result();
    if (result == TRUST_E_NOSIGNATURE || result == TRUST_E_SUBJECT_FORM_UNKNOWN)
        return signature; // Unsigned
    signature.state = SignatureState::Broken;
    CRYPT_PROVIDER_SGNR* signer = verification.Signer();
    if (signer && signer->csCertChain > 0 && signer->pasCertChain[0].pCert)
        signature.subject = SubjectText(signer->pasCertChain[0].pCert);
    if (result != ERROR_SUCCESS) {
        signature.problem = L"WinVerifyTrust answers " + Hex(result);
        return signature;
    }
    if (signature.subject.empty()) {
        signature.problem = L"no signer could be read";
        return signature;
    }
    signature.problem = ChainProblem(signer->pChainContext);
    if (signature.problem.empty())
        signature.state = SignatureState::Verified;
    return signature;
}

const FileSignature& OwnSignature() {
    static const FileSignature own = [] {
        std::vector<wchar_t> path(32768);
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        FileSignature unknown{SignatureState::Broken, {}, L"this program's file cannot be read"};
        if (length == 0 || length >= path.size())
            return unknown;
        const std::wstring program(path.data(), length);
        UniqueHandle file(::CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file ? ReadFileSignature(file.get(), program) : unknown;
    }();
    return own;
}

} // namespace nvx
