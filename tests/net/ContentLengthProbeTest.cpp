// The size probe against real servers: which statuses pass, lengths, and what it sends.
#include "net/HttpClient.h"
#include "tests/net/NetServers.h"

#include <gtest/gtest.h>

using namespace nettest;

TEST(ContentLengthProbe, AcceptsOnlyTheListedStatuses) {
    struct Case {
        int status;
        int64_t expected;
    };
    // 301 comes without a Location, so it reaches the probe instead of being followed.
    const Case cases[] = {{200, 1234}, {301, 1234}, {500, 1234}, {206, 1234}, {401, 1234},
                          {403, 0},    {404, 0},    {199, 0},    {501, 0},    {503, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(
            QueryContentLength(ServerUrl(L"fault", L"/status/" + std::to_wstring(c.status) + L"?len=1234")),
            c.expected)
            << "status " << c.status;
}

TEST(ContentLengthProbe, AnswersZeroWithoutALength) {
    EXPECT_EQ(QueryContentLength(ServerUrl(L"fault", L"/nolength?len=5000")), 0);
    EXPECT_EQ(QueryContentLength(ServerUrl(L"fault", L"/chunked?len=5000")), 0);
}

TEST(ContentLengthProbe, ReadsLengthsOf2GiBAndMore) {
    for (int64_t length : {2147483647LL, 2147483648LL, 3000000000LL, 4294967301LL, 10000000000LL})
        EXPECT_EQ(QueryContentLength(ServerUrl(L"fault", L"/cut?send=0&len=" + std::to_wstring(length))),
                  length);
}

TEST(ContentLengthProbe, GivesTheSizeOfServedFiles) {
    EXPECT_EQ(QueryContentLength(ServerUrl(L"http", L"/files/small.bin")), 1000);
    EXPECT_EQ(QueryContentLength(ServerUrl(L"http", L"/files/large.bin")), 4 * 1024 * 1024 + 123);
    EXPECT_EQ(QueryContentLength(ServerUrl(L"http", L"/files/missing.bin")), 0);
}

TEST(ContentLengthProbe, AnswersZeroWhenNothingCanBeAsked) {
    EXPECT_EQ(QueryContentLength(L"not a url"), 0);
    EXPECT_EQ(QueryContentLength(L""), 0);
    EXPECT_EQ(QueryContentLength(L"http://127.0.0.1:" + std::to_wstring(ClosedPort()) + L"/x.bin"), 0);
}

TEST(ContentLengthProbe, SendsAGetWithTheAgentAndAcceptTypesAndReadsNoBody) {
    std::wstring tag = NewTag();
    EXPECT_EQ(QueryContentLength(ServerUrl(L"fault", L"/status/200?len=10&tag=" + tag)), 10);
    std::string head = RecordedRequests(tag);
    EXPECT_EQ(head.rfind("GET /status/200?len=10&tag=", 0), 0u) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Lumetra Web Installer Client\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nAccept: application/xml, */*\r\n"), std::string::npos) << head;
    EXPECT_EQ(head.find("Referer:"), std::string::npos) << "no Referer is configured in this build";
}
