#pragma once
// What the registry values of the three prerequisite components mean, decided over the values
// read (nothing read: std::nullopt), so the rules are tested without a registry.
#include <cstdint>
#include <optional>
#include <string>

// A version value that says "installed": read, not empty and not exactly 0.0.0.0.
bool IsInstalledVersionText(const std::optional<std::wstring>& version);

// WebView2 counts as installed when the machine-wide or the per-user "pv" says so.
bool IsWebView2Installed(const std::optional<std::wstring>& machine_pv,
                         const std::optional<std::wstring>& user_pv);

struct VcRuntimeValues {
    bool key_opened = false;
    std::optional<uint32_t> major; // a value that cannot be read counts as 0
    std::optional<uint32_t> minor;
    std::optional<uint32_t> bld;
};

// Each number is compared on its own (Major ≥ 14, Minor ≥ 24, Bld ≥ 18127), not as one version.
bool IsVcRuntimeInstalled(const VcRuntimeValues& values);

bool IsBonjourInstalled(bool key_opened, const std::optional<std::wstring>& version);
