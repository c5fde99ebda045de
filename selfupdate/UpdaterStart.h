#pragma once
// The last act of a run whose validator fetched a newer installer: start it, with "/n" so
// that it does not check itself again.
#include "selfupdate/ValidationOutcome.h"

#include <string>

// Starts `state.updater_path` when the outcome asks for it, after checking its signature once
// more on the file held since the download (`publisher`: the manifest's); a start that fails
// is reported in a message box and answers false. The file is let go afterwards.
bool StartDownloadedUpdater(ValidationState& state, const std::wstring& publisher);
