#pragma once
// Whether a name from the manifest can be used as the name of one file inside a folder on
// Windows. The installer joins such names to its folders, so a name that is a path, leaves the
// folder or names a device would put the file somewhere else or nowhere.
#include <string>
#include <string_view>

// Empty when the name is usable; otherwise why not, as a phrase ("contains a path separator").
std::wstring FileNameProblem(std::wstring_view name);
