#pragma once
// Starts the installed product as the signed-in user, when it is there.
#include <string>

// The product's program `executable` in `install_folder`; nothing happens when it is missing.
void LaunchInstalledProduct(const std::wstring& install_folder, const std::wstring& executable);
