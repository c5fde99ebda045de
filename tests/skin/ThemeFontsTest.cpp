#include "skin/ThemeFonts.h"

#include "skin/ScreenDpi.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ThemeFonts, AreCreatedAsTheThemeNamesThemAndDestroyed) {
    CreateThemeFonts();
    const struct {
        const nvx::UniqueFont& font;
        const wchar_t* face;
        int size;
        LONG weight;
        BYTE underline;
    } fonts[] = {
        {theThemeFonts.font_body, L"Tahoma", 14, FW_NORMAL, FALSE},
        {theThemeFonts.font_link, L"Tahoma", 14, FW_NORMAL, TRUE},
        {theThemeFonts.font_button, L"Tahoma", 18, FW_NORMAL, FALSE},
        {theThemeFonts.font_title, L"Arial", 32, FW_BOLD, FALSE},
    };
    for (const auto& f : fonts) {
        SCOPED_TRACE(testing::Message() << f.size);
        ASSERT_TRUE(f.font);
        LOGFONTW font{};
        ASSERT_EQ(::GetObjectW(f.font.get(), sizeof(font), &font), static_cast<int>(sizeof(font)));
        EXPECT_EQ(std::wstring(font.lfFaceName), f.face);
        EXPECT_EQ(font.lfHeight, ScaleX(f.size)); // positive: cell height
        EXPECT_EQ(font.lfWeight, f.weight);
        EXPECT_EQ(font.lfUnderline, f.underline);
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
    }
    DestroyThemeFonts();
    for (const auto& f : fonts)
        EXPECT_FALSE(f.font);
}

} // namespace
