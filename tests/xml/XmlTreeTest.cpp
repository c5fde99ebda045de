// Building the element tree: recovery from lone end tags and unended start tags, scanner errors,
// the well-formedness verdict and the diagnostic log.
#include "XmlTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TreeCase {
    const char* name;
    const wchar_t* document;
    bool well_formed;
    const wchar_t* tree;
    const wchar_t* log;
};

const TreeCase kTreeCases[] = {
    {"well_formed", L"<a><b/>text<c>x</c></a>", true, L"a(b c)", L""},
    {"text_outside_root_allowed", L"text<?pi?><a/><!-- c -->tail", true, L"a", L""},
    {"lone_end_tag", L"<a></b></a>", false, L"a", L"<lone_end_tag tagname=\"b\" offset=\"3\"/>"},
    {"unended_child_stays_child", L"<a><b></a>", false, L"a(b!)",
     L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"},
    {"children_of_unended_become_its_siblings", L"<a><b><c><x/></c></a>", false, L"a(b! c(x))",
     L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"17\"/>"},
    {"nested_unended_flattened_in_document_order", L"<r><a><x/><b><y/></r>", false, L"r(a! x b! y)",
     L"<unended_start_tag tagname=\"b\" offset=\"10\" offset2=\"17\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"17\"/>"},
    {"unended_at_end_of_text", L"<a><b>", false, L"a! b!",
     L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/><root_has_sibling/>"},
    {"end_tag_closes_inner_element_of_same_name", L"<a><b><a></b></a></a>", false, L"a(b(a!))",
     L"<unended_start_tag tagname=\"a\" offset=\"6\" offset2=\"9\"/><lone_end_tag tagname=\"a\" "
     L"offset=\"17\"/>"},
    {"search_below_the_innermost_element", L"<a><b><c></b></c></a>", false, L"a(b(c!))",
     L"<unended_start_tag tagname=\"c\" offset=\"6\" offset2=\"9\"/><lone_end_tag tagname=\"c\" "
     L"offset=\"13\"/>"},
    {"elements_opened_after_a_lone_end_tag", L"<a><x></y><b></b></a>", false, L"a(x! b)",
     L"<lone_end_tag tagname=\"y\" offset=\"6\"/><unended_start_tag tagname=\"x\" offset=\"3\" "
     L"offset2=\"17\"/>"},
    {"names_are_case_sensitive", L"<A></a>", false, L"A!",
     L"<lone_end_tag tagname=\"a\" offset=\"3\"/><unended_start_tag tagname=\"A\" offset=\"0\" "
     L"offset2=\"7\"/>"},
    {"log_escapes_names", L"<a></a&b></a>", false, L"a", L"<lone_end_tag tagname=\"a&amp;b\" offset=\"3\"/>"},
    {"root_has_sibling", L"<a/><b/>", false, L"a b", L"<root_has_sibling/>"},
    {"no_root_element", L"", false, L"", L"<no_root_element/>"},
    {"only_a_comment", L"<!-- c -->", false, L"", L"<no_root_element/>"},
    {"quoted_greater_than_in_empty_element", L"<a b='>'/>", true, L"a", L""},
    {"blank_before_slash", L"<a x='1' />", true, L"a", L""},
    {"line_feed_before_slash", L"<a\n/>", true, L"a", L""},
    {"slash_after_unquoted_value_is_no_empty_tag", L"<a b=c/>", false, L"a!",
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"8\"/>"},
    {"doctype_with_declarations", L"<!DOCTYPE a [<!ELEMENT a ANY><!ATTLIST a x CDATA #IMPLIED>]><a/>", true,
     L"a", L""},
    {"doctype_with_bad_nested_declaration", L"<!DOCTYPE a [<!-- c -->]><a/>", false, L"a",
     L"<doctype_tag_syntax offset=\"13\"/>"},
    {"first_tag_syntax", L"<a>1 < 2</a>", false, L"a", L"<first_tag_syntax offset=\"5\"/>"},
    {"digit_after_less_than", L"<a><1></a>", false, L"a", L"<first_tag_syntax offset=\"3\"/>"},
    {"exclamation_tag_syntax", L"<a><!x></a>", false, L"a", L"<exclamation_tag_syntax offset=\"3\"/>"},
    {"comment_tag_syntax", L"<a><!-x></a>", false, L"a", L"<comment_tag_syntax offset=\"3\"/>"},
    {"cdata_section_syntax", L"<a><![x></a>", false, L"a", L"<cdata_section_syntax offset=\"3\"/>"},
    {"unterminated_start_tag", L"<a", false, L"",
     L"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>"},
    {"unterminated_quote_in_start_tag", L"<a b=\"x></a>", false, L"",
     L"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>"},
    {"unterminated_end_tag", L"<a></a", false, L"a!",
     L"<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>"},
    {"unterminated_comment", L"<a><!-- x</a>", false, L"a!",
     L"<unterminated_tag_syntax type=\"comment\" offset=\"3\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"13\"/>"},
    {"comment_needs_its_own_dashes", L"<a><!--></a>", false, L"a!",
     L"<unterminated_tag_syntax type=\"comment\" offset=\"3\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"12\"/>"},
    {"unterminated_cdata", L"<a><![CDATA[x</a>", false, L"a!",
     L"<unterminated_tag_syntax type=\"cdata_section\" offset=\"3\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"17\"/>"},
    {"unterminated_processing_instruction", L"<a><?pi </a>", false, L"a!",
     L"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"3\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"12\"/>"},
    {"unterminated_document_type", L"<!DOCTYPE a", false, L"",
     L"<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/><no_root_element/>"},
    {"less_than_at_the_end", L"<a><", false, L"a!",
     L"<unterminated_tag_syntax type=\"tag\" offset=\"3\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"4\"/>"},
    {"exclamation_at_the_end", L"<a><!", false, L"a!",
     L"<unterminated_tag_syntax type=\"tag\" offset=\"3\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"5\"/>"},
};

class TreeTable : public ::testing::TestWithParam<TreeCase> {};

TEST_P(TreeTable, BuildsTreeVerdictAndLog) {
    const TreeCase& c = GetParam();
    XmlDocument document;
    EXPECT_EQ(document.LoadFromText(c.document), c.well_formed);
    EXPECT_EQ(TreePicture(document), c.tree);
    EXPECT_EQ(document.ResultLog(), c.log);
    ExpectConsistentLinks(document);
    const XmlElementEntry& entry0 = document.Element(0);
    EXPECT_EQ(entry0.length, static_cast<int>(std::wstring_view(c.document).size()));
    EXPECT_EQ(entry0.first_child, document.FreePos() > 1 ? 1 : 0);
    // The flag covers errors only; the top-level count is judged on its own.
    bool flagged = entry0.flags & kXmlEntryNotWellFormed;
    bool one_root = entry0.first_child != 0 && document.Element(entry0.first_child).next_sibling == 0;
    EXPECT_EQ(!flagged && one_root, c.well_formed);
}

INSTANTIATE_TEST_SUITE_P(Documents, TreeTable, ::testing::ValuesIn(kTreeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ElementEntries, LengthsOfStartAndEndTags) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<a>xy</a  >"));
    const XmlElementEntry& a = document.Element(1);
    EXPECT_EQ(a.start, 0);
    EXPECT_EQ(a.length, 11);
    EXPECT_EQ(a.tag_lengths & kXmlStartTagLengthMask, 3u);
    EXPECT_EQ(a.tag_lengths >> kXmlTagLengthBits, 6u);
    ASSERT_FALSE(document.LoadFromText(L"<r><b/></r>x<c/>"));
    const XmlElementEntry& b = document.Element(2);
    EXPECT_EQ(b.start, 3);
    EXPECT_EQ(b.length, 4);
    EXPECT_EQ(b.tag_lengths, 4u) << "empty-element tag: start-tag length = length, end-tag length 0";
}

TEST(ElementEntries, UnendedElementKeepsOnlyItsStartTag) {
    XmlDocument document;
    ASSERT_FALSE(document.LoadFromText(L"<a><b x='1'>text</a>"));
    const XmlElementEntry& b = document.Element(2);
    EXPECT_TRUE(b.flags & kXmlEntryUnended);
    EXPECT_EQ(b.length, 9);
    EXPECT_EQ(b.tag_lengths, 9u);
    EXPECT_EQ(b.parent, 1);
    EXPECT_FALSE(document.Element(1).flags & kXmlEntryUnended);
    EXPECT_TRUE(document.Element(0).flags & kXmlEntryNotWellFormed);
    ASSERT_TRUE(document.FindElement(L"a"));
    ASSERT_TRUE(document.FindChildElement(L"b"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.ElementText(), L"") << "an unended element has no content";
}

TEST(ElementEntries, NestingLevelsAndFirstChildFlags) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<a><b><c/></b><d/></a>"));
    EXPECT_EQ(document.Element(1).flags & kXmlLevelMask, 1u);
    EXPECT_EQ(document.Element(2).flags & kXmlLevelMask, 2u);
    EXPECT_EQ(document.Element(3).flags & kXmlLevelMask, 3u);
    EXPECT_EQ(document.Element(4).flags & kXmlLevelMask, 2u);
    EXPECT_TRUE(document.Element(2).flags & kXmlEntryFirstChild);
    EXPECT_FALSE(document.Element(4).flags & kXmlEntryFirstChild);
    EXPECT_EQ(document.Element(2).prev_sibling, 4) << "a first child links to the last child";
    EXPECT_EQ(document.Element(4).prev_sibling, 2);
    EXPECT_FALSE(document.Element(0).flags & kXmlEntryNotWellFormed);
}

TEST(ElementEntries, EndTagNamesAreComparedInFull) {
    // Names of every length up to two groups of four characters, differing in their first or their
    // last character, and ending the text.
    for (size_t length = 1; length <= 9; ++length) {
        SCOPED_TRACE(length);
        std::wstring name(length, L'n');
        for (size_t differing : {size_t{0}, length - 1}) {
            std::wstring other = name;
            other[differing] = L'm';
            XmlDocument document;
            EXPECT_FALSE(document.LoadFromText(L"<" + name + L"></" + other + L"></" + name + L">"));
            EXPECT_EQ(document.ResultLog(), L"<lone_end_tag tagname=\"" + other + L"\" offset=\"" +
                                                std::to_wstring(length + 2) + L"\"/>");
        }
        XmlDocument closing;
        EXPECT_TRUE(closing.LoadFromText(L"<" + name + L"></" + name + L">"));
        EXPECT_EQ(closing.Element(1).length, static_cast<int>(2 * length + 5));
    }
}

TEST(ResultLog, StopsTakingEventsAtItsLimit) {
    std::wstring text = L"<a>";
    for (int i = 0; i < 200; ++i)
        text += L"</b>";
    text += L"</a>";
    XmlDocument document;
    EXPECT_FALSE(document.LoadFromText(text));
    const std::wstring& log = document.ResultLog();
    std::wstring_view event = L"<lone_end_tag tagname=\"b\" offset=\"3\"/>";
    EXPECT_GE(log.size(), 1000u);
    EXPECT_LT(log.size(), 1000u + event.size());
    EXPECT_TRUE(log.starts_with(event));
    EXPECT_TRUE(log.ends_with(L"\"/>")) << "the last event is complete";
}

TEST(ResultLog, LongNamesAreShortenedInTheLog) {
    std::wstring name(100000, L'n');
    XmlDocument document;
    EXPECT_FALSE(document.LoadFromText(L"<a></" + name + L"></a>"));
    EXPECT_LT(document.ResultLog().size(), 1000u);
    EXPECT_TRUE(document.ResultLog().starts_with(L"<lone_end_tag tagname=\"nnn"));
}

} // namespace
