// The local folders below the executable and the paths of downloaded files.
#define _CRT_RAND_S // rand_s: the system's random numbers, for folder names nobody can foresee
#include "config/InstallConfig.h"
#include "config/LocalPaths.h"
#include "framework/Diagnostics.h"
#include "framework/PathText.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstdlib>

namespace {

bool Exists(const std::wstring& path) {
    return ::PathFileExistsW(path.c_str()) != FALSE;
}

// Creates the folder with any missing parents unless it exists.
bool EnsureFolder(const std::wstring& folder) {
    return Exists(folder) || ::SHCreateDirectory(nullptr, folder.c_str()) == ERROR_SUCCESS;
}

bool IsLink(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(WithoutTrailingBackslash(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A folder that is a junction or a link leads somewhere else than the installer's folder, to
// wherever its maker chose: it is not used. Where the folder only receives downloads the link
// is removed (only the link: what it points at is left alone) and a real folder takes its place.
bool ReplaceLink(const std::wstring& folder, bool may_replace) {
    if (!IsLink(folder))
        return true;
    if (may_replace && ::RemoveDirectoryW(WithoutTrailingBackslash(folder).c_str()) && !IsLink(folder)) {
        nvx::Diagnose(L"config", L"removed the link " + folder + L"; a real folder takes its place");
        return true;
    }
    nvx::Diagnose(L"config", L"the folder " + folder + L" is a link (junction or symbolic link): not used");
    return false;
}

} // namespace

bool CInstallConfig::PrepareFolders() {
    component_folder = module_folder + L"\\component\\";
    msi_folder = module_folder + L"\\msi\\";
    transform_folder = module_folder + L"\\transform\\";
    // A standalone package's folders hold what it ships; a link among them is refused, not
    // replaced.
    const bool downloads_only = !manifest.standalone;
    if (!ReplaceLink(component_folder, downloads_only) || !ReplaceLink(msi_folder, downloads_only) ||
        !ReplaceLink(transform_folder, downloads_only)) {
        component_folder.clear();
        msi_folder.clear();
        transform_folder.clear();
        return false;
    }
    // A standalone package brings its prerequisite installers in the component folder.
    // Otherwise the folder only holds downloads: an empty leftover is replaced, one with
    // files in it stays (removal fails quietly).
    if (!manifest.standalone) {
        if (Exists(component_folder))
            ::RemoveDirectoryW(component_folder.c_str());
        if (!EnsureFolder(component_folder))
            return false;
    }
    return EnsureFolder(msi_folder) && EnsureFolder(transform_folder);
}

std::wstring CInstallConfig::MakeDownloadPath(const std::wstring& file_name) const {
    return FormatDownloadPath(component_folder, manifest.standalone, ::GetTickCount(), file_name);
}

std::wstring CInstallConfig::MakeLanguagePackPath(int32_t lang_id) const {
    return MakeDownloadPath(LanguagePackFileName(lang_id));
}

// The newer installer goes into a folder this call creates: one that already exists may have
// been prepared by someone else (with a program of the installer's name in it, or a link), so
// it is never used; another name is tried instead.
std::wstring CInstallConfig::MakeUpdaterPath() const {
    wchar_t temp_path[MAX_PATH + 1];
    DWORD length = ::GetTempPathW(MAX_PATH + 1, temp_path);
    if (length == 0 || length > MAX_PATH)
        return {};
    const std::wstring temp(temp_path, length);
    constexpr int kAttempts = 32;
    uint32_t number = ::GetTickCount();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::wstring folder = UpdaterFolderPath(temp, number);
        if (::CreateDirectoryW(folder.c_str(), nullptr))
            return UpdaterFilePath(folder, manifest.full_name);
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
        unsigned int random = 0;
        number = rand_s(&random) == 0 ? random : number + 1;
    }
    return {};
}
