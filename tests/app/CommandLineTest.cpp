#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct SwitchCase {
    const char* name;
    std::vector<std::wstring> arguments; // after the program path
    int silent;
    int skip_validation;
    int launch;
    std::wstring language;
};

LaunchOptions Parse(const std::vector<std::wstring>& arguments) {
    LaunchOptions options;
    std::vector<std::wstring> tokens{L"C:\\installer\\webinstaller.exe"};
    tokens.insert(tokens.end(), arguments.begin(), arguments.end());
    ParseCommandLine(tokens, MakeSwitchHandlers(options));
    return options;
}

const SwitchCase kCases[] = {
    {"none", {}, 0, 0, 0, L""},
    {"silent", {L"/s"}, 1, 0, 0, L""},
    {"upper_case_is_the_same", {L"/S"}, 1, 0, 0, L""},
    {"mixed_case_lang", {L"/LaNg", L"1031"}, 0, 0, 0, L"1031"},
    {"minus_is_not_a_switch", {L"-s"}, 0, 0, 0, L""},
    {"no_slash_is_not_a_switch", {L"s"}, 0, 0, 0, L""},
    {"all_flags", {L"/n", L"/l", L"/s"}, 1, 1, 1, L""},
    {"lang_value", {L"/lang", L"1031"}, 0, 0, 0, L"1031"},
    {"lang_value_keeps_case", {L"/lang", L"AbC"}, 0, 0, 0, L"AbC"},
    {"lang_last_token", {L"/lang"}, 0, 0, 0, L""},
    {"lang_backslash_value", {L"/lang", L"\\1031"}, 0, 0, 0, L""},
    {"lang_empty_value", {L"/lang", L""}, 0, 0, 0, L""},
    {"lang_value_is_a_switch_too", {L"/lang", L"/s"}, 1, 0, 0, L"/s"},
    {"word_after_flag_is_ignored", {L"/s", L"hello"}, 1, 0, 0, L""},
    {"last_lang_wins", {L"/lang", L"1031", L"/lang", L"1036"}, 0, 0, 0, L"1036"},
    {"later_empty_lang_wins", {L"/lang", L"1031", L"/lang"}, 0, 0, 0, L""},
    {"switch_with_suffix_is_unknown", {L"/silent", L"/langx", L"1031"}, 0, 0, 0, L""},
};

class CommandLineTable : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(CommandLineTable, StoresTheSwitches) {
    const SwitchCase& c = GetParam();
    LaunchOptions options = Parse(c.arguments);
    EXPECT_EQ(options.silent_mode, c.silent);
    EXPECT_EQ(options.skip_validation, c.skip_validation);
    EXPECT_EQ(options.launch_when_done, c.launch);
    EXPECT_EQ(options.requested_language, c.language);
    EXPECT_EQ(options.product_installed, 0);
}

INSTANTIATE_TEST_SUITE_P(Switches, CommandLineTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// "/quiet" is a silent run too; "/log" takes its value as "/lang" does.
TEST(CommandLine, QuietAndLogSwitches) {
    const struct {
        const char* name;
        std::vector<std::wstring> arguments;
        int silent;
        int quiet;
        std::wstring log_path;
    } cases[] = {
        {"quiet is silent too", {L"/quiet"}, 1, 1, L""},
        {"quiet in any case", {L"/QUIET", L"/n"}, 1, 1, L""},
        {"silent is not quiet", {L"/s"}, 1, 0, L""},
        {"log value keeps case and spaces",
         {L"/LOG", L"C:\\Logs\\Run One.LOG"},
         0,
         0,
         L"C:\\Logs\\Run One.LOG"},
        {"log as the last token", {L"/s", L"/log"}, 1, 0, L""},
        {"log value starting with a backslash", {L"/log", L"\\\\server\\share\\run.log"}, 0, 0, L""},
        {"log value is a switch too", {L"/log", L"/quiet"}, 1, 1, L"/quiet"},
        {"last log wins", {L"/log", L"a.log", L"/log", L"b.log"}, 0, 0, L"b.log"},
    };
    for (const auto& c : cases) {
        LaunchOptions options = Parse(c.arguments);
        EXPECT_EQ(options.silent_mode, c.silent) << c.name;
        EXPECT_EQ(options.quiet_mode, c.quiet) << c.name;
        EXPECT_EQ(options.log_path, c.log_path) << c.name;
    }
}

TEST(CommandLine, SwitchGivenTwiceRunsItsHandlerTwice) {
    int calls = 0;
    std::vector<std::wstring> values;
    SwitchTable table;
    table["/s"] = [&](const std::wstring& value) {
        ++calls;
        values.push_back(value);
    };
    ParseCommandLine({L"prog", L"/s", L"x", L"/S"}, table);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(values, (std::vector<std::wstring>{L"x", L""}));
}

TEST(CommandLine, ProgramPathIsExaminedAsWell) {
    LaunchOptions options;
    ParseCommandLine({L"/s"}, MakeSwitchHandlers(options));
    EXPECT_EQ(options.silent_mode, 1);
}

TEST(CommandLine, TableHoldsExactlyTheInstallersSwitches) {
    LaunchOptions options;
    SwitchTable table = MakeSwitchHandlers(options);
    EXPECT_EQ(table.size(), 7u);
    for (const char* name : {"/s", "/n", "/l", "/lang", "/quiet", "/log", "/layout"})
        EXPECT_TRUE(table.count(name)) << name;
}

TEST(CommandLine, LayoutTakesAFolderAndIsKnownEvenWithoutOne) {
    struct Case {
        std::vector<std::wstring> tokens;
        const wchar_t* folder;
        bool requested;
    } cases[] = {
        {{L"setup.exe", L"/s", L"/LAYOUT", L"D:\\Offline Lumetra"}, L"D:\\Offline Lumetra", true},
        {{L"setup.exe", L"/layout"}, L"", true},
        {{L"setup.exe", L"/layout", L"\\\\server\\share"}, L"", true}, // not a value token
        {{L"setup.exe", L"/s"}, L"", false},
    };
    for (const Case& c : cases) {
        LaunchOptions options;
        ParseCommandLine(c.tokens, MakeSwitchHandlers(options), PortableSwitchKey);
        EXPECT_EQ(options.layout_folder, c.folder);
        EXPECT_EQ(options.layout_requested, c.requested);
    }
}

} // namespace
