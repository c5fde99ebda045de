// Where the slides are looked for, and which regions start with the terms unaccepted.
#include "localization/SlideContent.h"

#include <gtest/gtest.h>

namespace {

TEST(SlideContent, FolderFollowsLanguageAndSnappedDpi) {
    const struct {
        int language;
        int snapped_dpi;
        const wchar_t* expected;
    } cases[] = {
        {1033, 96, L"C:\\setup\\language\\1033\\slidesPro\\100\\"},
        {1033, 110, L"C:\\setup\\language\\1033\\slidesPro\\100\\"},
        {1033, 120, L"C:\\setup\\language\\1033\\slidesPro\\125\\"},
        {1031, 144, L"C:\\setup\\language\\1031\\slidesPro\\150\\"},
        {1031, 168, L"C:\\setup\\language\\1031\\slidesPro\\150\\"},
        {2052, 192, L"C:\\setup\\language\\2052\\slidesPro\\200\\"},
        {2052, 288, L"C:\\setup\\language\\2052\\slidesPro\\200\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SlideFolder(L"C:\\setup\\language\\", c.language, c.snapped_dpi), c.expected)
            << c.language << " at " << c.snapped_dpi;
}

TEST(SlideContent, NationValueIsReadAsTheCLibraryReadsIt) {
    const struct {
        const wchar_t* nation;
        int expected;
    } cases[] = {
        {L"94", 94}, {L"244", 244}, {L"", 0}, {L"abc", 0}, {L"  39", 39}, {L"122x", 122}, {L"99999999999", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseGeoId(c.nation), c.expected)
            << "\"" << testing::PrintToString(std::wstring(c.nation)) << "\"";
}

TEST(SlideContent, ConsentRegionsAreTheThirtyListed) {
    const int consent[] = {122, 39,  14,  21,  35, 108, 59,  75,  61,  70,  84,  94,  98,  109, 68,
                           118, 140, 141, 147, 77, 163, 176, 191, 193, 200, 143, 212, 217, 221, 242};
    for (int geo_id : consent)
        EXPECT_TRUE(IsConsentGeoId(geo_id)) << geo_id;
    int others = 0;
    for (int geo_id = -1; geo_id < 400; ++geo_id)
        others += IsConsentGeoId(geo_id) ? 1 : 0;
    EXPECT_EQ(others, 30) << "regions outside the list count as consent regions";
    for (int geo_id : {0, 244, 45, 223})
        EXPECT_FALSE(IsConsentGeoId(geo_id)) << geo_id; // none, United States, China, Switzerland
}

} // namespace
