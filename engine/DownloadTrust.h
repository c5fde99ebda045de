#pragma once
// The signature check of a downloaded program or package before the installation uses it: a
// signature it carries must verify, and the product's package must be signed by the
// manifest's publisher when the manifest names one. A refused file is deleted, the reason goes
// to the diagnostic channel and a message box names the file.
#include "config/InstallConfig.h"
#include "engine/InstallStep.h"

// True when the downloaded file of `step` may be used.
bool AcceptDownloadedFile(const InstallStep& step, const CInstallConfig& config);
