#pragma once
// The last act of a run whose validator fetched a newer installer: start it, with "/n" so
// that it does not check itself again.
#include "selfupdate/ValidationOutcome.h"

// Starts `state.updater_path` when the outcome asks for it and the file is still there; a
// start that fails is reported in a message box and answers false.
bool StartDownloadedUpdater(const ValidationState& state);
