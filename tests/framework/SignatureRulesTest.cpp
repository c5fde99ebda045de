// What a signature allows a downloaded file and a newer installer: the publisher as a release
// engineer writes it against the subject as the system prints it, the chain errors that refuse
// a signer, and the verdicts.
#include "framework/SignatureRules.h"

#include <gtest/gtest.h>

namespace {

using nvx::FileSignature;
using nvx::SignatureState;

// As CertNameToStrW writes it (Wine quotes values with blanks; Windows only those with
// separators in them).
const std::wstring kPublisher = L"C=DE, O=\"NVX Systems Test\", CN=\"NVX Systems Test Publisher\"";
const std::wstring kOther = L"C=DE, O=Other Maker, CN=Other Maker";

struct NameCase {
    const wchar_t* publisher;
    std::wstring subject;
    bool names;
};

TEST(SignatureRules, PublisherNamesTheSubjectByItsWholeNameOrItsCommonName) {
    const NameCase cases[] = {
        {L"NVX Systems Test Publisher", kPublisher, true},
        {L"  NVX Systems Test Publisher ", kPublisher, true},
        {L"nvx systems test publisher", kPublisher, false}, // values are compared exactly
        {L"NVX Systems Test", kPublisher, false},           // the organisation is no common name
        {L"CN=NVX Systems Test Publisher, O=NVX Systems Test, C=DE", kPublisher, true},
        {L"C = DE, O = NVX Systems Test, CN = NVX Systems Test Publisher", kPublisher, true}, // openssl's way
        {L"cn=NVX Systems Test Publisher;o=\"NVX Systems Test\";c=DE", kPublisher, true},
        {L"CN=NVX Systems Test Publisher, O=NVX Systems Test", kPublisher, false}, // C missing
        {L"CN=NVX Systems Test Publisher, O=NVX Systems Test, C=DE, OU=X", kPublisher, false},
        {L"CN=NVX Systems Test Publisher, O=NVX Systems Test, C=US", kPublisher, false},
        {L"CN=\"NVX, Inc.\"", L"CN=\"NVX, Inc.\"", true},
        {L"CN=NVX\\, Inc.", L"CN=\"NVX, Inc.\"", true},
        {L"CN=NVX", L"CN=\"NVX, Inc.\"", false},
        {L"Other Maker", kOther, true},
        {L"NVX Systems Test Publisher", kOther, false},
        {L"", kPublisher, false},
        {L"CN=", kPublisher, false},
        {L"CN=\"unterminated", kPublisher, false},
        {L"NVX", L"CN=NVX, CN=NVX", false}, // two common names: neither is the name
        {L"NVX", L"", false},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.publisher)) + " / " +
                     testing::PrintToString(c.subject));
        EXPECT_EQ(nvx::PublisherNames(c.publisher, c.subject), c.names);
    }
}

TEST(SignatureRules, SameSubjectIgnoresOrderAndQuotingOnly) {
    EXPECT_TRUE(nvx::SameSubject(kPublisher, L"CN=NVX Systems Test Publisher, O=NVX Systems Test, C=DE"));
    EXPECT_FALSE(nvx::SameSubject(kPublisher, L"CN=NVX Systems Test Publisher, O=NVX Systems Test"));
    EXPECT_FALSE(nvx::SameSubject(kPublisher, kOther));
    EXPECT_FALSE(nvx::SameSubject(L"", L""));
}

TEST(SignatureRules, ChainsThatDoNotEndInATrustedRootAreRefused) {
    EXPECT_FALSE(nvx::ChainErrorRefuses(0));
    EXPECT_FALSE(nvx::ChainErrorRefuses(
        0x00000001)); // time not valid: a timestamped signature outlives its certificate
    EXPECT_FALSE(nvx::ChainErrorRefuses(0x00000040)); // revocation status unknown: nothing is looked up
    EXPECT_TRUE(nvx::ChainErrorRefuses(0x00000020));  // untrusted root
    EXPECT_TRUE(nvx::ChainErrorRefuses(0x00010000));  // partial chain (passed by Wine's policy)
    EXPECT_TRUE(nvx::ChainErrorRefuses(0x00000008));  // a signature in the chain does not verify
    EXPECT_TRUE(nvx::ChainErrorRefuses(0x00000004));  // revoked
    EXPECT_TRUE(nvx::ChainErrorRefuses(0x00010041));  // among bits that do not refuse
}

FileSignature Signed(const std::wstring& subject) {
    return {SignatureState::Verified, subject, {}};
}
const FileSignature kUnsigned{};
const FileSignature kBroken{SignatureState::Broken, kPublisher, L"WinVerifyTrust answers 0x80096010"};

struct VerdictCase {
    const char* name;
    FileSignature file;
    FileSignature own;      // for the updater
    std::wstring publisher; // the manifest's
    bool download_accepted; // as the product's package
    bool updater_accepted;
};

TEST(SignatureRules, DownloadsAndUpdatersAreJudgedBySignatureAndPublisher) {
    const VerdictCase cases[] = {
        {"unsigned, nothing asked, unsigned installer", kUnsigned, kUnsigned, L"", true, true},
        {"unsigned, installer signed", kUnsigned, Signed(kPublisher), L"", true, false},
        {"unsigned, publisher named", kUnsigned, kUnsigned, L"NVX Systems Test Publisher", false, false},
        {"broken signature, nothing asked", kBroken, kUnsigned, L"", false, false},
        {"broken signature, signed installer", kBroken, Signed(kPublisher), L"", false, false},
        {"same publisher", Signed(kPublisher), Signed(kPublisher), L"", true, true},
        {"same publisher, named", Signed(kPublisher), Signed(kPublisher), L"NVX Systems Test Publisher", true,
         true},
        {"other publisher, nothing named", Signed(kOther), Signed(kPublisher), L"", true, false},
        {"other publisher, named", Signed(kOther), kUnsigned, L"NVX Systems Test Publisher", false, false},
        {"other publisher, unsigned installer", Signed(kOther), kUnsigned, L"", true, true},
        {"installer's own signer unreadable", Signed(kPublisher),
         FileSignature{SignatureState::Broken, L"", L"x"}, L"", true, false},
        {"manifest names another than the installer's", Signed(kPublisher), Signed(kPublisher),
         L"Other Maker", false, false},
    };
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(c.name);
        nvx::SignatureVerdict download = nvx::JudgeDownload(c.file, c.publisher);
        EXPECT_EQ(download.accepted, c.download_accepted);
        EXPECT_EQ(download.reason.empty(), c.download_accepted) << testing::PrintToString(download.reason);
        nvx::SignatureVerdict updater = nvx::JudgeUpdater(c.file, c.own, c.publisher);
        EXPECT_EQ(updater.accepted, c.updater_accepted);
        EXPECT_EQ(updater.reason.empty(), c.updater_accepted) << testing::PrintToString(updater.reason);
    }
}

TEST(SignatureRules, ReasonsNameTheSignerAndTheProblem) {
    EXPECT_NE(nvx::JudgeDownload(kBroken, L"").reason.find(L"0x80096010"), std::wstring::npos);
    EXPECT_NE(nvx::JudgeUpdater(Signed(kOther), Signed(kPublisher), L"").reason.find(L"Other Maker"),
              std::wstring::npos);
}

} // namespace
