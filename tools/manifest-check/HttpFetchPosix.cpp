#include "tools/manifest-check/HttpFetch.h"

#include "config/TextRules.h"
#include "framework/TextCompare.h"
#include "framework/NarrowPath.h"
#include "net/HttpRules.h"
#include "xml/Utf8.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace {

// The same limit the installer sets on a silent server.
constexpr int kTimeoutSeconds = 30;
constexpr size_t kHeaderLimit = 65536;

struct HttpAddress {
    std::string host;
    std::string port = "80";
    std::string target = "/";
};

bool SplitHttpUrl(const std::string& url, HttpAddress& address) {
    if (url.size() < 7 || !EqualsIgnoringAsciiCase(std::wstring(url.begin(), url.begin() + 7), L"http://"))
        return false;
    std::string rest = url.substr(7);
    size_t host_end = std::min(rest.find_first_of("/?#"), rest.size());
    std::string authority = rest.substr(0, host_end);
    if (host_end < rest.size())
        address.target = rest[host_end] == '/' ? rest.substr(host_end) : "/" + rest.substr(host_end);
    address.target = address.target.substr(0, address.target.find('#'));
    size_t colon = authority.rfind(':');
    if (colon != std::string::npos && authority.find(']', colon) == std::string::npos) {
        address.port = authority.substr(colon + 1);
        authority.resize(colon);
    }
    if (authority.size() > 2 && authority.front() == '[' && authority.back() == ']')
        authority = authority.substr(1, authority.size() - 2);
    address.host = authority;
    return !address.host.empty() && !address.port.empty();
}

std::wstring Wide(const char* text) {
    XmlText units;
    AppendUtf8AsUtf16(text, units);
    return WideFromXmlText(units);
}

// A connected socket, closed when it goes.
class CSocket {
public:
    ~CSocket() {
        if (fd_ >= 0)
            close(fd_);
    }
    bool Connect(const HttpAddress& address, std::wstring& failure) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        int resolved = getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &found);
        if (resolved != 0) {
            failure = L"the host name cannot be resolved (" + Wide(gai_strerror(resolved)) + L")";
            return false;
        }
        failure = L"no connection";
        for (addrinfo* candidate = found; candidate != nullptr && fd_ < 0; candidate = candidate->ai_next) {
            int fd = socket(candidate->ai_family, candidate->ai_socktype, candidate->ai_protocol);
            if (fd < 0)
                continue;
            timeval timeout{kTimeoutSeconds, 0};
            setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
            setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
            if (connect(fd, candidate->ai_addr, candidate->ai_addrlen) == 0) {
                fd_ = fd;
            } else {
                failure = L"the connection fails (" + Wide(std::strerror(errno)) + L")";
                close(fd);
            }
        }
        freeaddrinfo(found);
        return fd_ >= 0;
    }
    bool SendAll(std::string_view data) {
        while (!data.empty()) {
            ssize_t sent = send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
            if (sent <= 0)
                return false;
            data.remove_prefix(static_cast<size_t>(sent));
        }
        return true;
    }
    // Bytes read, 0 at the end, negative on a failure or timeout.
    ssize_t Receive(char* buffer, size_t size) { return recv(fd_, buffer, size, 0); }

private:
    int fd_ = -1;
};

// The value of a header in the header block (names in any letter case), or nothing.
bool FindHeader(const std::string& headers, std::string_view name, std::string& value) {
    size_t line_start = headers.find("\r\n");
    while (line_start != std::string::npos && line_start + 2 < headers.size()) {
        line_start += 2;
        size_t line_end = headers.find("\r\n", line_start);
        std::string line = headers.substr(line_start, line_end - line_start);
        size_t colon = line.find(':');
        if (colon == name.size() &&
            EqualsIgnoringAsciiCase(std::wstring(line.begin(), line.begin() + static_cast<ptrdiff_t>(colon)),
                                    std::wstring(name.begin(), name.end()))) {
            value = line.substr(colon + 1);
            return true;
        }
        line_start = line_end;
    }
    return false;
}

} // namespace

bool CanFetch(const std::wstring& url) {
    return url.size() >= 7 && EqualsIgnoringAsciiCase(url.substr(0, 7), L"http://");
}

HttpAnswer FetchUrl(const std::wstring& url, bool first_byte_only, const BodySink* sink) {
    HttpAnswer answer;
    HttpAddress address;
    if (!SplitHttpUrl(NarrowPath(url), address)) {
        answer.failure = L"the address cannot be read";
        return answer;
    }
    CSocket connection;
    if (!connection.Connect(address, answer.failure))
        return answer;
    std::string request =
        "GET " + address.target + " HTTP/1.1\r\nHost: " + address.host +
        (address.port == "80" ? "" : ":" + address.port) +
        "\r\nUser-Agent: Lumetra Web Installer Client\r\nAccept: */*\r\nConnection: close\r\n" +
        (first_byte_only ? "Range: bytes=0-0\r\n" : "") + "\r\n";
    if (!connection.SendAll(request)) {
        answer.failure = L"the request cannot be sent";
        return answer;
    }
    std::string received;
    char buffer[16384];
    size_t header_end = std::string::npos;
    while (header_end == std::string::npos) {
        ssize_t got = connection.Receive(buffer, sizeof buffer);
        if (got <= 0 || received.size() > kHeaderLimit) {
            answer.failure = got < 0 ? L"no answer within " + std::to_wstring(kTimeoutSeconds) + L" s"
                                     : L"the connection closes before a whole answer";
            return answer;
        }
        received.append(buffer, static_cast<size_t>(got));
        header_end = received.find("\r\n\r\n");
    }
    std::string headers = received.substr(0, header_end + 2);
    if (headers.compare(0, 5, "HTTP/") != 0 || headers.find(' ') == std::string::npos) {
        answer.failure = L"the answer is not HTTP";
        return answer;
    }
    answer.reached = true;
    answer.status =
        static_cast<uint32_t>(std::max(0, DecimalTextToInt(Wide(headers.c_str() + headers.find(' ')))));
    std::string length;
    answer.has_length = FindHeader(headers, "Content-Length", length);
    answer.length = answer.has_length ? ParseContentLength(Wide(length.c_str())) : 0;
    if (sink == nullptr)
        return answer;
    std::string_view body_start = std::string_view(received).substr(header_end + 4);
    (*sink)(reinterpret_cast<const uint8_t*>(body_start.data()), body_start.size());
    answer.body_bytes = body_start.size();
    // A server that keeps the connection open after the body is not waited for.
    while (!answer.has_length || answer.body_bytes < static_cast<uint64_t>(answer.length)) {
        ssize_t got = connection.Receive(buffer, sizeof buffer);
        if (got <= 0)
            break;
        (*sink)(reinterpret_cast<const uint8_t*>(buffer), static_cast<size_t>(got));
        answer.body_bytes += static_cast<uint64_t>(got);
    }
    return answer;
}
