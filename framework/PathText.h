#pragma once
// Windows paths as text: the one place where folders and names are put together.
#include <string>

// A folder without trailing backslashes; a drive root keeps its backslash ("C:\").
std::wstring WithoutTrailingBackslash(std::wstring folder);
// The folder and a name inside it, with exactly one backslash between them.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
