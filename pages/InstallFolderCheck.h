#pragma once
// The installation folder's check, run when Install is pressed on the settings page and, with no
// page to press it on, before a silent first installation: the typed folder without one trailing
// backslash is refused when it is too long or relative, taken when it is a folder, and otherwise
// made level by level (levels made before a failure stay).
#include "config/InstallConfig.h"

#include <windows.h>

#include <string>

struct InstallFolderCheck {
    std::wstring folder; // the typed text without its trailing backslash
    bool accepted = false;
};

[[nodiscard]] InstallFolderCheck CheckInstallFolder(const std::wstring& typed);

// Tells the user, in the configuration's language and with the product's caption, that the
// folder cannot be used; `owner` may be null.
void ShowFolderRefused(HWND owner, const CInstallConfig& config, const std::wstring& folder);
