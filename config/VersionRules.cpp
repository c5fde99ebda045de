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

VersionCheckResult EvaluateVersionState(const ManifestInfo& manifest, const std::wstring& installed_version,
                                        bool product_installed) {
    if (product_installed) {
        if (!IsNewerVersion(manifest.standalone_version, installed_version))
            return VersionCheckResult::AlreadyInstalled;
        if (manifest.standalone)
            return VersionCheckResult::Proceed;
        if (IsNewerVersion(manifest.patch_install.min_web_installer_version, manifest.web_installer_version))
            return VersionCheckResult::ClientTooOld;
        return VersionCheckResult::Proceed;
    }
    if (manifest.standalone)
        return VersionCheckResult::Proceed;
    if (IsNewerVersion(manifest.fresh_install.min_web_installer_version, manifest.web_installer_version))
        return VersionCheckResult::ClientTooOld;
    return VersionCheckResult::Proceed;
}
