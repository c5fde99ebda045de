#include "net/HttpRequest.h"

#include "net/HttpRules.h"
#include "net/InternetSession.h"
#include "net/RefererUrl.h"

#include <cwchar>
#include <iterator>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kComponentLength = 4096;

const wchar_t* const kXmlOrAny[] = {L"application/xml", L"*/*", nullptr};
const wchar_t* const kAny[] = {L"*/*", nullptr};

// Every request is fetched from the server and never asks the user anything. HTTPS requests accept
// certificates whose dates or host name do not match, on purpose; an unknown issuer is still
// refused. File downloads keep the connection and stay out of the cache.
constexpr DWORD kAnyRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI;
constexpr DWORD kLenientHttpsFlags =
    INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID | INTERNET_FLAG_IGNORE_CERT_CN_INVALID;
constexpr DWORD kFileTransferFlags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION;

constexpr DWORD kProbeHttpFlags = kAnyRequestFlags;
constexpr DWORD kProbeHttpsFlags = kAnyRequestFlags | kLenientHttpsFlags;
constexpr DWORD kFileHttpFlags = kAnyRequestFlags | kFileTransferFlags;
constexpr DWORD kFileHttpsFlags = kAnyRequestFlags | kFileTransferFlags | kLenientHttpsFlags;

// The flags as the product has always sent them.
static_assert(kProbeHttpFlags == 0x80000200);
static_assert(kProbeHttpsFlags == 0x80803200);
static_assert(kFileHttpFlags == 0x84400200);
static_assert(kFileHttpsFlags == 0x84C03200);

std::wstring Component(const std::vector<wchar_t>& buffer, DWORD length) {
    return std::wstring(buffer.data(), length);
}

} // namespace

const HttpRequestKind kProbeRequest{nullptr, kXmlOrAny, kProbeHttpsFlags, kProbeHttpFlags};
const HttpRequestKind kFileRequest{L"GET", kAny, kFileHttpsFlags, kFileHttpFlags};
const HttpRequestKind kDocumentRequest{L"GET", kXmlOrAny, kProbeHttpsFlags, kProbeHttpFlags,
                                       L"Content-Type: application/json"};

bool CrackUrl(const std::wstring& url, CrackedUrl& parts) {
    std::vector<wchar_t> scheme(kComponentLength), host(kComponentLength), user(kComponentLength),
        password(kComponentLength), path(kComponentLength), extra(kComponentLength);
    URL_COMPONENTSW c{};
    c.dwStructSize = sizeof(c);
    auto give = [](std::vector<wchar_t>& buffer, LPWSTR& text, DWORD& length) {
        text = buffer.data();
        length = kComponentLength;
    };
    give(scheme, c.lpszScheme, c.dwSchemeLength);
    give(host, c.lpszHostName, c.dwHostNameLength);
    give(user, c.lpszUserName, c.dwUserNameLength);
    give(password, c.lpszPassword, c.dwPasswordLength);
    give(path, c.lpszUrlPath, c.dwUrlPathLength);
    give(extra, c.lpszExtraInfo, c.dwExtraInfoLength);
    if (!nvx::wininet::InternetCrackUrlW(url.c_str(), 0, 0, &c))
        return false;
    parts.scheme = c.nScheme;
    parts.host = Component(host, c.dwHostNameLength);
    parts.port = c.nPort;
    parts.user = Component(user, c.dwUserNameLength);
    parts.password = Component(password, c.dwPasswordLength);
    parts.object = Component(path, c.dwUrlPathLength) + Component(extra, c.dwExtraInfoLength);
    return true;
}

nvx::UniqueInternetHandle ConnectTo(const CrackedUrl& parts) {
    DWORD service = parts.scheme == INTERNET_SCHEME_FTP ? INTERNET_SERVICE_FTP : INTERNET_SERVICE_HTTP;
    return nvx::UniqueInternetHandle(nvx::wininet::InternetConnectW(internet_session, parts.host.c_str(),
                                                                    parts.port, parts.user.c_str(),
                                                                    parts.password.c_str(), service, 0, 0));
}

namespace {

// The session's receive limit, repeated on the request: Wine's WinINet reads it only there.
void ApplyReceiveTimeout(HINTERNET request) {
    DWORD timeout = receive_timeout_ms;
    nvx::wininet::InternetSetOptionW(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
}

} // namespace

nvx::UniqueInternetHandle OpenHttpRequest(HINTERNET connection, const CrackedUrl& parts,
                                          const HttpRequestKind& kind) {
    DWORD flags = parts.scheme == INTERNET_SCHEME_HTTPS ? kind.https_flags : kind.other_flags;
    nvx::UniqueInternetHandle request(
        nvx::wininet::HttpOpenRequestW(connection, kind.verb, parts.object.c_str(), L"HTTP/1.1", nullptr,
                                       const_cast<LPCWSTR*>(kind.accept_types), flags, 0));
    if (request)
        ApplyReceiveTimeout(request.get());
    if (request && referer_url[0] != L'\0') {
        std::wstring header = L"Referer: " + std::wstring(referer_url);
        nvx::wininet::HttpAddRequestHeadersW(request.get(), header.c_str(), static_cast<DWORD>(-1),
                                             HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
    }
    return request;
}

const wchar_t* SendFailureMessage(RequestStep step) noexcept {
    switch (step) {
    case RequestStep::Connect:
        return L"InternetConnect Failed.";
    case RequestStep::OpenRequest:
        return L"HttpOpenRequest Failed.";
    case RequestStep::SendRequest:
        return L"HttpSendRequest Failed.";
    default:
        return L"";
    }
}

SentRequest SendHttpRequest(const std::wstring& url, const HttpRequestKind& kind,
                            const std::wstring* extra_headers) {
    SentRequest sent;
    auto fail = [&sent](RequestStep step) {
        sent.failed = step;
        sent.error = ::GetLastError();
        return std::move(sent);
    };
    CrackedUrl parts;
    if (!CrackUrl(url, parts)) {
        sent.failed = RequestStep::CrackUrl;
        return sent;
    }
    sent.connection = ConnectTo(parts);
    if (!sent.connection)
        return fail(RequestStep::Connect);
    sent.request = OpenHttpRequest(sent.connection.get(), parts, kind);
    if (!sent.request)
        return fail(RequestStep::OpenRequest);
    const wchar_t* headers = extra_headers != nullptr ? extra_headers->c_str() : kind.headers;
    DWORD header_length = headers != nullptr ? static_cast<DWORD>(std::wcslen(headers)) : 0;
    if (!nvx::wininet::HttpSendRequestW(sent.request.get(), headers, header_length, nullptr, 0))
        return fail(RequestStep::SendRequest);
    return sent;
}

bool QueryStatusCode(HINTERNET request, DWORD& status) {
    DWORD size = sizeof(status);
    return nvx::wininet::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                                        &size, nullptr) != FALSE;
}

bool QueryContentLengthHeader(HINTERNET request, int64_t& length) {
    wchar_t text[16] = {};
    DWORD size = sizeof(text);
    if (!nvx::wininet::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return false;
    length = ParseContentLength(std::wstring_view(text, size / sizeof(wchar_t)));
    return true;
}

std::wstring QueryHeaderText(HINTERNET request, const wchar_t* name) {
    wchar_t text[256] = {};
    if (std::wcslen(name) >= std::size(text))
        return {};
    std::wcscpy(text, name);
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (!nvx::wininet::HttpQueryInfoW(request, HTTP_QUERY_CUSTOM, text, &size, nullptr))
        return {};
    return std::wstring(text, size / sizeof(wchar_t));
}
