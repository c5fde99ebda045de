// Hostile and broken documents: deep nesting, very many elements, very long tags, broken
// encodings. Each must load without a crash and with the verdict and log the rules give.
#include "XmlTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr int kDeep = 100000;
constexpr int kSiblings = 1000000;

std::wstring Repeat(std::wstring_view piece, int count) {
    std::wstring out;
    out.reserve(piece.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        out += piece;
    return out;
}

TEST(BadInput, DeepNestingClosedProperly) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(Repeat(L"<a>", kDeep) + L"deep" + Repeat(L"</a>", kDeep)));
    ASSERT_TRUE(document.FindElement(L"a"));
    int depth = 1;
    while (document.FindChildElement(L"a") && document.EnterElement())
        ++depth;
    EXPECT_EQ(depth, kDeep);
    EXPECT_EQ(document.ElementText(), L"deep");
    EXPECT_EQ(document.Element(document.CurrentPos()).flags & kXmlLevelMask, kXmlLevelMask)
        << "levels beyond 16 bits stay at the highest";
    ExpectConsistentLinks(document);
}

TEST(BadInput, DeepNestingNeverClosed) {
    XmlDocument document;
    EXPECT_FALSE(document.LoadFromText(Repeat(L"<a><b>", kDeep / 2)));
    // Every element was closed implicitly, so all of them end up side by side at the top level.
    int count = 0;
    for (int child = document.Element(0).first_child; child != 0;
         child = document.Element(child).next_sibling) {
        EXPECT_TRUE(document.Element(child).flags & kXmlEntryUnended);
        ++count;
    }
    EXPECT_EQ(count, kDeep);
    EXPECT_LT(document.ResultLog().size(), 1200u);
    EXPECT_TRUE(document.ResultLog().starts_with(L"<unended_start_tag tagname=\"b\""));
    ExpectConsistentLinks(document);
}

TEST(BadInput, DeepNestingClosedByTheOutermostEndTag) {
    XmlDocument document;
    EXPECT_FALSE(document.LoadFromText(L"<r>" + Repeat(L"<a>", kDeep) + L"</r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    int count = 0;
    while (document.FindChildElement(L"a"))
        ++count;
    EXPECT_EQ(count, kDeep);
    ExpectConsistentLinks(document);
}

TEST(BadInput, ManyLoneEndTagsUnderDeepNesting) {
    XmlDocument document;
    EXPECT_FALSE(document.LoadFromText(Repeat(L"<a><b>", kDeep / 2) + Repeat(L"</c>", kDeep) +
                                       Repeat(L"</b></a>", kDeep / 2)));
    EXPECT_TRUE(document.ResultLog().starts_with(L"<lone_end_tag tagname=\"c\""));
    EXPECT_EQ(TreePicture(document).substr(0, 12), L"a(b(a(b(a(b(");
}

TEST(BadInput, MillionSiblings) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<r>" + Repeat(L"<i>x</i>", kSiblings) + L"</r>"));
    EXPECT_EQ(document.FreePos(), kSiblings + 2);
    ASSERT_TRUE(document.FindElement(L"r"));
    int count = 0;
    while (document.FindChildElement(L"i"))
        ++count;
    EXPECT_EQ(count, kSiblings);
    ExpectConsistentLinks(document);
}

TEST(BadInput, HugeAttributeValueAndLongEndTag) {
    // A start tag longer than its 22-bit field and an end tag longer than its 10-bit field.
    std::wstring value(5000000, L'v');
    std::wstring text = L"<r><a x=\"" + value + L"\">inner &amp; text</a" + std::wstring(2000, L' ') +
                        L"><b y='" + value + L"'/></r>";
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(text));
    ASSERT_TRUE(document.FindElement(L"r"));
    ASSERT_TRUE(document.FindChildElement(L"a"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.ElementText(), L"inner & text");
    ASSERT_TRUE(document.LeaveElement());
    ASSERT_TRUE(document.FindChildElement(L"b"));
    EXPECT_EQ(document.Element(document.ChildPos()).length, static_cast<int>(value.size() + 9));
}

TEST(BadInput, UnendedElementWithLongStartTag) {
    std::wstring value(5000000, L'v');
    XmlDocument document;
    EXPECT_FALSE(document.LoadFromText(L"<r><a x='" + value + L"'>text</r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    ASSERT_TRUE(document.FindChildElement(L"a"));
    EXPECT_EQ(document.Element(document.ChildPos()).length, static_cast<int>(value.size() + 8));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.ElementText(), L"");
}

TEST(BadInput, UnterminatedConstructsSwallowTheRest) {
    for (const wchar_t* opening : {L"<!--", L"<![CDATA[", L"<?pi", L"<a \""}) {
        XmlDocument document;
        EXPECT_FALSE(document.LoadFromText(L"<r>" + std::wstring(opening) + Repeat(L"<x>y</x>", 100000)));
        EXPECT_EQ(document.FreePos(), 2) << "nothing after the opening is a tag";
        EXPECT_NE(document.ResultLog().find(L"unterminated_tag_syntax"), std::wstring::npos);
    }
}

TEST(BadInput, ManySyntaxErrors) {
    XmlDocument document;
    EXPECT_FALSE(document.LoadFromText(L"<r>" + Repeat(L"<<!x<![y<!-z< ", 200000) + L"</r>"));
    EXPECT_TRUE(document.FindElement(L"r"));
    EXPECT_TRUE(document.ResultLog().starts_with(L"<first_tag_syntax offset=\"3\"/>"));
}

TEST(BadInput, BrokenEncodingsLoad) {
    struct Bytes {
        const char* name;
        std::string bytes;
        const char16_t* root_text;
    };
    const Bytes cases[] = {
        {"invalid_utf8", std::string("<a>\xC3\x28\xA0\xA1\xE2\x28\xA1\xF0\x28\x8C\xBC\xFF</a>"), nullptr},
        {"truncated_utf8", std::string("<a>x</a>\xE2\x82"), u"x"},
        {"odd_utf16", std::string("\xFF\xFE<\0a\0>\0x\0<\0/\0a\0>\0\x01", 19), u"x"},
        {"only_a_bom", std::string("\xFE\xFF"), nullptr},
        {"nul_bytes_everywhere", std::string("\0<\0a\0>\0x\0<\0/\0a\0>\0", 18), u"x"},
        {"utf16_surrogate_halves", std::string("\xFF\xFE<\0a\0>\0\x00\xD8\x00\xDC\x00\xDC<\0/\0a\0>\0", 22),
         nullptr},
        {"utf32_little_endian", std::string("\xFF\xFE\0\0<\0\0\0a\0\0\0/\0\0\0>\0\0\0", 20), nullptr},
    };
    for (const Bytes& c : cases) {
        XmlDocument document;
        document.LoadFromBytes(c.bytes);
        if (c.root_text != nullptr) {
            ASSERT_TRUE(document.FindElement(L"a")) << c.name;
            EXPECT_EQ(document.ElementText(), Utf16(c.root_text)) << c.name;
        }
        EXPECT_NE(document.ResultLog().find(L"<read "), std::wstring::npos) << c.name;
    }
}

TEST(BadInput, InvalidUtf8BecomesReplacementCharacters) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromBytes(std::string("<a>\xC3\x28\xE2\x82\xAC\xFF</a>")));
    ASSERT_TRUE(document.FindElement(L"a"));
    EXPECT_EQ(document.ElementText(), Utf16(u"\ufffd(\u20ac\ufffd"));
}

} // namespace
