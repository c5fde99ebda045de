// What the prerequisites' registry values mean, over values read (nullopt: not read).
#include "engine/PrerequisiteRules.h"

#include <gtest/gtest.h>

namespace {

std::optional<std::wstring> Text(const wchar_t* text) {
    return text ? std::optional<std::wstring>(text) : std::nullopt;
}

} // namespace

TEST(PrerequisiteRules, WebView2CountsWhenEitherVersionSaysInstalled) {
    struct Case {
        const wchar_t* machine;
        const wchar_t* user;
        bool installed;
    };
    const Case cases[] = {
        {L"109.0.1518.78", nullptr, true},
        {nullptr, L"109.0.1518.78", true}, // per-user installation only
        {L"0.0.0.0", nullptr, false},
        {L"0.0.0.0.1", nullptr, true},
        {L"", L"", false},
        {nullptr, nullptr, false},
        {L"0.0.0.0", L"0.0.0.0", false},
        {L"0.0.0.0", L"120.0.1.2", true},
        {L"118.0.1.2", L"0.0.0.0", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWebView2Installed(Text(c.machine), Text(c.user)), c.installed)
            << testing::PrintToString(Text(c.machine)) << " " << testing::PrintToString(Text(c.user));
    }
}

TEST(PrerequisiteRules, VcRuntimeComparesEachNumberOnItsOwn) {
    struct Case {
        const char* name;
        VcRuntimeValues values;
        bool installed;
    };
    const Case cases[] = {
        {"14.29 with a build above 18127", {true, 14, 29, 30133}, true},
        {"14.16, whatever its build", {true, 14, 16, 99999}, false},
        {"the minimum itself", {true, 14, 24, 18127}, true},
        {"build one below", {true, 14, 24, 18126}, false},
        {"14.30 with any build of at least 18127", {true, 14, 30, 18127}, true},
        {"15.0.0 is not newer here", {true, 15, 0, 0}, false},
        {"a value missing counts as 0", {true, 14, std::nullopt, 30000}, false},
        {"key not there", {false, 14, 40, 40000}, false},
        {"nothing read", {true, std::nullopt, std::nullopt, std::nullopt}, false},
        {"numbers as unsigned", {true, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsVcRuntimeInstalled(c.values), c.installed) << c.name;
}

TEST(PrerequisiteRules, BonjourNeedsARealVersion) {
    EXPECT_TRUE(IsBonjourInstalled(true, Text(L"3.1.0.1")));
    EXPECT_FALSE(IsBonjourInstalled(true, std::nullopt)); // key present without "Version"
    EXPECT_FALSE(IsBonjourInstalled(true, Text(L"")));
    EXPECT_FALSE(IsBonjourInstalled(true, Text(L"0.0.0.0")));
    EXPECT_FALSE(IsBonjourInstalled(false, Text(L"3.1.0.1")));
}
