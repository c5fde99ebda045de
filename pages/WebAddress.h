#pragma once
// Addresses the wizard opens for the user (the License Terms, the product tour, the product's
// home page) come from string files beside the installer and from the product's package.
// Only a web address is opened: anything else (a program's path, "file:", a share, another
// scheme's handler) would start something with the installer's rights.
#include <string_view>

// True for "http://" or "https://" (any letter case) followed by a host, with no blank or
// control character anywhere.
bool IsWebAddress(std::wstring_view address) noexcept;
