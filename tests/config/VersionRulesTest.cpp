// Four-part versions and the install decision built on them.
#include "config/TextRules.h"
#include "config/VersionRules.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct DecimalCase {
    const wchar_t* text;
    int32_t expected;
};

TEST(DecimalTextToInt, ReadsLikeTheCLibraryAndClampsHugeValues) {
    const DecimalCase cases[] = {
        {L"1031", 1031},
        {L"12ab", 12},
        {L"abc", 0},
        {L"", 0},
        {L"  \t42", 42},
        {L"-7", -7},
        {L"+8x", 8},
        {L"- 8", 0},
        {L"0x10", 0},
        {L"2147483647", INT_MAX},
        {L"2147483648", INT_MAX},
        {L"-2147483648", INT_MIN},
        {L"-99999999999999999999999", INT_MIN},
        {L"99999999999999999999999999999999", INT_MAX},
    };
    for (const DecimalCase& c : cases)
        EXPECT_EQ(DecimalTextToInt(c.text), c.expected)
            << "text \"" << testing::PrintToString(c.text) << "\"";
}

struct ParseCase {
    const wchar_t* text;
    VersionNumber expected;
};

TEST(ParseVersion, GivesFourNumbersOrAllZeros) {
    const ParseCase cases[] = {
        {L"17.0.5.100", {17, 0, 5, 100}},
        {L"1.2.3.4", {1, 2, 3, 4}},    // exactly seven characters
        {L"1.2.3.", {}},               // shorter than seven
        {L"17.0.0", {}},               // three numbers
        {L"17.0.0.1.2", {}},           // five numbers
        {L"17..0.0.1", {17, 0, 0, 1}}, // empty pieces are skipped
        {L".17.0.0.1.", {17, 0, 0, 1}},
        {L"17.0.12b.x", {17, 0, 12, 0}}, // pieces convert like decimal text
        {L"-1.0.0.0000", {4294967295u, 0, 0, 0}},
        {L"abcdefgh", {}},
        {L"", {}},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(ParseVersion(c.text), c.expected) << testing::PrintToString(c.text);
}

struct NewerCase {
    const wchar_t* candidate;
    const wchar_t* reference;
    bool newer;
};

TEST(IsNewerVersion, ComparesFirstSecondAndFourthOnly) {
    const NewerCase cases[] = {
        {L"17.0.0.101", L"17.0.0.100", true},
        {L"17.0.5.100", L"17.0.0.100", false}, // third number ignored, fourth equal
        {L"17.0.0.200", L"17.1.0.100", false}, // second number lower
        {L"17.0.0.200", L"16.9.0.100", false}, // first numbers differ
        {L"17.0.0.1", L"17.0.0", false},       // reference parses as zeros
        {L"1.0.0.6", L"1.0.0.5", true},
        {L"1.0.0.5", L"1.0.0.5", false},
        {L"2.0.0.9", L"1.0.0.5", false},
        {L"17.2.0.101", L"17.1.9.100", true},                // second higher, third lower: still newer
        {L"17.1.0.99", L"17.0.0.100", false},                // second higher but fourth lower
        {L"17.0.0.4294967295", L"17.0.0.2147483647", false}, // clamped pieces are equal
        {L"0.0.0.0", L"garbage", false},
    };
    for (const NewerCase& c : cases)
        EXPECT_EQ(IsNewerVersion(c.candidate, c.reference), c.newer)
            << testing::PrintToString(c.candidate) << " vs " << testing::PrintToString(c.reference);
}

struct StateCase {
    const char* name;
    bool installed;
    bool standalone;
    const wchar_t* installed_version;
    const wchar_t* standalone_version;
    const wchar_t* own_version;
    const wchar_t* fresh_minimum;
    const wchar_t* patch_minimum;
    VersionCheckResult expected;
};

TEST(EvaluateVersionState, FollowsTheDecisionTable) {
    using R = VersionCheckResult;
    const StateCase cases[] = {
        {"fresh, own version new enough", false, false, L"", L"", L"1.0.0.5", L"1.0.0.5", L"9.9.9.9",
         R::Proceed},
        {"fresh, own version too old", false, false, L"", L"", L"1.0.0.5", L"1.0.0.6", L"", R::ClientTooOld},
        {"fresh, minimum of another major", false, false, L"", L"", L"1.0.0.5", L"2.0.0.9", L"", R::Proceed},
        {"fresh, patch minimum not used", false, false, L"", L"", L"1.0.0.5", L"", L"1.0.0.6", R::Proceed},
        {"fresh standalone never too old", false, true, L"", L"", L"1.0.0.5", L"1.0.0.6", L"1.0.0.6",
         R::Proceed},
        {"installed, update newer", true, false, L"17.0.0.100", L"17.0.0.101", L"1.0.0.5", L"", L"",
         R::Proceed},
        {"installed, update not newer", true, false, L"17.0.0.100", L"17.0.5.100", L"1.0.0.5", L"", L"",
         R::AlreadyInstalled},
        {"installed, update newer, client too old", true, false, L"17.0.0.100", L"17.0.0.101", L"1.0.0.5",
         L"", L"1.0.0.6", R::ClientTooOld},
        {"installed, fresh minimum not used", true, false, L"17.0.0.100", L"17.0.0.101", L"1.0.0.5",
         L"1.0.0.6", L"", R::Proceed},
        {"installed, unreadable update version", true, false, L"17.0.0.100", L"", L"1.0.0.5", L"", L"",
         R::AlreadyInstalled},
        {"installed standalone, newer", true, true, L"17.0.0.100", L"17.0.0.101", L"1.0.0.5", L"1.0.0.6",
         L"1.0.0.6", R::Proceed},
        {"installed standalone, not newer", true, true, L"17.0.0.100", L"17.0.0.100", L"1.0.0.5", L"", L"",
         R::AlreadyInstalled},
    };
    for (const StateCase& c : cases) {
        ManifestInfo manifest;
        manifest.standalone = c.standalone;
        manifest.standalone_version = c.standalone_version;
        manifest.web_installer_version = c.own_version;
        manifest.fresh_install.min_web_installer_version = c.fresh_minimum;
        manifest.patch_install.min_web_installer_version = c.patch_minimum;
        EXPECT_EQ(EvaluateVersionState(manifest, c.installed_version, c.installed), c.expected) << c.name;
    }
}

} // namespace

namespace {

// The log says why: the comparison behind each verdict, with the rule that surprises (a minimum
// of another first number never counts as newer).
TEST(DecideVersionState, NamesTheComparisonBehindTheVerdict) {
    using R = VersionCheckResult;
    const struct {
        const char* name;
        bool installed;
        const wchar_t* installed_version;
        const wchar_t* offered;
        const wchar_t* fresh_minimum;
        const wchar_t* patch_minimum;
        R expected;
        const wchar_t* reason_part;
    } cases[] = {
        {"minimum of another first number", false, L"", L"", L"9.0.0.0", L"", R::Proceed,
         L"9.0.0.0 is not newer than 1.0.0.5: the first numbers differ, which never counts as newer"},
        {"minimum newer", false, L"", L"", L"1.0.0.6", L"", R::ClientTooOld,
         L"1.0.0.6 is newer than 1.0.0.5"},
        {"minimum not four numbers", false, L"", L"", L"1.0", L"", R::Proceed,
         L"1.0 is not newer than 1.0.0.5: not four numbers"},
        {"update only in the third number", true, L"17.0.0.100", L"17.0.5.100", L"", L"", R::AlreadyInstalled,
         L"17.0.5.100 is not newer than 17.0.0.100: the fourth number is not higher"},
        {"update with a lower second number", true, L"17.1.0.100", L"17.0.0.101", L"", L"",
         R::AlreadyInstalled, L"the second number is lower"},
        {"update too new for this installer", true, L"17.0.0.100", L"17.0.0.101", L"", L"1.0.0.6",
         R::ClientTooOld,
         L"17.0.0.101 is newer than 17.0.0.100); the update's minimum installer version against this "
         L"installer's: "
         L"1.0.0.6 is newer than 1.0.0.5"},
    };
    for (const auto& c : cases) {
        ManifestInfo manifest;
        manifest.web_installer_version = L"1.0.0.5";
        manifest.standalone_version = c.offered;
        manifest.fresh_install.min_web_installer_version = c.fresh_minimum;
        manifest.patch_install.min_web_installer_version = c.patch_minimum;
        const VersionVerdict verdict = DecideVersionState(manifest, c.installed_version, c.installed);
        EXPECT_EQ(verdict.result, c.expected) << c.name;
        EXPECT_NE(verdict.reason.find(c.reason_part), std::wstring::npos)
            << c.name << ": " << testing::PrintToString(verdict.reason);
    }
}

} // namespace
