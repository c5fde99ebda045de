#pragma once
// Four-part product versions and the decision whether to install, taken from the installed
// version, the server's release data and this installer's own version. The comparison is
// deliberately narrow: the first numbers must be equal, the second must not go down, the
// fourth (build) must go up, and the third never counts.
#include "config/ManifestInfo.h"

#include <cstdint>
#include <string>
#include <string_view>

struct VersionNumber {
    uint32_t first = 0;
    uint32_t second = 0;
    uint32_t third = 0;
    uint32_t fourth = 0;

    bool operator==(const VersionNumber&) const = default;
};

enum class VersionCheckResult : int {
    Proceed = 0,
    AlreadyInstalled = 1,
    ClientTooOld = 2,
};

// Four dotted decimal numbers; anything else (fewer than 7 characters, not exactly four
// non-empty pieces) gives all zeros.
VersionNumber ParseVersion(std::wstring_view text);

bool IsNewerVersion(std::wstring_view candidate, std::wstring_view reference);

// The installer's decision for a product that is (or is not) installed in `installed_version`.
VersionCheckResult EvaluateVersionState(const ManifestInfo& manifest, const std::wstring& installed_version,
                                        bool product_installed);

// The decision with the comparison that made it, in words for the log.
struct VersionVerdict {
    VersionCheckResult result = VersionCheckResult::Proceed;
    std::wstring reason;
};
VersionVerdict DecideVersionState(const ManifestInfo& manifest, const std::wstring& installed_version,
                                  bool product_installed);
