#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "net/HttpRules.h"

int64_t QueryContentLength(const std::wstring& url) {
    SentRequest sent = SendHttpRequest(url, kProbeRequest);
    if (!sent)
        return 0;
    DWORD status = 0;
    if (!QueryStatusCode(sent.request.get(), status) || !IsAcceptedProbeStatus(status))
        return 0;
    int64_t length = 0;
    if (!QueryContentLengthHeader(sent.request.get(), length))
        return 0;
    return length;
}
