#pragma once
// The installer's way through a document, retraced over the element index: a search for a
// name among the children of an element starts after the child found last and goes forward
// only. Every element the installer would read is marked, so that the ones it never reads can
// be told apart afterwards.
#include "xml/XmlDocument.h"

#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// An element the installer reads the text of (element 0: absent).
struct LocatedText {
    int element = 0;
    std::wstring text;
};

// An element with named text children (a "product", a "transform", a release section).
struct LocatedRecord {
    int element = 0;
    std::map<std::wstring, LocatedText, std::less<>> fields;

    const LocatedText& Field(std::wstring_view name) const;
};

class CForwardReader {
public:
    explicit CForwardReader(const XmlDocument& document);

    // The first child of `parent` named `name` after the child `after` (0: from the first child).
    int Find(int parent, int after, std::wstring_view name) const;
    // Reads `names` in turn among the children of `record.element`, each search after the child
    // found last, starting after `after`; the last child found, or `after`.
    int ReadFields(LocatedRecord& record, std::span<const std::wstring_view> names, int after = 0);
    int ReadFields(LocatedRecord& record, std::initializer_list<std::wstring_view> names, int after = 0) {
        return ReadFields(record, std::span<const std::wstring_view>(names.begin(), names.size()), after);
    }
    // Marks one element as read with its text.
    LocatedText Take(int element);

    bool IsRead(int element) const { return read_[static_cast<size_t>(element)]; }
    const XmlDocument& Document() const noexcept { return document_; }
    std::wstring NameOf(int element) const;
    // The children of an element in document order.
    std::vector<int> Children(int parent) const;

private:
    const XmlDocument& document_;
    std::vector<bool> read_;
};
