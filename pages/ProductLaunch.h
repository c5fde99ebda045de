#pragma once
// Starts the installed product, and opens web pages, as the signed-in user: the installer runs
// elevated, and what it starts itself would run so too.
#include <string>

// The product's program `executable` in `install_folder`; nothing happens when it is missing.
void LaunchInstalledProduct(const std::wstring& install_folder, const std::wstring& executable);

// Opens a web address (WebAddress.h) through the desktop's shell; anything else is not opened
// and the diagnostic channel says so. True when the shell was asked.
bool OpenWebAddress(const std::wstring& address);
