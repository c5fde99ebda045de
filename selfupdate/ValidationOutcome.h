#pragma once
// What the client validator decided, and the state its background check leaves behind for
// start-up and exit to read.
#include "config/VersionRules.h"
#include "framework/Handles.h"

#include <string>

enum class ValidationOutcome : int {
    Continue = 0,   // the wizard runs
    Stop = 1,       // no wizard: already installed, or the server cannot be reached
    RunUpdater = 2, // no wizard: the downloaded newer installer is started at exit
};

// CheckVersions' answer when "version.xml" could not be fetched or read, besides the
// answers of EvaluateVersionState.
inline constexpr VersionCheckResult ServerUnreachable{4};

// Written by the check on its worker thread; read by the UI thread only after the validator's
// modal loop has ended.
struct ValidationState {
    std::wstring updater_path; // the downloaded newer installer; empty when there is none
    // That file, held open for reading only from its download until it has been started, so
    // that nobody can change, replace or delete it in between.
    nvx::UniqueHandle updater_file;
    int updater_downloaded = 0;
    ValidationOutcome validation_outcome = ValidationOutcome::Continue;
    // The Stop ends the run as a failure: the server could not be reached or read, or the
    // check could not run at all.
    int check_failed = 0;
};
