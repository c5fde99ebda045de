#pragma once
// One step of the installation plan. Plain data, copied by value.
#include <cstdint>
#include <optional>
#include <string>

enum class StepKind : uint32_t {
    Package = 0,   // the product's Windows Installer package, installed in-process
    External = 1,  // an installer run as a process of its own (prerequisites, language packs)
    Transform = 2, // a language transform: downloaded and counted, applied through the
                   // package's TRANSFORMS property, never run by itself
};

struct InstallStep {
    std::wstring name;
    std::wstring url;
    std::wstring local_path;   // the download writes it, the installation reads it
    std::wstring command_line; // arguments of an External step; empty otherwise
    uint32_t download = 0;     // 1: fetch the file before the installation
    StepKind kind = StepKind::External;
    // The SHA-256 the manifest pins the file to (config/Sha256Pin.h); nothing: not pinned.
    std::optional<std::wstring> sha256 = std::nullopt;

    bool operator==(const InstallStep&) const = default;
};
