#include "net/HttpClient.h"
#include "net/FileBatchWriter.h"
#include "net/HttpRequest.h"
#include "net/HttpRules.h"
#include "net/WinInetSource.h"

namespace {

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
