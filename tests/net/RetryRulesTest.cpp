// When a transfer is tried again and how long it waits; what continues a file; free space.
#include "net/RetryRules.h"

#include <gtest/gtest.h>

#include <string>

TEST(RetryRules, OnlyNotNowStatusesAndNetworkErrorsAreTransient) {
    for (uint32_t status : {408u, 429u, 500u, 502u, 503u, 504u})
        EXPECT_TRUE(IsTransientStatus(status)) << status;
    for (uint32_t status : {200u, 206u, 301u, 400u, 401u, 403u, 404u, 410u, 416u, 501u, 505u})
        EXPECT_FALSE(IsTransientStatus(status)) << status;
    // timeout, name not resolved, cannot connect, aborted, reset, garbled answer
    for (uint32_t error : {12002u, 12007u, 12029u, 12030u, 12031u, 12152u})
        EXPECT_TRUE(IsTransientError(error)) << error;
    // no error, invalid URL, unknown scheme, certificate refused, operation cancelled
    for (uint32_t error : {0u, 12005u, 12006u, 12045u, 12017u})
        EXPECT_FALSE(IsTransientError(error)) << error;
}

TEST(RetryRules, BackoffIsFullJitterUnderADoublingCeilingCappedAt30s) {
    struct Case {
        int attempt;
        uint32_t ceiling;
    };
    for (Case c :
         {Case{1, 1000}, Case{2, 2000}, Case{3, 4000}, Case{5, 16000}, Case{6, 30000}, Case{40, 30000}}) {
        EXPECT_EQ(BackoffDelayMs(c.attempt, 0), 0u) << c.attempt;
        EXPECT_EQ(BackoffDelayMs(c.attempt, c.ceiling), c.ceiling) << c.attempt;
        EXPECT_EQ(BackoffDelayMs(c.attempt, c.ceiling + 1), 0u) << "the draw wraps inside the range";
        EXPECT_LE(BackoffDelayMs(c.attempt, 0xFFFFFFFFu), c.ceiling) << c.attempt;
    }
}

TEST(RetryRules, RetryAfterIsSecondsOrAnHttpDateAndIsHonouredUpToTheCap) {
    const int64_t now = 784111777; // Sun, 06 Nov 1994 08:49:37 GMT
    EXPECT_EQ(ParseRetryAfterMs(L"120", now), 120000u);
    EXPECT_EQ(ParseRetryAfterMs(L" 0 ", now), 0u);
    EXPECT_EQ(ParseRetryAfterMs(L"Sun, 06 Nov 1994 08:49:47 GMT", now), 10000u);
    EXPECT_EQ(ParseRetryAfterMs(L"Sun, 06 Nov 1994 08:49:00 GMT", now), 0u) << "a date in the past";
    EXPECT_EQ(ParseRetryAfterMs(L"Mon, 01 Jan 2024 00:00:00 GMT", 1704067200 - 5), 5000u);
    for (const wchar_t* bad :
         {L"", L"soon", L"-5", L"1.5", L"12 s", L"Sun, 06 Foo 1994 08:49:47 GMT",
          L"Sun, 06 Nov 1994 08:49:47 CET", L"Sun, 32 Nov 1994 08:49:47 GMT", L"99999999999999999999999"})
        EXPECT_FALSE(ParseRetryAfterMs(bad, now).has_value()) << std::wstring(bad).size();
    EXPECT_EQ(RetryWaitMs(700, std::nullopt), 700u);
    EXPECT_EQ(RetryWaitMs(700, 2000), 2000u) << "the server's word over the backoff";
    EXPECT_EQ(RetryWaitMs(700, 3600000), kBackoffCapMs);
}

TEST(RetryRules, ARangeAnswerContinuesTheFileOnlyFromTheOffsetToItsEndWithTheSameTotal) {
    auto range = ParseContentRange(L"bytes 3000-9999/10000");
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->first, 3000);
    EXPECT_EQ(range->last, 9999);
    EXPECT_EQ(range->total, 10000);
    EXPECT_TRUE(ContinuesFileAt(*range, 3000, 10000));
    EXPECT_FALSE(ContinuesFileAt(*range, 2999, 10000)) << "does not start at the offset";
    EXPECT_FALSE(ContinuesFileAt(*range, 3000, 10001)) << "the total changed";
    EXPECT_FALSE(ContinuesFileAt(*ParseContentRange(L"bytes 3000-5000/10000"), 3000, 10000)) << "stops short";
    EXPECT_FALSE(ContinuesFileAt(*ParseContentRange(L"bytes 3000-9999/*"), 3000, 10000)) << "no total";
    EXPECT_TRUE(ParseContentRange(L"Bytes 0-0/1").has_value());
    for (const wchar_t* bad :
         {L"", L"bytes", L"bytes */10000", L"bytes 5-4/10", L"bytes 0-9/9", L"items 0-1/2", L"bytes 0-1/2x",
          L"bytes -1-2/3", L"bytes 0-99999999999999999999/1"})
        EXPECT_FALSE(ParseContentRange(bad).has_value()) << std::wstring(bad).size();
}

TEST(RetryRules, AFileStartsOnlyWithItsLengthAndAMarginFree) {
    const uint64_t length = 300ull << 20;
    EXPECT_TRUE(HasRoomFor(length + kFreeSpaceMarginBytes, length));
    EXPECT_FALSE(HasRoomFor(length + kFreeSpaceMarginBytes - 1, length));
    EXPECT_FALSE(HasRoomFor(length, length));
    EXPECT_FALSE(HasRoomFor(0, 1));
    EXPECT_TRUE(HasRoomFor(~0ull, ~0ull - kFreeSpaceMarginBytes));
}
