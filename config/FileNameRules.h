#pragma once
// Names from the manifest that become file names below the installer's folders (the package,
// the prerequisites, the newer installer). A name is one plain file name or it is not used:
// a path separator, "..", a colon (a drive or an alternate data stream), a control character,
// a character Windows refuses in names, or a device name ("CON", "lpt1.txt") could write
// outside the folder or open something else than a file.
#include "config/ManifestInfo.h"

#include <string>
#include <string_view>

// Why `name` cannot be a file name; empty when it can.
std::wstring UnsafeFileNameReason(std::wstring_view name);

// A safe file name made from `name`: every character that may not stand in a file name and
// every ".." becomes "_", blanks and dots at the ends go; a result that still is not a safe
// name (empty, a device name) gives `fallback`, which must be safe.
std::wstring SafeFileName(std::wstring_view name, std::wstring_view fallback);

// Refuses the manifest's unsafe names, saying why in the diagnostic channel: a dependency,
// transform or language pack with one is dropped (as one without a name or language is); the
// product's package, which the installation cannot do without, is stored under a safe name
// made from its name instead.
void RefuseUnsafeNames(ManifestInfo& manifest);
