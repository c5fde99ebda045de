#include "config/LocalPaths.h"

#include "config/FileNameRules.h"
#include "framework/Diagnostics.h"
#include "framework/PathText.h"

namespace {

// Tick counts are printed as signed 32-bit numbers.
std::wstring SignedText(uint32_t value) {
    return std::to_wstring(static_cast<int32_t>(value));
}

} // namespace

std::optional<std::wstring> ModuleFolderOf(std::wstring_view module_path) {
    size_t backslash = module_path.rfind(L'\\');
    if (backslash == std::wstring_view::npos)
        return std::nullopt;
    return std::wstring(module_path.substr(0, backslash));
}

std::wstring FormatDownloadPath(const std::wstring& component_folder, bool standalone, uint32_t tick_count,
                                const std::wstring& file_name) {
    if (standalone)
        return component_folder + file_name;
    return component_folder + SignedText(tick_count) + file_name;
}

std::wstring LanguagePackFileName(int32_t lang_id) {
    return L"language_pack_" + std::to_wstring(lang_id) + L".exe";
}

std::wstring UpdaterFolderPath(const std::wstring& temp_path, uint32_t tick_count) {
    return temp_path + L"NVXWebInstaller_" + SignedText(tick_count);
}

std::wstring UpdaterFilePath(const std::wstring& updater_folder, const std::wstring& full_name) {
    // The product's full name is a display name ("Lumetra Photo/Video"): it lends the file its
    // name only as far as that is a safe one.
    const std::wstring file_name = SafeFileName(full_name, L"webinstaller");
    if (file_name != full_name)
        nvx::Diagnose(L"config", L"the full name \"" + full_name + L"\" is no safe file name (" +
                                     UnsafeFileNameReason(full_name) +
                                     L"); the new installer is saved as \"" + file_name + L".exe\"");
    return JoinPath(updater_folder, file_name + L".exe");
}
