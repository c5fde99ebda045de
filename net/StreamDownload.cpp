#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "net/HttpRules.h"
#include "net/WinInetSource.h"

#include <cwchar>

namespace {

constexpr wchar_t kDocumentHeaders[] = L"Content-Type: application/json";

} // namespace

bool DownloadToStream(ICancelRequest& cancel, const std::wstring& url, IByteSink& out) {
    CrackedUrl parts;
    if (!CrackUrl(url, parts))
        return false;
    nvx::UniqueInternetHandle connection = ConnectTo(parts);
    if (!connection)
        return false;
    nvx::UniqueInternetHandle request = OpenHttpRequest(connection.get(), parts, kDocumentRequest);
    if (!request)
        return false;
    if (!nvx::wininet::HttpSendRequestW(request.get(), kDocumentHeaders,
                                        static_cast<DWORD>(std::wcslen(kDocumentHeaders)), nullptr, 0))
        return false;
    if (cancel.IsCancelRequested())
        return false;
    // An error page is not the document: the caller would otherwise keep (or start) it.
    DWORD status = 0;
    if (!QueryStatusCode(request.get(), status) || !IsSuccessStatus(status))
        return false;
    int64_t length = 0;
    bool has_length = QueryContentLengthHeader(request.get(), length);
    CWinInetSource source(request.get());
    StreamCopyResult copy = CopyBodyToStream(source, out, cancel);
    if (cancel.IsCancelRequested())
        return false;
    return IsWholeBody(copy, has_length ? &length : nullptr);
}
