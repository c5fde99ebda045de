// The cursor: finding siblings and children by name, entering and leaving elements.
#include "XmlTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::wstring ChildText(XmlDocument& document, const wchar_t* name) {
    if (!document.FindChildElement(name))
        return L"<missing>";
    document.EnterElement();
    std::wstring text = document.ElementText();
    document.LeaveElement();
    return text;
}

TEST(Navigation, NewDocumentHasAnEmptyCursor) {
    XmlDocument document;
    EXPECT_TRUE(document.Text().empty());
    EXPECT_EQ(document.FreePos(), 1);
    EXPECT_FALSE(document.FindElement(L""));
    EXPECT_FALSE(document.FindChildElement(L""));
    EXPECT_FALSE(document.EnterElement());
    EXPECT_FALSE(document.LeaveElement());
}

TEST(Navigation, NamesMatchCaseSensitivelyAndWhole) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<r><abc x='1'/><ab/><a/></r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    EXPECT_FALSE(document.FindChildElement(L"R"));
    EXPECT_FALSE(document.FindChildElement(L"abc x"));
    EXPECT_FALSE(document.FindChildElement(L"A"));
    ASSERT_TRUE(document.FindChildElement(L"ab"));
    EXPECT_EQ(document.ChildPos(), 3) << "ab is not a prefix match of abc";
    ASSERT_TRUE(document.FindChildElement(L"a"));
    EXPECT_EQ(document.ChildPos(), 4);
}

TEST(Navigation, FindElementDoesNotMatchOtherLetterCase) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<a/>"));
    EXPECT_FALSE(document.FindElement(L"A"));
    EXPECT_EQ(document.CurrentPos(), 0);
    EXPECT_TRUE(document.FindElement(L"a"));
    EXPECT_EQ(document.NodeKind(), 1);
}

TEST(Navigation, FindChildElementContinuesAfterTheCurrentChild) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<r><x>1</x><y>2</y><x>3</x></r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    EXPECT_EQ(ChildText(document, L"x"), L"1");
    EXPECT_EQ(ChildText(document, L"x"), L"3");
    int child = document.ChildPos();
    EXPECT_FALSE(document.FindChildElement(L"x"));
    EXPECT_EQ(document.ChildPos(), child) << "a failed search leaves the cursor";
    EXPECT_FALSE(document.FindChildElement(L"y")) << "y lies before the current child";
}

TEST(Navigation, FindElementWalksSiblings) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<r><x>1</x><y>2</y><x>3</x></r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    ASSERT_TRUE(document.FindChildElement(L"x"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.ElementText(), L"1");
    ASSERT_TRUE(document.FindElement(L"x"));
    EXPECT_EQ(document.ElementText(), L"3");
    EXPECT_EQ(WideFromXmlText(document.ElementName(document.ParentPos())), L"r");
    EXPECT_FALSE(document.FindElement(L"y"));
    EXPECT_EQ(document.ElementText(), L"3");
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(WideFromXmlText(document.ElementName(document.CurrentPos())), L"r");
    EXPECT_FALSE(document.LeaveElement()) << "top level";
}

TEST(Navigation, EnterWithoutChildThenFindAmongChildren) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<r><x>1</x><y>2</y></r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.CurrentPos(), 0);
    EXPECT_EQ(document.NodeKind(), 0);
    EXPECT_EQ(document.ElementText(), L"");
    ASSERT_TRUE(document.FindElement(L"y"));
    EXPECT_EQ(document.ElementText(), L"2");
    EXPECT_FALSE(document.EnterElement() && document.EnterElement())
        << "no current element after entering leaf";
}

TEST(Navigation, FindChildElementWithoutCurrentTakesTheFirstElement) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<manifest><product>p</product></manifest>"));
    EXPECT_EQ(ChildText(document, L"product"), L"p");
    EXPECT_EQ(WideFromXmlText(document.ElementName(document.CurrentPos())), L"manifest");
}

TEST(Navigation, EmptyNameMatchesTheFirstCandidate) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<r><x/><y/></r>"));
    ASSERT_TRUE(document.FindElement(L""));
    ASSERT_TRUE(document.FindChildElement(L""));
    EXPECT_EQ(WideFromXmlText(document.ElementName(document.ChildPos())), L"x");
    ASSERT_TRUE(document.FindChildElement(L""));
    EXPECT_EQ(WideFromXmlText(document.ElementName(document.ChildPos())), L"y");
}

TEST(Navigation, RecoveredChildrenAreFoundUnderTheNewParent) {
    XmlDocument document;
    EXPECT_FALSE(document.LoadFromText(L"<r><a><x>1</x></r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    EXPECT_EQ(ChildText(document, L"x"), L"1");
}

TEST(Navigation, LoadResetsTheCursor) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromText(L"<r><x/></r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    ASSERT_TRUE(document.FindChildElement(L"x"));
    ASSERT_TRUE(document.LoadFromText(L"<s/>"));
    EXPECT_EQ(document.CurrentPos(), 0);
    EXPECT_EQ(document.ChildPos(), 0);
    EXPECT_EQ(document.ParentPos(), 0);
    EXPECT_TRUE(document.FindElement(L"s"));
}

} // namespace
