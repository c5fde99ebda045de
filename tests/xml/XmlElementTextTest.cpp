// Text content of an element: joining of text nodes, CDATA, and reference decoding.
#include "XmlTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* name;
    const char16_t* content; // between <a> and </a>
    const char16_t* expected;
};

const TextCase kTextCases[] = {
    {"plain_text", u"x", u"x"},
    {"child_element_gives_nothing", u"x<b/>y", u""},
    {"text_nodes_joined_comment_dropped", u" x <!--c--> y ", u" x  y "},
    {"blank_runs_dropped_next_to_cdata", u" <![CDATA[1<2]]> ", u"1<2"},
    {"blank_only_content_kept", u"  \t ", u"  \t "},
    {"processing_instruction_dropped", u"a<?pi x?>b", u"ab"},
    {"cdata_not_decoded", u"<![CDATA[&amp;]]>", u"&amp;"},
    {"cdata_with_brackets_inside", u"<![CDATA[a]]b]]>", u"a]]b"},
    {"text_around_cdata_decoded", u"&lt;<![CDATA[&lt;]]>&gt;", u"<&lt;>"},
    {"only_a_comment", u"<!--only-->", u""},
    {"four_references", u"&lt;&amp;&#65;&#x42;", u"<&AB"},
    {"name_in_capitals", u"&AMP;", u"&"},
    {"hex_marker_in_capitals", u"&#X42;", u"B"},
    {"zero_stays", u"&#0;", u"&#0;"},
    {"no_digits_stays", u"&#;&#x;", u"&#;&#x;"},
    {"empty_name_stays", u"&;", u"&;"},
    {"unknown_name_stays", u"&nosuch;", u"&nosuch;"},
    {"no_semicolon_stays", u"&nbsp x", u"&nbsp x"},
    {"failed_reference_continues_after_ampersand", u"&a&amp;", u"&a&"},
    {"apos", u"&apos;&quot;", u"'\""},
    {"nbsp", u"&nbsp;", u"\u00a0"},
    {"eight_letter_name", u"&thetasym;", u"\u03d1"},
    {"nine_characters_before_semicolon", u"&#00000065;", u"A"},
    {"ten_characters_before_semicolon_stays", u"&#000000065;", u"&#000000065;"},
    {"non_ascii_in_name_stays", u"&\u00e9;", u"&\u00e9;"},
    {"surrogate_pair", u"&#x1F600;", u"\U0001F600"},
    {"largest_code_point", u"&#x10FFFF;", u"\U0010FFFF"},
    {"beyond_unicode_stays", u"&#x110000;", u"&#x110000;"},
    {"negative_stays", u"&#-65;", u"&#-65;"},
    {"digits_read_as_strtol_reads_them", u"&#65x;", u"A"},
    {"reference_at_the_very_end", u"x&amp;", u"x&"},
    {"ampersand_at_the_very_end", u"x&", u"x&"},
    {"spelling_decides_between_two_cases", u"&eacute;&Eacute;&dagger;&Dagger;", u"\u00e9\u00c9\u2020\u2021"},
    {"arrows_differ_in_second_letter", u"&larr;&lArr;", u"\u2190\u21d0"},
    {"all_capitals_follow_the_first_letter", u"&EACUTE;&LARR;&OELIG;", u"\u00c9\u2190\u0152"},
    {"lower_case_spelling_of_mixed_name", u"&oelig;&yuml;&Yuml;", u"\u0153\u00ff\u0178"},
    {"stray_less_than_swallows_up_to_next_tag", u"1 < 2", u"1 "},
    {"white_space_never_trimmed", u"\r\n x \r\n", u"\r\n x \r\n"},
};

class ElementTextTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(ElementTextTable, GivesTheContent) {
    const TextCase& c = GetParam();
    XmlDocument document;
    document.LoadFromText(L"<a>" + Utf16(c.content) + L"</a>");
    ASSERT_TRUE(document.FindElement(L"a"));
    EXPECT_EQ(document.ElementText(), Utf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Contents, ElementTextTable, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ElementText, EmptyForNoCurrentElementAndEmptyElementTag) {
    XmlDocument document;
    EXPECT_EQ(document.ElementText(), L"");
    ASSERT_TRUE(document.LoadFromText(L"<a/>"));
    EXPECT_EQ(document.ElementText(), L"");
    ASSERT_TRUE(document.FindElement(L"a"));
    EXPECT_EQ(document.ElementText(), L"");
}

TEST(ElementText, ElementWithAttributesAndLongEndTag) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<a x=\"1>2\" y='\"'>v&amp;w</a   >"));
    ASSERT_TRUE(document.FindElement(L"a"));
    EXPECT_EQ(document.ElementText(), L"v&w");
}

TEST(ElementText, ChildTextPatternKeepsTheCursor) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<r><x>1</x><y>2</y></r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    ASSERT_TRUE(document.FindChildElement(L"y"));
    int child = document.ChildPos();
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.ElementText(), L"2");
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(document.ChildPos(), child);
    EXPECT_EQ(WideFromXmlText(document.ElementName(document.CurrentPos())), L"r");
    EXPECT_EQ(document.ParentPos(), 0);
}

} // namespace
