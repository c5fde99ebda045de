// The manifest's SHA-256 pins: what is a pin, and which digests it accepts.
#include "config/Sha256Pin.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

// The SHA-256 of "abc".
const std::wstring kAbc = L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

Sha256Digest AbcDigest() {
    return *ParseSha256(kAbc);
}

TEST(Sha256Pin, APinIsExactly64HexadecimalDigitsInEitherCase) {
    struct Case {
        std::wstring text;
        bool valid;
    };
    const Case cases[] = {
        {kAbc, true},
        {L"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD", true},
        {L"Ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015aD", true},
        {kAbc.substr(1), false},
        {kAbc + L"0", false},
        {L" " + kAbc.substr(1), false},
        {kAbc.substr(0, 63) + L"g", false},
        {kAbc.substr(0, 62) + L"0x", false},
        {L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseSha256(c.text).has_value(), c.valid) << testing::PrintToString(c.text);
    EXPECT_EQ(Sha256Text(AbcDigest()), kAbc);
    EXPECT_EQ(AbcDigest()[0], 0xBA);
    EXPECT_EQ(AbcDigest()[31], 0xAD);
}

TEST(Sha256Pin, NoPinAcceptsAnythingAMalformedPinNothing) {
    Sha256Digest other = AbcDigest();
    other[31] ^= 1;
    std::wstring upper = kAbc;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    EXPECT_TRUE(PinAccepts(std::nullopt, AbcDigest()));
    EXPECT_TRUE(PinAccepts(kAbc, AbcDigest()));
    EXPECT_TRUE(PinAccepts(upper, AbcDigest()));
    EXPECT_FALSE(PinAccepts(kAbc, other));
    EXPECT_FALSE(PinAccepts(std::wstring(), AbcDigest()));
    EXPECT_FALSE(PinAccepts(std::wstring(L"not a digest"), AbcDigest()));
    EXPECT_FALSE(PinAccepts(kAbc + L" ", AbcDigest()));
}

} // namespace
