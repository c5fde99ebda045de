#include "pages/InstallFolderCheck.h"

#include "framework/UserPrompt.h"
#include "localization/MessageText.h"
#include "localization/UIStrings.h"
#include "pages/FolderRules.h"

#include <shlwapi.h>

namespace {

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes every missing folder of the path, outermost first; those made before a failure stay.
bool CreateFolderPath(const std::wstring& path) {
    for (const std::wstring& step : FolderCreationSteps(path)) {
        if (::PathFileExistsW(step.c_str()))
            continue;
        if (!::CreateDirectoryW(step.c_str(), nullptr))
            return false;
    }
    return true;
}

} // namespace

InstallFolderCheck CheckInstallFolder(const std::wstring& typed) {
    InstallFolderCheck check;
    check.folder = TrimFolderText(typed);
    check.accepted = check.folder.size() <= kMaxFolderLength && !IsRelativeFolder(check.folder) &&
                     (IsDirectory(check.folder) || CreateFolderPath(check.folder));
    return check;
}

void ShowFolderRefused(HWND owner, const CInstallConfig& config, const std::wstring& folder) {
    const std::wstring message =
        FillPlaceholder(config.language.LookupUIString(ui::kErrCreateFolderFailed), folder);
    nvx::Prompt(owner, message, config.manifest.short_name, MB_OK | MB_ICONWARNING);
}
