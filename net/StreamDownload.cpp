#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "net/HttpRules.h"
#include "net/WinInetSource.h"

bool DownloadToStream(ICancelRequest& cancel, const std::wstring& url, IByteSink& out) {
    SentRequest sent = SendHttpRequest(url, kDocumentRequest);
    if (!sent)
        return false;
    HINTERNET request = sent.request.get();
    if (cancel.IsCancelRequested())
        return false;
    // An error page is not the document: the caller would otherwise keep (or start) it.
    DWORD status = 0;
    if (!QueryStatusCode(request, status) || !IsSuccessStatus(status))
        return false;
    int64_t length = 0;
    bool has_length = QueryContentLengthHeader(request, length);
    CWinInetSource source(request);
    StreamCopyResult copy = CopyBodyToStream(source, out, cancel);
    if (cancel.IsCancelRequested())
        return false;
    return IsWholeBody(copy, has_length ? &length : nullptr);
}
