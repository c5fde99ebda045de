#include "engine/PrerequisiteRules.h"

namespace {

constexpr uint32_t kMinimumVcMajor = 14;
constexpr uint32_t kMinimumVcMinor = 24;
constexpr uint32_t kMinimumVcBld = 18127;

} // namespace

bool IsInstalledVersionText(const std::optional<std::wstring>& version) {
    return version && !version->empty() && *version != L"0.0.0.0";
}

bool IsWebView2Installed(const std::optional<std::wstring>& machine_pv,
                         const std::optional<std::wstring>& user_pv) {
    return IsInstalledVersionText(machine_pv) || IsInstalledVersionText(user_pv);
}

bool IsVcRuntimeInstalled(const VcRuntimeValues& values) {
    if (!values.key_opened)
        return false;
    return values.major.value_or(0) >= kMinimumVcMajor && values.minor.value_or(0) >= kMinimumVcMinor &&
           values.bld.value_or(0) >= kMinimumVcBld;
}

bool IsBonjourInstalled(bool key_opened, const std::optional<std::wstring>& version) {
    return key_opened && IsInstalledVersionText(version);
}
