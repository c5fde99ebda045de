#pragma once
// The slides and the region of this machine and run.
#include "localization/LanguageContext.h"

#include <string>
#include <vector>

// The pictures of the language at the screen's DPI, in the order the file system lists
// them. Once a search found pictures, the same list is answered for the rest of the process;
// while it finds none, every call searches again.
std::vector<std::wstring> GetSlidePaths(const LanguageContext& language);

// Whether the user's Windows region is one where the License Terms start unaccepted.
bool IsConsentRegion();
