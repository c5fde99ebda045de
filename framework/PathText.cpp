#include "framework/PathText.h"

std::wstring WithoutTrailingBackslash(std::wstring folder) {
    while (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    if (folder.size() == 2 && folder[1] == L':')
        folder += L'\\';
    return folder;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    std::wstring path = WithoutTrailingBackslash(folder);
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    return path + name;
}
