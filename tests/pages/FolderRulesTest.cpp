// How a typed installation folder is read, and which folders the check makes for it.
#include "pages/FolderRules.h"

#include <gtest/gtest.h>

namespace {

using Steps = std::vector<std::wstring>;

TEST(FolderRules, TypedTextLosesOneTrailingBackslash) {
    EXPECT_EQ(TrimFolderText(L"C:\\Program Files\\Lumetra\\"), L"C:\\Program Files\\Lumetra");
    EXPECT_EQ(TrimFolderText(L"C:\\"), L"C:");
    EXPECT_EQ(TrimFolderText(L"D:\\a\\\\"), L"D:\\a\\");
    EXPECT_EQ(TrimFolderText(L""), L"");
}

TEST(FolderRules, RelativeAsTheShellSeesIt) {
    const struct {
        const wchar_t* path;
        bool relative;
    } cases[] =
        {
            {L"", true},
            {L"Lumetra", true},
            {L"..\\x", true},
            {L".", true},
            {L"C:", false},
            {L"C:\\x", false},
            {L"\\\\srv\\s", false},
            {L"\\root", false},
            {L"C:relative", false}, // drive-relative counts as absolute for the shell, too
        };
    for (const auto& c : cases)
        EXPECT_EQ(IsRelativeFolder(c.path), c.relative) << testing::PrintToString(std::wstring(c.path));
}

TEST(FolderRules, CreationStepsSkipDrivesAndServers) {
    const struct {
        const wchar_t* path;
        Steps steps;
    } cases[] = {
        {L"D:\\a\\b\\c", {L"D:\\a", L"D:\\a\\b", L"D:\\a\\b\\c"}},
        {L"C:", {}},
        {L"C:\\\\double\\\\x", {L"C:\\double", L"C:\\double\\x"}},
        {L"\\\\server\\share\\dir", {L"\\\\server\\share", L"\\\\server\\share\\dir"}},
        {L"\\\\server", {}},
        {L"\\top\\sub", {L"\\top", L"\\top\\sub"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderCreationSteps(c.path), c.steps) << testing::PrintToString(std::wstring(c.path));
}

TEST(FolderRules, BrowseStartKeepsADriveRoot) {
    EXPECT_EQ(BrowseStartText(L"C:\\"), L"C:\\");
    EXPECT_EQ(BrowseStartText(L"C:\\a\\"), L"C:\\a");
    EXPECT_EQ(BrowseStartText(L"C:\\a"), L"C:\\a");
}

} // namespace
