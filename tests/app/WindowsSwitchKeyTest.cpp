#include "app/CommandLine.h"
#include "app/WindowsSwitchKey.h"

#include <gtest/gtest.h>

TEST(WindowsSwitchKey, LowerCasesInTheUserLocaleAndNarrows) {
    EXPECT_EQ(WindowsSwitchKey(L"/LANG"), "/lang");
    EXPECT_EQ(WindowsSwitchKey(L"/S"), "/s");
    EXPECT_EQ(WindowsSwitchKey(L""), "");
    // Non-ASCII letters are lowered too and never collide with a switch.
    EXPECT_NE(WindowsSwitchKey(L"/\u00C4"), "/s");
}

TEST(WindowsSwitchKey, ParsesLikeThePortableKey) {
    LaunchOptions options;
    ParseCommandLine({L"prog", L"/LANG", L"2052", L"/N", L"-l"}, MakeSwitchHandlers(options),
                     WindowsSwitchKey);
    EXPECT_EQ(options.requested_language, L"2052");
    EXPECT_EQ(options.skip_validation, 1);
    EXPECT_EQ(options.launch_when_done, 0);
}
