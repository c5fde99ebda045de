#include "selfupdate/VersionCheck.h"

#include "net/CancelRequest.h"
#include "net/HttpClient.h"

#include <windows.h>

#include <exception>
#include <filesystem>
#include <fstream>

namespace {

void ReportException(const wchar_t* where) {
    std::wstring line = std::wstring(L"Self-update: ") + where + L" failed with an exception\r\n";
    ::OutputDebugStringW(line.c_str());
}

// Stores the body at `url` in a new file at `path`. True only when the whole body arrived and
// reached the disk; the file is left as it is either way.
bool FetchToFile(const std::wstring& url, const std::wstring& path) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    if (!file.is_open())
        return false;
    CancelRequest never_cancelled; // no events: the check cannot be cancelled
    bool fetched = DownloadToStream(never_cancelled, url, file);
    file.close(); // the last buffered bytes are written here
    return fetched && !file.fail();
}

void RemoveFileAndFolder(const std::wstring& path) {
    std::error_code ignored;
    std::filesystem::path file(path);
    std::filesystem::remove(file, ignored);
    std::filesystem::remove(file.parent_path(), ignored); // only when empty
}

} // namespace

VersionCheckResult CheckVersions(CInstallConfig& config, const LaunchOptions& app) {
    if (config.manifest.standalone)
        return config.EvaluateVersionState(app);
    try {
        const std::wstring path = config.MakeDownloadPath(L"version.xml");
        // A failed transfer counts even when what arrived happens to parse: a document cut
        // short may still be well-formed and would be read as the server's whole answer.
        bool fetched = FetchToFile(config.manifest.version_check_url, path);
        bool read = fetched && config.ParseVersionXml(path);
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(path), ignored);
        if (!read)
            return ServerUnreachable;
        return config.EvaluateVersionState(app);
    } catch (...) {
        ReportException(L"the version check");
        return ServerUnreachable;
    }
}

bool DownloadUpdater(const CInstallConfig& config, const LaunchOptions& app, ValidationState& state) {
    const ReleaseInfo& release =
        app.product_installed ? config.manifest.patch_install : config.manifest.fresh_install;
    if (release.web_installer_download_url.empty())
        return false;
    state.updater_path = config.MakeUpdaterPath();
    state.updater_downloaded = 0;
    if (!state.updater_path.empty()) {
        try {
            state.updater_downloaded =
                FetchToFile(release.web_installer_download_url, state.updater_path) ? 1 : 0;
        } catch (...) {
            ReportException(L"the updater download");
        }
    }
    if (state.updater_downloaded == 0) {
        // An error page or half a program must never be started at exit.
        if (!state.updater_path.empty())
            RemoveFileAndFolder(state.updater_path);
        state.updater_path.clear();
    }
    return state.updater_downloaded != 0;
}
