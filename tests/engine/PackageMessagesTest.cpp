// Windows Installer's messages as the engine reads them: the handling of each kind, progress
// records turned into a percent that never goes down, and the home page from the property dump.
#include "engine/PackageMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(InstallerMessages, EachKindHasItsHandling) {
    using H = InstallerMessageHandling;
    struct Case {
        uint32_t type;
        H handling;
    };
    const Case cases[] = {
        {0x00000000, H::MessageBox},                              // fatal exit
        {0x01000000, H::MessageBox},                              // error
        {0x01000030, H::MessageBox},                              // error with its box style in the low bits
        {0x02000000, H::AnswerOk},                                // warning
        {0x03000000, H::AnswerOk},                                // user
        {0x04000000, H::Info},       {0x05000000, H::AnswerNone}, // files in use
        {0x06000000, H::AnswerNone},                            // resolve source: the installer's own prompt
        {0x07000000, H::MessageBox},                            // out of disk space
        {0x08000000, H::AnswerOk},                              // action start
        {0x09000000, H::AnswerOk},                              // action data
        {0x0A000000, H::Progress},   {0x0B000000, H::AnswerOk}, // common data
        {0x0C000000, H::AnswerOk},                              // initialize
        {0x0D000000, H::AnswerOk},                              // terminate
        {0x0E000000, H::AnswerOk},                              // show dialog
        {0x0F000000, H::AnswerNone}, {0x1A000000, H::AnswerNone}, {0x1B000000, H::AnswerOk}, // install end
        {0xFF000000, H::AnswerNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyInstallerMessage(c.type), c.handling) << std::hex << c.type;
}

TEST(InstallerMessages, HomepageComesFromThePropertyDumpOnly) {
    struct Case {
        const wchar_t* text;
        const wchar_t* homepage; // null: none
    };
    const Case cases[] = {
        {L"Property(S): InstallHomepageURL = http://127.0.0.1/welcome.html",
         L"http://127.0.0.1/welcome.html"},
        {L"PROPERTY(S):   installhomepageurl = http://example.com/a ", L"http://example.com/a"},
        {L"property(s):\tInstallHomepageURL =\thttp://x/\r\n", L"http://x/"},
        {L"Property(S): InstallHomepageURL = ", L""},
        {L"Property(C): InstallHomepageURL = http://client/", nullptr},
        {L"Property(S): InstallHomepageURL= http://no-space/", nullptr},
        {L"Property(S): ProductName = Lumetra", nullptr},
        {L"Property(S):", nullptr},
        {L"Property(S", nullptr},
        {L"", nullptr},
        {L"Action start 3:12:05: INSTALL.", nullptr},
    };
    for (const Case& c : cases) {
        std::optional<std::wstring> homepage = HomepageFromInfoMessage(c.text);
        if (c.homepage)
            EXPECT_EQ(homepage, std::optional<std::wstring>(c.homepage)) << testing::PrintToString(c.text);
        else
            EXPECT_EQ(homepage, std::nullopt) << testing::PrintToString(c.text);
    }
}

namespace {

// Feeds records to a package's progress and keeps every percent published.
struct ProgressRun {
    std::vector<int32_t> published;
    CPackageProgress progress{[this](int32_t percent) { published.push_back(percent); }};

    bool Feed(const std::wstring& record) { return progress.OnProgressRecord(record); }
    int32_t Last() const { return published.empty() ? -1 : published.back(); }
};

bool IsMonotonic(const std::vector<int32_t>& values) {
    for (size_t i = 1; i < values.size(); ++i) {
        if (values[i] < values[i - 1])
            return false;
    }
    return true;
}

} // namespace

TEST(PackageProgress, ForwardRangeMapsTicksOntoPercent) {
    ProgressRun run;
    EXPECT_TRUE(run.Feed(L"1: 0 2: 1000 3: 0 4: 0 "));
    EXPECT_TRUE(run.published.empty()); // a reset reports nothing by itself
    EXPECT_TRUE(run.Feed(L"1: 2 2: 250 3: 0 4: 0 "));
    EXPECT_EQ(run.Last(), 25);
    EXPECT_TRUE(run.Feed(L"1: 2 2: 500 "));
    EXPECT_EQ(run.Last(), 75);
    // Action information moves by field 2 for each record only when field 3 asks for it.
    EXPECT_TRUE(run.Feed(L"1: 1 2: 100 3: 0 "));
    EXPECT_EQ(run.Last(), 75);
    EXPECT_TRUE(run.Feed(L"1: 1 2: 100 3: 1 "));
    EXPECT_EQ(run.Last(), 85);
    // A range that grows (kind 3) changes nothing shown.
    EXPECT_TRUE(run.Feed(L"1: 3 2: 5000 "));
    EXPECT_EQ(run.published.size(), 3u);
    EXPECT_EQ(run.progress.total_ticks(), 1000);
}

TEST(PackageProgress, PercentNeverGoesDownAcrossResetsAndBackwardRanges) {
    ProgressRun run;
    // First range: half way.
    run.Feed(L"1: 0 2: 200 3: 0 4: 0 ");
    run.Feed(L"1: 2 2: 100 3: 0 4: 0 ");
    EXPECT_EQ(run.Last(), 50);
    // Second reset (the script phase): continues from 50 over what is left.
    run.Feed(L"1: 0 2: 100 3: 0 4: 0 ");
    EXPECT_EQ(run.progress.base_percent(), 50);
    run.Feed(L"1: 2 2: 50 3: 0 4: 0 ");
    EXPECT_EQ(run.Last(), 75);
    // A backwards range starts at its total and decreases; the percent stays at its maximum.
    run.Feed(L"1: 0 2: 1000 3: 1 4: 0 ");
    EXPECT_FALSE(run.progress.forward());
    EXPECT_EQ(run.progress.position(), 1000);
    EXPECT_EQ(run.progress.base_percent(), 75);
    run.Feed(L"1: 2 2: 100 3: 0 4: 0 ");
    EXPECT_EQ(run.progress.position(), 900);
    run.Feed(L"1: 2 2: 600 3: 0 4: 0 ");
    EXPECT_EQ(run.progress.position(), 300);
    EXPECT_EQ(run.progress.max_percent(), 97); // 75 + 0.9 × 25, truncated, reached first
    EXPECT_TRUE(IsMonotonic(run.published)) << testing::PrintToString(run.published);
    // A next package keeps the percent reached and starts a fresh range.
    run.progress.ResetForPackage();
    EXPECT_EQ(run.progress.total_ticks(), 0);
    EXPECT_TRUE(run.progress.forward());
    run.Feed(L"1: 0 2: 10 3: 0 ");
    run.Feed(L"1: 2 2: 10 ");
    EXPECT_EQ(run.Last(), 100);
    EXPECT_TRUE(IsMonotonic(run.published));
}

TEST(PackageProgress, RecordsThatAreNotUnderstoodChangeNothing) {
    const wchar_t* records[] = {
        L"",
        L"1: x 2: 100 ", // field 1 not a digit
        L"1: ",          // field 1 without a value
        L"1",            // cut short
        L"5: 2 ",        // unknown field number
        L"3: 5 9: 1",    // an unknown field after a known one
    };
    for (const wchar_t* record : records) {
        ProgressRun run;
        run.Feed(L"1: 0 2: 100 3: 0 4: 0 ");
        run.Feed(L"1: 2 2: 40 ");
        ASSERT_EQ(run.Last(), 40);
        EXPECT_FALSE(run.Feed(record)) << testing::PrintToString(record);
        EXPECT_EQ(run.Last(), 40);
        EXPECT_EQ(run.published.size(), 1u) << testing::PrintToString(record);
        EXPECT_EQ(run.progress.position(), 40);
        EXPECT_EQ(run.progress.total_ticks(), 100);
    }
}

TEST(PackageProgress, AbsurdFiguresNeitherOverflowNorGoBack) {
    ProgressRun run;
    run.Feed(L"1: 0 2: 1 3: 0 ");
    run.Feed(L"1: 2 2: 2147483647 ");
    run.Feed(L"1: 2 2: 2147483647 ");
    EXPECT_EQ(run.progress.position(), 2147483647);
    run.Feed(L"1: 0 2: 0 3: 0 "); // an empty range: nothing to compute
    run.Feed(L"1: 2 2: 5 ");
    run.Feed(L"1: 0 2: -100 3: 0 ");
    run.Feed(L"1: 2 2: 99999999999999 ");
    EXPECT_TRUE(IsMonotonic(run.published)) << testing::PrintToString(run.published);
}

TEST(PackageProgress, TheAnswerCancelsOnlyRecordsThatWereUnderstood) {
    struct Case {
        const wchar_t* record;
        bool cancelling;
        int answer;
    };
    const Case cases[] = {
        {L"1: 2 2: 10 ", false, 1},
        {L"1: 2 2: 10 ", true, 2},
        {L"1: 0 2: 100 3: 0 ", true, 2},
        {L"1: x 2: 10 ", false, 1},
        {L"1: x 2: 10 ", true, 1}, // field 1 not a digit
        {L"", true, 1},
        {L"7: 1 ", true, 1},
    };
    for (const Case& c : cases) {
        ProgressRun run;
        run.Feed(L"1: 0 2: 100 3: 0 4: 0 ");
        EXPECT_EQ(run.progress.AnswerProgressRecord(c.record, c.cancelling), c.answer)
            << testing::PrintToString(c.record) << (c.cancelling ? " cancelling" : "");
    }
}
