// The local folders below the executable and the paths of downloaded files.
#define _CRT_RAND_S // rand_s: the system's random numbers, for folder names nobody can foresee
#include "config/InstallConfig.h"
#include "config/LocalPaths.h"

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

} // namespace

bool CInstallConfig::PrepareFolders() {
    component_folder = module_folder + L"\\component\\";
    msi_folder = module_folder + L"\\msi\\";
    transform_folder = module_folder + L"\\transform\\";
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
