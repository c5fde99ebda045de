// With a Referer configured, every kind of request names it.
#include "framework/File.h"
#include "net/CancelRequest.h"
#include "net/HttpClient.h"
#include "net/RefererUrl.h"
#include "tests/net/NetServers.h"
#include "tests/net/StringSink.h"
#include "tests/net/ReportLog.h"

#include <gtest/gtest.h>

#include <functional>

using namespace nettest;

TEST(Referer, EveryRequestCarriesTheConfiguredReferer) {
    ASSERT_STREQ(referer_url, L"https://www.lumetra.example/download/");
    const std::wstring folder = FreshDownloadFolder();
    struct Case {
        const char* operation;
        std::function<void(const std::wstring& url)> request;
    };
    const Case cases[] = {
        {"QueryContentLength", [](const std::wstring& url) { EXPECT_EQ(QueryContentLength(url), 100); }},
        {"DownloadToFile",
         [&](const std::wstring& url) {
             CFile file;
             ASSERT_TRUE(file.Open(folder + L"\\file.bin", CFile::modeCreate | CFile::modeWrite));
             CancelRequest never;
             CTimedReportLog log;
             EXPECT_TRUE(DownloadToFile(never, url, file, log));
         }},
        {"DownloadToStream",
         [](const std::wstring& url) {
             CancelRequest never;
             nettest::CStringSink out;
             EXPECT_TRUE(DownloadToStream(never, url, out));
         }},
    };
    for (const Case& c : cases) {
        std::wstring tag = NewTag();
        c.request(ServerUrl(L"fault", L"/status/200?len=100&tag=" + tag));
        std::string head = RecordedRequests(tag);
        EXPECT_NE(head.find("\r\nReferer: https://www.lumetra.example/download/\r\n"), std::string::npos)
            << c.operation << "\n"
            << head;
        EXPECT_EQ(head.find("Referer:"), head.rfind("Referer:")) << c.operation << ": one Referer header";
    }
}
