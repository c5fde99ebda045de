#pragma once
// Prerequisites and language packs run as installers of their own: a ".msi" through msiexec,
// waited for at most 30 seconds; anything else as a process waited for until it ends. Neither
// result is judged: true only says the installer was started.
#include "engine/InstallStep.h"

#include <string>

bool RunExternalInstaller(const InstallStep& step);

// The command line of a program installer: the path in quotes, so that no program planted at a
// shorter prefix of a path with spaces ("C:\Users\Some.exe" for "C:\Users\Some Name\...") is
// started in its place, then the step's arguments.
std::wstring ExternalInstallerCommandLine(const InstallStep& step);
