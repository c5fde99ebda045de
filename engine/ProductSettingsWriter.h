#pragma once
// Writes the product's settings after a first installation (engine/ProductSettings.h decides
// which). Write errors are not reported: the installation has succeeded either way.
#include "config/LaunchOptions.h"
#include "config/InstallConfig.h"

bool WriteProductSettings(const CInstallConfig& config, const LaunchOptions& app);
