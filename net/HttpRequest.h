#pragma once
// The pieces every HTTP operation is built from: crack the URL, connect on the process-wide
// session, open a request with its verb, accept types and flags, and add the Referer header.
#include "framework/WinInet.h"
#include "net/InternetHandle.h"

#include <windows.h>

#include <string>

struct CrackedUrl {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring user;
    std::wstring password;
    std::wstring object; // path followed by the query
};

// The parameters of one kind of request.
struct HttpRequestKind {
    const wchar_t* verb;                // null: WinINet's default (GET)
    const wchar_t* const* accept_types; // null-terminated list
    DWORD https_flags;
    DWORD other_flags;
    const wchar_t* headers = nullptr; // sent with the request; null: none
};

extern const HttpRequestKind kProbeRequest;    // QueryContentLength
extern const HttpRequestKind kFileRequest;     // DownloadToFile
extern const HttpRequestKind kDocumentRequest; // DownloadToStream

[[nodiscard]] bool CrackUrl(const std::wstring& url, CrackedUrl& parts);
[[nodiscard]] nvx::UniqueInternetHandle ConnectTo(const CrackedUrl& parts);
// Opens the request and, when a Referer is configured, adds that header.
[[nodiscard]] nvx::UniqueInternetHandle OpenHttpRequest(HINTERNET connection, const CrackedUrl& parts,
                                                        const HttpRequestKind& kind);

// The step of SendHttpRequest that failed.
enum class RequestStep { None, CrackUrl, Connect, OpenRequest, SendRequest };

// A request that was sent (or the step that failed, with GetLastError() taken right after it).
// The request is declared after its connection so that it is closed first.
struct SentRequest {
    nvx::UniqueInternetHandle connection;
    nvx::UniqueInternetHandle request;
    RequestStep failed = RequestStep::None;
    DWORD error = 0;

    explicit operator bool() const noexcept { return failed == RequestStep::None; }
};

// The failure text a file transfer reports for a request that could not be sent; empty for a
// URL that does not crack.
const wchar_t* SendFailureMessage(RequestStep step) noexcept;

// Cracks the URL, connects, opens the request of this kind and sends it, with `extra_headers`
// ("Name: value\r\n" lines) in place of the kind's own when given.
[[nodiscard]] SentRequest SendHttpRequest(const std::wstring& url, const HttpRequestKind& kind,
                                          const std::wstring* extra_headers = nullptr);

// The numeric HTTP status of a sent request; false when it cannot be read.
[[nodiscard]] bool QueryStatusCode(HINTERNET request, DWORD& status);
// The Content-Length header as a number; false when the header is missing.
[[nodiscard]] bool QueryContentLengthHeader(HINTERNET request, int64_t& length);
// A header by name as text (at most a short line); empty when it is missing.
[[nodiscard]] std::wstring QueryHeaderText(HINTERNET request, const wchar_t* name);
