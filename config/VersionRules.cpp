#include "config/VersionRules.h"

#include "config/TextRules.h"

#include <vector>

VersionNumber ParseVersion(std::wstring_view text) {
    if (text.size() < 7)
        return {};
    std::vector<uint32_t> numbers;
    size_t start = 0;
    while (start <= text.size()) {
        size_t dot = text.find(L'.', start);
        if (dot == std::wstring_view::npos)
            dot = text.size();
        if (dot > start) {
            if (numbers.size() == 4)
                return {}; // a fifth piece
            numbers.push_back(static_cast<uint32_t>(DecimalTextToInt(text.substr(start, dot - start))));
        }
        start = dot + 1;
    }
    if (numbers.size() != 4)
        return {};
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

bool IsNewerVersion(std::wstring_view candidate, std::wstring_view reference) {
    VersionNumber c = ParseVersion(candidate);
    VersionNumber r = ParseVersion(reference);
    return c.first == r.first && c.second >= r.second && c.fourth > r.fourth;
}

namespace {

// "A is newer than B" or "A is not newer than B", with the rule a surprise comes from.
std::wstring Comparison(std::wstring_view candidate, std::wstring_view reference) {
    const std::wstring a(candidate.empty() ? L"(none)" : candidate);
    const std::wstring b(reference.empty() ? L"(none)" : reference);
    if (IsNewerVersion(candidate, reference))
        return a + L" is newer than " + b;
    const VersionNumber c = ParseVersion(candidate);
    const VersionNumber r = ParseVersion(reference);
    std::wstring why;
    if (c == VersionNumber{} && !candidate.empty())
        why = L": not four numbers";
    else if (c.first != r.first)
        why = L": the first numbers differ, which never counts as newer";
    else if (c.second < r.second)
        why = L": the second number is lower";
    else
        why = L": the fourth number is not higher";
    return a + L" is not newer than " + b + why;
}

} // namespace

VersionVerdict DecideVersionState(const ManifestInfo& manifest, const std::wstring& installed_version,
                                  bool product_installed) {
    if (product_installed) {
        const std::wstring update = L"installed " + installed_version + L", offered " +
                                    manifest.standalone_version + L" (" +
                                    Comparison(manifest.standalone_version, installed_version) + L")";
        if (!IsNewerVersion(manifest.standalone_version, installed_version))
            return {VersionCheckResult::AlreadyInstalled, update};
        if (manifest.standalone)
            return {VersionCheckResult::Proceed,
                    update + L"; a standalone package needs no installer version"};
        const std::wstring minimum =
            L"; the update's minimum installer version against this installer's: " +
            Comparison(manifest.patch_install.min_web_installer_version, manifest.web_installer_version);
        if (IsNewerVersion(manifest.patch_install.min_web_installer_version, manifest.web_installer_version))
            return {VersionCheckResult::ClientTooOld, update + minimum};
        return {VersionCheckResult::Proceed, update + minimum};
    }
    if (manifest.standalone)
        return {VersionCheckResult::Proceed,
                L"nothing installed; a standalone package needs no installer version"};
    const std::wstring minimum =
        L"nothing installed; the fresh installation's minimum installer version against "
        L"this installer's: " +
        Comparison(manifest.fresh_install.min_web_installer_version, manifest.web_installer_version);
    if (IsNewerVersion(manifest.fresh_install.min_web_installer_version, manifest.web_installer_version))
        return {VersionCheckResult::ClientTooOld, minimum};
    return {VersionCheckResult::Proceed, minimum};
}

VersionCheckResult EvaluateVersionState(const ManifestInfo& manifest, const std::wstring& installed_version,
                                        bool product_installed) {
    return DecideVersionState(manifest, installed_version, product_installed).result;
}
