#include "selfupdate/VersionCheck.h"

#include "framework/Diagnostics.h"
#include "framework/File.h"
#include "net/CancelRequest.h"
#include "net/HttpClient.h"

#include <windows.h>

#include <exception>

namespace {

// The server's release data is a few hundred bytes; an answer this large is not it, and is
// not written on to fill the disk.
constexpr uint64_t kVersionXmlLimit = 1024 * 1024;

// Passes the document's bytes straight to a framework file, refusing any beyond `limit`
// (0: no limit).
class CFileByteSink final : public IByteSink {
public:
    CFileByteSink(CFile& file, uint64_t limit) noexcept : file_(file), limit_(limit) {}

    bool Write(const uint8_t* data, size_t size) override {
        written_ += size;
        if (limit_ != 0 && written_ > limit_) {
            nvx::Diagnose(L"selfupdate", L"the answer is larger than " + std::to_wstring(limit_) + L" bytes");
            return false;
        }
        try {
            file_.Write(data, static_cast<uint32_t>(size));
            return true;
        } catch (const CFileException&) {
            return false;
        }
    }

private:
    CFile& file_;
    uint64_t limit_;
    uint64_t written_ = 0;
};

void ReportException(const wchar_t* where) {
    nvx::Diagnose(L"selfupdate", std::wstring(where) + L" failed with an exception");
}

// Stores the body at `url` in a new file at `path`. True only when the whole body arrived and
// reached the disk; the file is left as it is either way.
bool FetchToFile(const std::wstring& url, const std::wstring& path, uint64_t limit = 0) {
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone | CFile::typeBinary))
        return false;
    CFileByteSink sink(file, limit);
    CancelRequest never_cancelled; // no events: the check cannot be cancelled
    return DownloadToStream(never_cancelled, url, sink);
}

void RemoveFileAndFolder(const std::wstring& path) {
    ::DeleteFileW(path.c_str());
    const size_t folder_end = path.find_last_of(L'\\');
    if (folder_end != std::wstring::npos)
        ::RemoveDirectoryW(path.substr(0, folder_end).c_str()); // only when empty
}

} // namespace

VersionCheckResult CheckVersions(CInstallConfig& config, const LaunchOptions& app) {
    if (config.manifest.standalone)
        return config.EvaluateVersionState(app);
    try {
        const std::wstring path = config.MakeDownloadPath(L"version.xml");
        // A failed transfer counts even when what arrived happens to parse: a document cut
        // short may still be well-formed and would be read as the server's whole answer.
        bool fetched = FetchToFile(config.manifest.version_check_url, path, kVersionXmlLimit);
        bool read = fetched && ParseVersionXml(path, config.manifest);
        ::DeleteFileW(path.c_str());
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
