// Which addresses from string files and packages the wizard opens.
#include "pages/WebAddress.h"

#include <gtest/gtest.h>

#include <string>

TEST(WebAddress, OnlyHttpAndHttpsAddressesWithAHostAreOpened) {
    struct Case {
        std::wstring address;
        bool opened;
    };
    const Case cases[] = {
        {L"https://www.lumetra.example/ApAiI", true},
        {L"http://127.0.0.1/lumetra/welcome.html", true},
        {L"HTTPS://host/path?x=1&y=2#top", true},
        {L"hTtP://host", true},
        {L"", false},
        {L"https://", false},
        {L"http:///etc", false},
        {L"http://\\\\server\\share\\x.exe", false},
        {L"C:\\Users\\Public\\evil.exe", false},
        {L"evil.exe", false},
        {L"\\\\server\\share\\evil.exe", false},
        {L"file:///C:/Windows/System32/calc.exe", false},
        {L"ms-settings:", false},
        {L"javascript:alert(1)", false},
        {L"ftp://host/x", false},
        {L"httpx://host", false},
        {L" https://host", false},
        {L"https://host/a b", false},
        {L"https://host/\x0D\x0Ax", false},
        {L"https://host\t", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWebAddress(c.address), c.opened) << testing::PrintToString(c.address);
}
