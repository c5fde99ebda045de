#pragma once
// The checks of version.xml, alone and against the manifest it is published for.
#include "tools/manifest-check/ManifestChecks.h"
#include "tools/manifest-check/SourceFile.h"

// Checks the loaded version.xml in `file`; the manifest's web installer version (in
// `manifest_file`) is the installer's own version in the self-update rules. Adds the newer
// installer's addresses to `facts.downloads`.
void CheckRelease(CSourceFile& file, const CSourceFile& manifest_file, ManifestFacts& facts);
