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

// The message for a request that could not be sent; none for a URL that does not crack.
struct SendFailure {
    RequestStep step;
    const wchar_t* message;
};
constexpr SendFailure kSendFailures[] = {{RequestStep::Connect, L"InternetConnect Failed."},
                                         {RequestStep::OpenRequest, L"HttpOpenRequest Failed."},
                                         {RequestStep::SendRequest, L"HttpSendRequest Failed."}};

const wchar_t* SendFailureMessage(RequestStep step) {
    for (const SendFailure& failure : kSendFailures)
        if (failure.step == step)
            return failure.message;
    return L"";
}

// Runs the read loop on a sent request; fills the failure fields of `status`.
bool TransferBody(ICancelRequest& cancel, HINTERNET request, CFile& file, IDownloadCallback& sink,
                  DownloadStatusInfo& status) {
    // The status is not examined here: the size probe has judged it.
    if (cancel.IsCancelRequested())
        return false;
    CWinInetSource source(request);
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
    SentRequest sent = SendHttpRequest(url, kFileRequest);
    if (sent) {
        result = TransferBody(cancel, sent.request.get(), file, sink, status);
    } else if (sent.failed != RequestStep::CrackUrl) {
        status.error_code = sent.error;
        status.message = SendFailureMessage(sent.failed);
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
