#include "XmlTestSupport.h"

#include <gtest/gtest.h>

// Walks the tree without recursion: deep documents are part of the tests.
std::wstring TreePicture(const XmlDocument& document) {
    std::wstring out;
    int element = document.Element(0).first_child;
    while (element != 0) {
        const XmlElementEntry& entry = document.Element(element);
        out += WideFromXmlText(document.ElementName(element));
        if (entry.flags & kXmlEntryUnended)
            out += L'!';
        if (entry.first_child != 0) {
            out += L'(';
            element = entry.first_child;
            continue;
        }
        // Up until an element with a next sibling, closing a parenthesis per level.
        while (element != 0 && document.Element(element).next_sibling == 0) {
            element = document.Element(element).parent;
            if (element != 0)
                out += L')';
        }
        if (element != 0) {
            out += L' ';
            element = document.Element(element).next_sibling;
        }
    }
    return out;
}

void ExpectConsistentLinks(const XmlDocument& document) {
    int reached = 0;
    for (int parent = 0; parent < document.FreePos(); ++parent) {
        int first = document.Element(parent).first_child;
        if (first == 0)
            continue;
        EXPECT_TRUE(document.Element(first).flags & kXmlEntryFirstChild) << "first child " << first;
        int previous = 0;
        int child = first;
        for (; child != 0; child = document.Element(child).next_sibling) {
            ++reached;
            ASSERT_LE(reached, document.FreePos()) << "sibling chain loops";
            EXPECT_EQ(document.Element(child).parent, parent) << "entry " << child;
            if (child != first) {
                EXPECT_EQ(document.Element(child).prev_sibling, previous) << "entry " << child;
                EXPECT_FALSE(document.Element(child).flags & kXmlEntryFirstChild) << "entry " << child;
            }
            previous = child;
        }
        EXPECT_EQ(document.Element(first).prev_sibling, previous) << "last-child link of " << first;
    }
    EXPECT_EQ(reached, document.FreePos() - 1) << "every element is some element's child";
}
