#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "net/InternetSession.h"
#include "net/WinInetSource.h"

namespace {

// How long a paused transfer sleeps between its checks: short enough that a resumed download
// goes on at once, long enough that a pause costs next to no CPU.
constexpr DWORD kPauseRecheckMs = 20;
constexpr DWORD kCancelSettleMs = 500;

// Writes each batch at its offset and flushes it, under the process-wide write lock so that the
// seek-write-flush of one download is not interleaved with another's.
class CFileBatchWriter final : public IBatchWriter {
public:
    explicit CFileBatchWriter(CFile& file) noexcept : file_(file) {}

    void WriteBatch(uint64_t offset, const uint8_t* data, size_t size) override {
        std::lock_guard lock(file_write_lock);
        file_.Seek(static_cast<int64_t>(offset), FILE_BEGIN);
        file_.Write(data, static_cast<uint32_t>(size));
        file_.Flush();
    }

private:
    CFile& file_;
};

// Sends the request and runs the read loop; fills the failure fields of `status`.
bool TransferBody(ICancelRequest& cancel, HINTERNET connection, const CrackedUrl& parts, CFile& file,
                  IDownloadCallback& sink, DownloadStatusInfo& status) {
    nvx::UniqueInternetHandle request = OpenHttpRequest(connection, parts, kFileRequest);
    if (!request) {
        status.error_code = ::GetLastError();
        status.message = L"HttpOpenRequest Failed.";
        return false;
    }
    if (!nvx::wininet::HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) {
        status.error_code = ::GetLastError();
        status.message = L"HttpSendRequest Failed.";
        return false;
    }
    // The status is not examined here: the size probe has judged it.
    if (cancel.IsCancelRequested())
        return false;
    CWinInetSource source(request.get());
    CFileBatchWriter writer(file);
    TransferEnd end = RunFileReadLoop(source, writer, cancel, sink, status, [] { ::Sleep(kPauseRecheckMs); });
    status.error_code = end == TransferEnd::Failed ? source.LastError() : 0;
    status.message = status.error_code != 0 ? L"Internet download file Failed" : L"";
    return !cancel.IsCancelRequested();
}

} // namespace

bool DownloadToFile(ICancelRequest& cancel, const std::wstring& url, CFile& file, IDownloadCallback& sink) {
    DownloadStatusInfo status;
    bool result = false;
    CrackedUrl parts;
    if (CrackUrl(url, parts)) {
        nvx::UniqueInternetHandle connection = ConnectTo(parts);
        if (!connection) {
            status.error_code = ::GetLastError();
            status.message = L"InternetConnect Failed.";
        } else {
            result = TransferBody(cancel, connection.get(), parts, file, sink, status);
        }
    }
    if (cancel.IsCancelRequested()) {
        status.state = DownloadState::Cancelled;
        ::Sleep(kCancelSettleMs);
    } else {
        status.state = DownloadState::Ended;
    }
    sink.OnDownloadStatus(status);
    return result;
}
