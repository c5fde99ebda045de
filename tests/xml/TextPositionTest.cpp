// Lines and columns of offsets in a document's text: every kind of line end, and characters
// beyond 16 bits counted once.
#include "xml/TextPosition.h"
#include "xml/XmlDocument.h"
#include "tests/xml/XmlTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct PositionCase {
    std::u16string_view text;
    size_t offset;
    int line;
    int column;
};

TEST(XmlTextPosition, CountsLinesAndColumnsForEveryLineEnd) {
    const PositionCase cases[] = {
        {u"<a/>", 0, 1, 1},
        {u"<a/>", 3, 1, 4},
        {u"<a>\n<b/>", 4, 2, 1},        // LF
        {u"<a>\r\n  <b/>", 7, 2, 3},    // CR LF is one line end
        {u"<a>\r<b/>\r<c/>", 9, 3, 1},  // a lone CR ends a line too
        {u"<a>\n\n\n<b/>", 6, 4, 1},    // empty lines
        {u"x\U0001D11Ey<b/>", 4, 1, 4}, // a surrogate pair is one character
        {u"<a/>", 99, 1, 5},            // beyond the end: the end
    };
    for (const PositionCase& c : cases) {
        XmlText text(c.text.begin(), c.text.end());
        XmlTextPosition at = CXmlLineStarts(text).Locate(c.offset);
        EXPECT_EQ(at.line, c.line) << "offset " << c.offset;
        EXPECT_EQ(at.column, c.column) << "offset " << c.offset;
    }
}

TEST(XmlTextPosition, PlacesElementsOfALoadedDocument) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(Utf16(u"<?xml version=\"1.0\"?>\r\n<root>\r\n\t<child/>\r\n</root>")));
    CXmlLineStarts lines(document.Text());
    ASSERT_TRUE(document.FindElement(L"root"));
    ASSERT_TRUE(document.FindChildElement(L"child"));
    XmlTextPosition root = lines.Locate(static_cast<size_t>(document.Element(document.CurrentPos()).start));
    XmlTextPosition child = lines.Locate(static_cast<size_t>(document.Element(document.ChildPos()).start));
    EXPECT_EQ(root.line, 2);
    EXPECT_EQ(root.column, 1);
    EXPECT_EQ(child.line, 3);
    EXPECT_EQ(child.column, 2);
}

TEST(XmlTextPosition, ElementTextAtAnswersAsElementTextDoes) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<r><a>x &amp; y</a><b><c/></b><d/></r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    for (const wchar_t* name : {L"a", L"b", L"d"}) {
        ASSERT_TRUE(document.FindChildElement(name));
        int child = document.ChildPos();
        ASSERT_TRUE(document.EnterElement());
        EXPECT_EQ(document.ElementTextAt(child), document.ElementText()) << name;
        ASSERT_TRUE(document.LeaveElement());
    }
    EXPECT_EQ(document.ElementTextAt(0), L"");
}

} // namespace
