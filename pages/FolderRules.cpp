#include "pages/FolderRules.h"

std::wstring TrimFolderText(const std::wstring& typed) {
    if (!typed.empty() && typed.back() == L'\\')
        return typed.substr(0, typed.size() - 1);
    return typed;
}

bool IsRelativeFolder(const std::wstring& path) {
    if (path.empty())
        return true;
    if (path[0] == L'\\')
        return false;
    return !(path.size() >= 2 && path[1] == L':');
}

std::vector<std::wstring> FolderCreationSteps(const std::wstring& path) {
    std::vector<std::wstring> pieces;
    std::wstring piece;
    for (wchar_t c : path) {
        if (c == L'\\') {
            if (!piece.empty())
                pieces.push_back(std::move(piece));
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty())
        pieces.push_back(std::move(piece));

    std::vector<std::wstring> steps;
    std::wstring collected;
    std::size_t first = 0;
    const bool unc = path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
    if (unc && !pieces.empty()) {
        collected = L"\\\\" + pieces[0]; // the server: never created
        first = 1;
    }
    const bool rooted = !path.empty() && path[0] == L'\\';
    for (std::size_t i = first; i < pieces.size(); ++i) {
        if (!collected.empty() || rooted)
            collected += L'\\';
        collected += pieces[i];
        if (collected.back() != L':')
            steps.push_back(collected);
    }
    return steps;
}

std::wstring BrowseStartText(const std::wstring& full_path) {
    if (full_path.size() >= 2 && full_path.back() == L'\\' && full_path[full_path.size() - 2] != L':')
        return full_path.substr(0, full_path.size() - 1);
    return full_path;
}
