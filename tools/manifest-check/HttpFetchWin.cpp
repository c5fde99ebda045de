#include "tools/manifest-check/HttpFetch.h"

#include "net/HttpRequest.h"

namespace {

// The installer's size probe, asking for the first byte only.
const HttpRequestKind kRangeProbe{kProbeRequest.verb, kProbeRequest.accept_types, kProbeRequest.https_flags,
                                  kProbeRequest.other_flags, L"Range: bytes=0-0\r\n"};

} // namespace

bool CanFetch(const std::wstring&) {
    return true;
}

HttpAnswer FetchUrl(const std::wstring& url, bool first_byte_only, const BodySink* sink) {
    HttpAnswer answer;
    SentRequest sent = SendHttpRequest(url, first_byte_only ? kRangeProbe : kProbeRequest);
    if (!sent) {
        answer.failure = L"the request fails (Windows error " + std::to_wstring(sent.error) + L")";
        return answer;
    }
    DWORD status = 0;
    if (!QueryStatusCode(sent.request.get(), status)) {
        answer.failure = L"the answer has no status";
        return answer;
    }
    answer.reached = true;
    answer.status = status;
    answer.has_length = QueryContentLengthHeader(sent.request.get(), answer.length);
    if (sink == nullptr)
        return answer;
    uint8_t buffer[16384];
    DWORD got = 0;
    while (nvx::wininet::InternetReadFile(sent.request.get(), buffer, sizeof buffer, &got) && got > 0) {
        (*sink)(buffer, got);
        answer.body_bytes += got;
    }
    return answer;
}
