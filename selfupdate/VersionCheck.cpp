#include "selfupdate/VersionCheck.h"

#include "framework/Diagnostics.h"
#include "framework/File.h"
#include "framework/Handles.h"
#include "net/CancelRequest.h"
#include "net/HttpClient.h"
#include "selfupdate/UpdaterTrust.h"

#include <windows.h>

#include <algorithm>
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

// Passes the bytes straight to an open file handle.
class CHandleByteSink final : public IByteSink {
public:
    explicit CHandleByteSink(HANDLE file) noexcept : file_(file) {}

    bool Write(const uint8_t* data, size_t size) override {
        while (size > 0) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
            if (!::WriteFile(file_, data, chunk, &written, nullptr) || written == 0)
                return false;
            data += written;
            size -= written;
        }
        return true;
    }

private:
    HANDLE file_;
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

// Stores the body at `url` as a file that must not exist yet (nothing planted in its place is
// written through), shared with nobody who would write or delete it meanwhile.
bool FetchToNewFile(const std::wstring& url, const std::wstring& path) {
    nvx::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    CHandleByteSink sink(file.get());
    CancelRequest never_cancelled;
    return DownloadToStream(never_cancelled, url, sink);
}

// The downloaded file, opened again for reading only and shared only with readers, so that
// it stays as it is until it has been started. Whatever happened to it between its writing
// and this is found by the signature check on this handle. A link in its place is opened
// itself, not followed, and fails that check.
nvx::UniqueHandle HoldForStart(const std::wstring& path) {
    return nvx::UniqueHandle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
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
        if (!read) {
            nvx::Diagnose(L"selfupdate", L"version.xml from " + config.manifest.version_check_url +
                                             (fetched ? L" cannot be read" : L" cannot be fetched"));
            return ServerUnreachable;
        }
        return config.EvaluateVersionState(app);
    } catch (...) {
        ReportException(L"the version check");
        return ServerUnreachable;
    }
}

bool DownloadUpdater(const CInstallConfig& config, const LaunchOptions& app, ValidationState& state) {
    const ReleaseInfo& release =
        app.product_installed ? config.manifest.patch_install : config.manifest.fresh_install;
    if (release.web_installer_download_url.empty()) {
        nvx::Diagnose(L"selfupdate", L"no newer installer is named for this kind of installation");
        return false;
    }
    state.updater_path = config.MakeUpdaterPath();
    state.updater_downloaded = 0;
    if (!state.updater_path.empty()) {
        try {
            state.updater_downloaded =
                FetchToNewFile(release.web_installer_download_url, state.updater_path) ? 1 : 0;
        } catch (...) {
            ReportException(L"the updater download");
        }
    }
    nvx::Diagnose(L"selfupdate", L"newer installer from " + release.web_installer_download_url +
                                     (state.updater_downloaded ? L" saved as " + state.updater_path
                                                               : std::wstring(L" cannot be fetched")));
    if (state.updater_downloaded != 0) {
        state.updater_file = HoldForStart(state.updater_path);
        if (!state.updater_file)
            nvx::Diagnose(L"selfupdate", L"the newer installer cannot be held open: " + state.updater_path);
        if (!state.updater_file ||
            !AcceptUpdater(state.updater_file.get(), state.updater_path, config.manifest.publisher)) {
            state.updater_file.reset();
            state.updater_downloaded = 0;
        }
    }
    if (state.updater_downloaded == 0) {
        // An error page, half a program or one that is not the publisher's must never be
        // started at exit.
        if (!state.updater_path.empty())
            DiscardUpdater(state.updater_path);
        state.updater_path.clear();
    }
    return state.updater_downloaded != 0;
}
