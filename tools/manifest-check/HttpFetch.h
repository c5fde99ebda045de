#pragma once
// One GET the way the checker needs it: the status, whether a Content-Length came and what it
// says, and the body handed piece by piece to a sink. Natively a small HTTP/1.1 client over
// sockets (http only); on Windows the installer's own WinINet requests.
#include <cstdint>
#include <functional>
#include <string>

struct HttpAnswer {
    bool reached = false; // an answer arrived
    std::wstring failure; // why not
    uint32_t status = 0;
    bool has_length = false;
    int64_t length = 0; // the Content-Length as the installer reads it (0: not a number)
    uint64_t body_bytes = 0;
};

using BodySink = std::function<void(const uint8_t* data, size_t size)>;

// False when this build cannot fetch such an address (https natively).
bool CanFetch(const std::wstring& url);

// GET `url`; with `first_byte_only` the request asks for "Range: bytes=0-0". The body is read
// only when there is a sink.
HttpAnswer FetchUrl(const std::wstring& url, bool first_byte_only, const BodySink* sink);
