#pragma once
// Names of the local files and folders the installer works with. Folders derived from the
// module folder end with a backslash; the module folder itself does not.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The folder part of the executable's path, or nothing when the path has no backslash.
std::optional<std::wstring> ModuleFolderOf(std::wstring_view module_path);

// Where a download is stored. A standalone package keeps the plain name (its files are
// already there); otherwise the tick count is put in front so that each download gets a
// fresh file.
std::wstring FormatDownloadPath(const std::wstring& component_folder, bool standalone, uint32_t tick_count,
                                const std::wstring& file_name);

std::wstring LanguagePackFileName(int32_t lang_id);

// The temporary folder for a newer installer, below the system's temporary path (which ends
// with a backslash), and the installer's path inside it.
std::wstring UpdaterFolderPath(const std::wstring& temp_path, uint32_t tick_count);
std::wstring UpdaterFilePath(const std::wstring& updater_folder, const std::wstring& full_name);
