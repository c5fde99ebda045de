// Messages for the user go to the sink in place; a scope that installs its own puts the one
// before it back.
#include "tests/config/UserMessageRecorder.h"

#include <gtest/gtest.h>

TEST(UserMessageSink, EachRecorderKeepsTheMessagesOfItsScopeAndPutsThePreviousSinkBack) {
    CUserMessageRecorder outer;
    ShowUserMessage(L"first");
    {
        CUserMessageRecorder inner;
        ShowUserMessage(L"second");
        EXPECT_EQ(inner.Texts(), std::vector<std::wstring>{L"second"});
    }
    ShowUserMessage(L"third");
    EXPECT_EQ(outer.Texts(), (std::vector<std::wstring>{L"first", L"third"}));
}
