// HTTPS against nginx with certificates of the test CA: dates and host names are not held
// against a server, an issuer nobody trusts is.
#include "net/CancelRequest.h"
#include "net/HttpClient.h"
#include "net/InternetHandle.h"
#include "net/InternetSession.h"
#include "net/RunDownloadJob.h"
#include "tests/net/CancelEvents.h"
#include "tests/net/NetServers.h"
#include "tests/net/StringSink.h"
#include "tests/net/ReportLog.h"

#include <gtest/gtest.h>

using namespace nettest;

namespace {

// What WinINet says to a request to the server without any leniency: 0 when it is accepted,
// else the error of HttpSendRequest.
DWORD StrictRequestError(const wchar_t* server) {
    nvx::UniqueInternetHandle connection(nvx::wininet::InternetConnectW(
        internet_session, L"127.0.0.1", static_cast<INTERNET_PORT>(ServerPort(server)), nullptr, nullptr,
        INTERNET_SERVICE_HTTP, 0, 0));
    nvx::UniqueInternetHandle request(nvx::wininet::HttpOpenRequestW(
        connection.get(), L"GET", L"/files/small.bin", nullptr, nullptr, nullptr,
        INTERNET_FLAG_SECURE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0));
    if (!request)
        return ::GetLastError();
    return nvx::wininet::HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0) ? 0 : ::GetLastError();
}

} // namespace

TEST(Https, TheLenientCasesWouldBeRefusedByAStrictRequest) {
    // Shows that the acceptance below comes from the installer's flags, not from a lax stack.
    EXPECT_EQ(StrictRequestError(L"https_expired"), static_cast<DWORD>(ERROR_INTERNET_SEC_CERT_DATE_INVALID));
    EXPECT_EQ(StrictRequestError(L"https_wronghost"), static_cast<DWORD>(ERROR_INTERNET_SEC_CERT_CN_INVALID));
    EXPECT_EQ(StrictRequestError(L"https_unknown_ca"), static_cast<DWORD>(ERROR_INTERNET_INVALID_CA));
}

TEST(Https, AcceptsTrustedCertificatesWhateverTheirDatesOrHostName) {
    for (const wchar_t* server : {L"https", L"https_expired", L"https_wronghost"}) {
        SCOPED_TRACE(testing::Message() << server);
        std::wstring url = ServerUrl(server, L"/files/pages.bin");
        EXPECT_EQ(QueryContentLength(url), 25 * 4096);

        CCancelEvents events;
        CDownloadJob job(url, FreshDownloadFolder() + L"\\job.bin");
        EXPECT_TRUE(RunDownloadJob(job, &events.query, nullptr));
        EXPECT_TRUE(HoldsPattern(job.local_path, 25 * 4096));

        CancelRequest never;
        nettest::CStringSink out;
        EXPECT_TRUE(DownloadToStream(never, ServerUrl(server, L"/files/version.xml"), out));
        EXPECT_NE(out.str().find("<nvxwebinstaller>"), std::string::npos);
    }
}

TEST(Https, RefusesACertificateFromAnUnknownIssuer) {
    std::wstring url = ServerUrl(L"https_unknown_ca", L"/files/small.bin");
    EXPECT_EQ(QueryContentLength(url), 0);

    CCancelEvents events;
    CDownloadJob job(url, FreshDownloadFolder() + L"\\job.bin");
    CTimedReportLog log;
    EXPECT_FALSE(RunDownloadJob(job, &events.query, [&](const DownloadStatusInfo& s) { log.Add(s); }));
    EXPECT_EQ(log.reports.size(), 1u) << "the probe already fails";
    EXPECT_EQ(FileSize(job.local_path), -1);

    CFile file;
    ASSERT_TRUE(file.Open(FreshDownloadFolder() + L"\\direct.bin", CFile::modeCreate | CFile::modeWrite));
    CancelRequest never;
    CTimedReportLog direct;
    EXPECT_FALSE(DownloadToFile(never, url, file, direct));
    ASSERT_EQ(direct.reports.size(), 1u);
    EXPECT_EQ(direct.reports[0].info.state, DownloadState::Ended);
    EXPECT_EQ(direct.reports[0].info.error_code, static_cast<uint32_t>(ERROR_INTERNET_INVALID_CA));
    EXPECT_EQ(direct.reports[0].info.message, L"HttpSendRequest Failed.");

    nettest::CStringSink out;
    EXPECT_FALSE(DownloadToStream(never, ServerUrl(L"https_unknown_ca", L"/files/version.xml"), out));
}
