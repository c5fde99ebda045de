// Small documents copied into a stream: only a whole 2xx body counts as the document.
#include "framework/Handles.h"
#include "net/CancelRequest.h"
#include "net/HttpClient.h"
#include "tests/net/NetServers.h"
#include "tests/net/StringSink.h"

#include <gtest/gtest.h>

using namespace nettest;

namespace {

bool IsPatternText(const std::string& body, size_t size) {
    return body.size() == size && MatchesPattern(body.data(), body.size());
}

} // namespace

TEST(DownloadToStream, CopiesWholeDocumentsWithOrWithoutALength) {
    struct Case {
        const wchar_t* path;
        size_t size;
    };
    const Case cases[] = {
        {L"/status/200?len=70000", 70000}, // several 16 KiB reads
        {L"/nolength?len=30000", 30000},   // ends when the connection closes
        {L"/chunked?len=30000", 30000},
        {L"/status/200?len=0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        CancelRequest never;
        nettest::CStringSink out;
        EXPECT_TRUE(DownloadToStream(never, ServerUrl(L"fault", c.path), out));
        EXPECT_TRUE(IsPatternText(out.str(), c.size));
    }
}

TEST(DownloadToStream, FetchesTheServedXmlDocument) {
    CancelRequest never;
    nettest::CStringSink out;
    EXPECT_TRUE(DownloadToStream(never, ServerUrl(L"http", L"/files/version.xml"), out));
    EXPECT_EQ(out.str(), ReadWholeFile(ServersFolder() + L"\\www\\files\\version.xml"));
    EXPECT_NE(out.str().find("<nvxwebinstaller>"), std::string::npos);
}

TEST(DownloadToStream, AnErrorPageOrACutBodyIsNotTheDocument) {
    const wchar_t* const paths[] = {
        L"/status/404?len=300",
        L"/status/403?len=300",
        L"/status/500?len=300",
        L"/status/503?len=300",
        L"/status/301?len=300",
        L"/cut?len=50000&send=20000",
        L"/stall?len=50000&send=20000&hold=1",
    };
    for (const wchar_t* path : paths) {
        CancelRequest never;
        nettest::CStringSink out;
        EXPECT_FALSE(DownloadToStream(never, ServerUrl(L"fault", path), out)) << path;
    }
    CancelRequest never;
    nettest::CStringSink out;
    EXPECT_FALSE(
        DownloadToStream(never, L"http://127.0.0.1:" + std::to_wstring(ClosedPort()) + L"/v.xml", out));
    EXPECT_FALSE(DownloadToStream(never, L"not a url", out));
}

TEST(DownloadToStream, AStreamThatRefusesBytesFails) {
    CancelRequest never;
    nettest::CStringSink out;
    out.refuse = true;
    EXPECT_FALSE(DownloadToStream(never, ServerUrl(L"fault", L"/status/200?len=1000"), out));
}

TEST(DownloadToStream, ACancelledFetchIsFalse) {
    nvx::UniqueHandle cancel_event(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    CancelRequest cancel(cancel_event.get(), nullptr);
    nettest::CStringSink out;
    EXPECT_FALSE(DownloadToStream(cancel, ServerUrl(L"fault", L"/status/200?len=1000"), out));
    EXPECT_TRUE(out.str().empty());
}

TEST(DownloadToStream, SendsAGetForXmlWithTheAgentAndTheJsonContentType) {
    std::wstring tag = NewTag();
    CancelRequest never;
    nettest::CStringSink out;
    EXPECT_TRUE(DownloadToStream(never, ServerUrl(L"fault", L"/status/200?len=10&tag=" + tag), out));
    std::string head = RecordedRequests(tag);
    EXPECT_EQ(head.rfind("GET /status/200?len=10&tag=", 0), 0u) << head;
    EXPECT_NE(head.find("\r\nAccept: application/xml, */*\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Lumetra Web Installer Client\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nContent-Type: application/json\r\n"), std::string::npos) << head;
}
