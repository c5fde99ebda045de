#pragma once
// Writes the product's settings after a first installation (engine/ProductSettings.h decides
// which). Write errors are not reported: the installation has succeeded either way.
#include "config/ManifestInfo.h"
#include "engine/InstallChoices.h"

bool WriteProductSettings(const InstallChoices& choices, const ManifestInfo& manifest);
