#pragma once
// One run of the checker over a manifest and, when given, the version.xml published with it.
#include "tools/manifest-check/Finding.h"

#include <string>

struct CheckRequest {
    std::wstring manifest_path;
    std::wstring version_xml_path; // empty: none
    bool online = false;
};

// Every finding, the manifest's first, each file's in the order of its lines.
Findings RunChecks(const CheckRequest& request);
