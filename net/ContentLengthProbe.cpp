#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "net/HttpRules.h"

int64_t QueryContentLength(const std::wstring& url) {
    CrackedUrl parts;
    if (!CrackUrl(url, parts))
        return 0;
    nvx::UniqueInternetHandle connection = ConnectTo(parts);
    if (!connection)
        return 0;
    nvx::UniqueInternetHandle request = OpenHttpRequest(connection.get(), parts, kProbeRequest);
    if (!request)
        return 0;
    if (!nvx::wininet::HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0))
        return 0;
    DWORD status = 0;
    if (!QueryStatusCode(request.get(), status) || !IsAcceptedProbeStatus(status))
        return 0;
    int64_t length = 0;
    if (!QueryContentLengthHeader(request.get(), length))
        return 0;
    return length;
}
