#pragma once
// The checks of a product manifest on its own.
#include "tools/manifest-check/ManifestLayout.h"
#include "tools/manifest-check/OnlineChecks.h"
#include "tools/manifest-check/SourceFile.h"

#include <string>
#include <vector>

struct ManifestFacts {
    LocatedText web_installer_version;
    LocatedText product_code;
    bool standalone = false;
    std::wstring version_check_url;
    std::vector<OnlineItem> downloads; // every address the installer fetches
};

// Checks the loaded manifest in `file`.
ManifestFacts CheckManifest(CSourceFile& file);
