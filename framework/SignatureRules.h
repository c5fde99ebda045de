#pragma once
// What an Authenticode signature allows a downloaded program: the rules, apart from the system
// calls that read the signature (Authenticode.h), so that they build and are tested natively.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nvx {

enum class SignatureState {
    Unsigned, // the file carries no signature
    Verified, // it verifies and its signer's chain ends in a trusted root
    Broken,   // it carries a signature that does not verify, or whose chain is not trusted
};

struct FileSignature {
    SignatureState state = SignatureState::Unsigned;
    // The signer certificate's subject as the system writes it ("C=DE, O=NVX Systems, CN=...");
    // empty when no signer could be read.
    std::wstring subject;
    // Why a Broken signature does not verify, for the diagnostic channel.
    std::wstring problem;
};

// The errors of the signer's certificate chain (CERT_TRUST_* bits of its trust status) that make
// a signature Broken: a chain that does not end in a trusted root, a certificate whose
// signature does not verify, a revoked or cyclic chain, a CA that may not issue. Wine's
// Authenticode policy lets a partial chain through, so the bits are looked at as well.
bool ChainErrorRefuses(uint32_t error_status) noexcept;

// The attributes of a distinguished name written as text ("CN=NVX Systems, O=\"NVX, Inc.\"",
// also with blanks around "=", ";" between attributes, quoted values and backslash escapes),
// each as (upper-case type, value), sorted. False when the text is not such a name.
using NameAttribute = std::pair<std::wstring, std::wstring>;
std::optional<std::vector<NameAttribute>> ParseDistinguishedName(std::wstring_view text);

// Whether `publisher`, as written in the manifest, names the signer `subject`: a distinguished
// name names a subject with exactly the same attributes in any order; a plain name is the
// subject's common name. Values are compared exactly.
bool PublisherNames(std::wstring_view publisher, std::wstring_view subject);
// Whether two subjects are the same name (attributes in any order).
bool SameSubject(std::wstring_view a, std::wstring_view b);

struct SignatureVerdict {
    bool accepted = false;
    std::wstring reason; // why not, for the diagnostic channel
};

// A downloaded program or package: a signature it carries must verify; when `publisher` is not
// empty it must be signed, by that publisher.
SignatureVerdict JudgeDownload(const FileSignature& file, std::wstring_view publisher);

// A newer copy of this installer: judged as a download with the manifest's `publisher`, and,
// when this installer itself carries a signature, signed by the same subject.
SignatureVerdict JudgeUpdater(const FileSignature& updater, const FileSignature& own,
                              std::wstring_view publisher);

} // namespace nvx
