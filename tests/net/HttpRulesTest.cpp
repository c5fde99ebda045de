// The answers the HTTP client accepts: probe statuses, document statuses, length values.
#include "net/HttpRules.h"

#include <gtest/gtest.h>

#include <string>

TEST(HttpRules, ProbeRejectsForbiddenNotFoundAndEverythingOutside200To500) {
    struct Case {
        uint32_t status;
        bool accepted;
    };
    const Case cases[] = {{0, false},  {100, false}, {199, false}, {200, true},  {204, true},
                          {206, true}, {301, true},  {302, true},  {304, true},  {400, true},
                          {401, true}, {402, true},  {403, false}, {404, false}, {405, true},
                          {499, true}, {500, true},  {501, false}, {503, false}, {600, false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsAcceptedProbeStatus(c.status), c.accepted) << c.status;
}

TEST(HttpRules, DocumentsComeOnlyFrom2xx) {
    for (uint32_t status : {200u, 201u, 204u, 206u, 299u})
        EXPECT_TRUE(IsSuccessStatus(status)) << status;
    for (uint32_t status : {0u, 100u, 199u, 300u, 301u, 304u, 403u, 404u, 500u, 503u})
        EXPECT_FALSE(IsSuccessStatus(status)) << status;
}

TEST(HttpRules, ContentLengthIsRead64BitAndAnythingElseIsZero) {
    struct Case {
        std::wstring text;
        int64_t value;
    };
    const Case cases[] = {
        {L"0", 0},
        {L"1000", 1000},
        {L" 4096 ", 4096},
        {L"\t12", 12},
        {L"2147483647", 2147483647LL},
        {L"2147483648", 2147483648LL},       // 2 GiB: beyond a 32-bit conversion
        {L"3000000000", 3000000000LL},       // would turn negative in 32 bits
        {L"4294967301", 4294967301LL},       // 2^32 + 5: would wrap to 5
        {L"9223372036854775807", INT64_MAX}, // largest representable
        {L"9223372036854775808", 0},         // one more: no sensible size
        {L"99999999999999999999", 0},
        {L"", 0},
        {L"   ", 0},
        {L"-5", 0},
        {L"+5", 0},
        {L"12abc", 0},
        {L"1 2", 0},
        {L"0x10", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseContentLength(c.text), c.value) << c.text;
}

TEST(HttpRules, ADownloadIsCompleteOnlyWithExactlyTheProbedSize) {
    EXPECT_TRUE(IsCompleteDownload(1000, 1000));
    EXPECT_TRUE(IsCompleteDownload(3000000000LL, 3000000000ULL));
    EXPECT_FALSE(IsCompleteDownload(1000, 999));  // body cut short
    EXPECT_FALSE(IsCompleteDownload(1000, 0));    // nothing arrived
    EXPECT_FALSE(IsCompleteDownload(1000, 1001)); // more than announced
    EXPECT_FALSE(IsCompleteDownload(0, 0));       // nothing was probed
}
