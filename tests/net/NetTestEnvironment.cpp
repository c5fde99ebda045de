// Process-wide set-up of the download tests: the WinINet session and write lock the
// application object would own, and trust in the test CA that signed the HTTPS servers'
// certificates.
//
// Where Wine's crypt32 looks for trusted roots: chain building (which WinINet's certificate
// check goes through) reads the system store "Root", backed by the registry key
// HKLM\Software\Microsoft\SystemCertificates\Root\Certificates of the prefix. On first use in a
// wineserver session crypt32 also copies the host's bundle (/etc/ssl/certs/ca-certificates.crt,
// else the other usual places) into that key as volatile entries. So the test CA is added to
// the LocalMachine Root store of the private test prefix: the same store Windows consults, and
// the host's own trust store stays untouched. It is removed again when the tests end. The CA
// that signs the installers of the tests (scripts/test-signing.sh) is trusted the same way.
#include "net/InternetSession.h"
#include "tests/net/NetServers.h"

#include <gtest/gtest.h>
#include <wincrypt.h>

#include <memory>
#include <string>

namespace {

// Adds a CA (its DER file) to the machine's Root store for the life of the object. Each change is
// committed at once: a registry-backed store writes to the registry only when told to or when
// it is released, and only then do the stores that chain building opens see the change.
class CTestCaTrust {
public:
    explicit CTestCaTrust(const std::wstring& der_path) : der_(nettest::ReadWholeFile(der_path)) {
        if (der_.empty())
            return; // servers not started or nothing signed: the tests that need them say so
        HCERTSTORE store = OpenRoot();
        if (!store)
            return;
        added_ = ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, Der(), Size(),
                                                    CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
        if (added_)
            ::CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
        ::CertCloseStore(store, 0);
    }
    ~CTestCaTrust() {
        if (!added_)
            return;
        HCERTSTORE store = OpenRoot();
        if (!store)
            return;
        PCCERT_CONTEXT ca = ::CertCreateCertificateContext(X509_ASN_ENCODING, Der(), Size());
        PCCERT_CONTEXT found =
            ca ? ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, ca, nullptr)
               : nullptr;
        if (found && ::CertDeleteCertificateFromStore(found)) // also frees `found`
            ::CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
        if (ca)
            ::CertFreeCertificateContext(ca);
        ::CertCloseStore(store, 0);
    }
    CTestCaTrust(const CTestCaTrust&) = delete;
    CTestCaTrust& operator=(const CTestCaTrust&) = delete;

private:
    static HCERTSTORE OpenRoot() {
        return ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    }
    const BYTE* Der() const { return reinterpret_cast<const BYTE*>(der_.data()); }
    DWORD Size() const { return static_cast<DWORD>(der_.size()); }

    std::string der_;
    bool added_ = false;
};

class CNetTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        session_ = std::make_unique<CInternetSessionOwner>();
        trust_ = std::make_unique<CTestCaTrust>(nettest::ServersFolder() + L"\\certs\\test-ca\\ca.der");
        const std::string signing_ca = NVX_TEST_SIGNING_CA;
        signing_trust_ =
            std::make_unique<CTestCaTrust>(L"Z:" + std::wstring(signing_ca.begin(), signing_ca.end()));
    }
    void TearDown() override {
        signing_trust_.reset();
        trust_.reset();
        session_.reset();
    }

private:
    std::unique_ptr<CInternetSessionOwner> session_;
    std::unique_ptr<CTestCaTrust> trust_;
    std::unique_ptr<CTestCaTrust> signing_trust_;
};

[[maybe_unused]] ::testing::Environment* const net_environment =
    ::testing::AddGlobalTestEnvironment(new CNetTestEnvironment);

} // namespace
