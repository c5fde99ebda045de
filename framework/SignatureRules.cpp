#include "framework/SignatureRules.h"

#include <algorithm>
#include <cwctype>

namespace nvx {

namespace {

// CERT_TRUST_* error bits of wincrypt.h.
constexpr uint32_t kRevoked = 0x00000004;
constexpr uint32_t kSignatureInvalid = 0x00000008;
constexpr uint32_t kNotValidForUsage = 0x00000010;
constexpr uint32_t kUntrustedRoot = 0x00000020;
constexpr uint32_t kCyclic = 0x00000080;
constexpr uint32_t kInvalidBasicConstraints = 0x00000400;
constexpr uint32_t kPartialChain = 0x00010000;
constexpr uint32_t kExplicitDistrust = 0x04000000;
constexpr uint32_t kRefusingErrors = kRevoked | kSignatureInvalid | kNotValidForUsage | kUntrustedRoot |
                                     kCyclic | kInvalidBasicConstraints | kPartialChain | kExplicitDistrust;

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsSeparator(wchar_t c) {
    return c == L',' || c == L';';
}

// Reads one attribute value from `text` at `at` up to the next separator; moves `at` past it.
std::optional<std::wstring> ReadValue(std::wstring_view text, size_t& at) {
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    std::wstring value;
    if (at < text.size() && text[at] == L'"') {
        for (++at;; ++at) {
            if (at >= text.size())
                return std::nullopt; // unterminated quote
            if (text[at] == L'"') {
                if (at + 1 < text.size() && text[at + 1] == L'"') {
                    value += L'"';
                    ++at;
                    continue;
                }
                ++at;
                break;
            }
            if (text[at] == L'\\' && at + 1 < text.size())
                ++at;
            value += text[at];
        }
        while (at < text.size() && IsBlank(text[at]))
            ++at;
        if (at < text.size() && !IsSeparator(text[at]))
            return std::nullopt; // text after the closing quote
        return value;
    }
    size_t kept = 0; // length without trailing blanks; an escaped blank is kept
    for (; at < text.size() && !IsSeparator(text[at]); ++at) {
        if (text[at] == L'\\' && at + 1 < text.size()) {
            value += text[++at];
            kept = value.size();
            continue;
        }
        value += text[at];
        if (!IsBlank(text[at]))
            kept = value.size();
    }
    value.resize(kept);
    return value;
}

std::wstring UpperType(std::wstring_view type) {
    std::wstring upper(type);
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    return upper;
}

} // namespace

bool ChainErrorRefuses(uint32_t error_status) noexcept {
    return (error_status & kRefusingErrors) != 0;
}

std::optional<std::vector<NameAttribute>> ParseDistinguishedName(std::wstring_view text) {
    std::vector<NameAttribute> attributes;
    size_t at = 0;
    while (at < text.size()) {
        const size_t equals = text.find(L'=', at);
        if (equals == std::wstring_view::npos)
            return std::nullopt;
        std::wstring_view type = Trimmed(text.substr(at, equals - at));
        if (type.empty() ||
            std::any_of(type.begin(), type.end(), [](wchar_t c) { return IsSeparator(c) || c == L'"'; }))
            return std::nullopt;
        at = equals + 1;
        std::optional<std::wstring> value = ReadValue(text, at);
        if (!value)
            return std::nullopt;
        attributes.emplace_back(UpperType(type), std::move(*value));
        if (at < text.size())
            ++at; // the separator
    }
    if (attributes.empty())
        return std::nullopt;
    std::sort(attributes.begin(), attributes.end());
    return attributes;
}

bool PublisherNames(std::wstring_view publisher, std::wstring_view subject) {
    const std::optional<std::vector<NameAttribute>> signer = ParseDistinguishedName(subject);
    publisher = Trimmed(publisher);
    if (!signer || publisher.empty())
        return false;
    if (publisher.find(L'=') != std::wstring_view::npos) {
        const std::optional<std::vector<NameAttribute>> named = ParseDistinguishedName(publisher);
        return named && *named == *signer;
    }
    // A plain name: the signer's one common name.
    int common_names = 0;
    bool matched = false;
    for (const NameAttribute& attribute : *signer) {
        if (attribute.first != L"CN")
            continue;
        ++common_names;
        matched = attribute.second == publisher;
    }
    return common_names == 1 && matched;
}

bool SameSubject(std::wstring_view a, std::wstring_view b) {
    const std::optional<std::vector<NameAttribute>> first = ParseDistinguishedName(a);
    const std::optional<std::vector<NameAttribute>> second = ParseDistinguishedName(b);
    return first && second && *first == *second;
}

SignatureVerdict JudgeDownload(const FileSignature& file, std::wstring_view publisher) {
    if (file.state == SignatureState::Broken)
        return {false, L"its signature does not verify: " + file.problem};
    if (publisher.empty())
        return {true, {}};
    if (file.state == SignatureState::Unsigned)
        return {false, L"it is not signed, and the manifest names the publisher \"" +
                           std::wstring(publisher) + L"\""};
    if (!PublisherNames(publisher, file.subject))
        return {false, L"it is signed by \"" + file.subject + L"\", not by the manifest's publisher \"" +
                           std::wstring(publisher) + L"\""};
    return {true, {}};
}

SignatureVerdict JudgeUpdater(const FileSignature& updater, const FileSignature& own,
                              std::wstring_view publisher) {
    SignatureVerdict verdict = JudgeDownload(updater, publisher);
    if (!verdict.accepted || own.state == SignatureState::Unsigned)
        return verdict;
    if (own.subject.empty())
        return {false, L"this installer's own signer cannot be read: " + own.problem};
    if (updater.state != SignatureState::Verified)
        return {false, L"it is not signed, and this installer is signed by \"" + own.subject + L"\""};
    if (!SameSubject(updater.subject, own.subject))
        return {false, L"it is signed by \"" + updater.subject + L"\", not by this installer's publisher \"" +
                           own.subject + L"\""};
    return verdict;
}

} // namespace nvx
