#pragma once
// An offline layout: every file a standalone package of the product carries, for every language
// the manifest names, each downloaded to the place a standalone package keeps it below the
// layout folder ("component", "msi", "transform"). Nothing is installed, so the plan has
// download weights only.
#include "config/ManifestInfo.h"
#include "engine/InstallPlan.h"

#include <string>

// The folders of a layout below its root (no trailing backslash); each ends with a backslash.
struct LayoutFolders {
    explicit LayoutFolders(const std::wstring& root);

    std::wstring root;
    std::wstring config;
    std::wstring language;
    std::wstring component;
    std::wstring msi;
    std::wstring transform;
};

// Every prerequisite, the main package, the first transform of each language and the first
// language pack of each language, in that order; a file named twice is fetched once.
[[nodiscard]] InstallPlan BuildLayoutPlan(const ManifestInfo& manifest, const LayoutFolders& folders);
