#pragma once
// Prerequisites and language packs run as installers of their own: a ".msi" through the
// system's msiexec, waited for at most 30 seconds; anything else as a process waited for until
// it ends, started in the system folder and with the system folder first in its DLL search.
// Neither result is judged: true only says the installer was started.
#include "engine/InstallStep.h"

#include <string>

bool RunExternalInstaller(const InstallStep& step);

// The system's msiexec in the system folder (given without a trailing backslash).
std::wstring MsiexecPath(const std::wstring& system_folder);

// The command line of a program installer: the path in quotes, so that no program planted at a
// shorter prefix of a path with spaces ("C:\Users\Some.exe" for "C:\Users\Some Name\...") is
// started in its place, then the step's arguments.
std::wstring ExternalInstallerCommandLine(const InstallStep& step);
