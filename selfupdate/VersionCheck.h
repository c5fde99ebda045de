#pragma once
// The two transfers of the validator's check: the server's "version.xml" with the
// evaluation of this installer's and the installed product's versions, and the download of
// a newer installer. Both run on the validator's worker thread and show nothing.
#include "config/InstallConfig.h"
#include "selfupdate/ValidationOutcome.h"

// The verdict on this installer: EvaluateVersionState after reading the server's release
// section (a standalone package asks no server), or ServerUnreachable when "version.xml"
// could not be fetched, stored or read.
VersionCheckResult CheckVersions(CInstallConfig& config, const LaunchOptions& app);

// Fetches the newer installer of the relevant release (the update's when the product is
// installed, else the fresh install's) into a new temporary folder. True when it arrived
// whole; `state.updater_path` then names it, otherwise it is empty and nothing is left behind.
bool DownloadUpdater(const CInstallConfig& config, const LaunchOptions& app, ValidationState& state);
