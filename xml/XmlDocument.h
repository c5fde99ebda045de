#pragma once
// A whole XML document in memory as one UTF-16 text (see XmlText.h) plus an index of its
// elements, with a cursor that moves over the element tree by name. Tolerant: problems go to a
// diagnostic log and parsing goes on; a separate well-formedness verdict decides whether loading
// succeeds.
#include "xml/ElementIndex.h"
#include "xml/NodeScanner.h"

#include <string>
#include <string_view>

class XmlDocument {
public:
    XmlDocument();

    // Reads the file as text (see TextFile.h), parses it and resets the cursor. True when the
    // file could be read and the document is well-formed.
    [[nodiscard]] bool Load(const std::wstring& path);
    // The same for a file's bytes already in memory.
    bool LoadFromBytes(std::string_view bytes);
    // Parses a text directly (no decoding, no reading events).
    bool LoadFromText(std::wstring text);

    // Next sibling of the current element with that name; with no current element, the first
    // child of the parent level with that name. An empty name matches any element.
    bool FindElement(std::wstring_view name);
    // Next child of the current element (after the current child) with that name.
    bool FindChildElement(std::wstring_view name);
    // The current element becomes the parent, the current child the current element.
    bool EnterElement();
    // Back to the parent's level; false at the top level.
    bool LeaveElement();
    // The text of the current element's first child with that name, wherever it stands among
    // the children; the cursor does not move. False when there is no such child.
    bool PeekChildText(std::wstring_view name, std::wstring& text) const {
        if (current_pos_ == 0)
            return false;
        for (int child = elements_[current_pos_].first_child; child != 0;
             child = elements_[child].next_sibling) {
            if (NameMatches(child, name)) {
                text = ElementTextAt(child);
                return true;
            }
        }
        return false;
    }
    // Text content of the current element: empty for none, an empty-element tag, or an element
    // with child elements; otherwise text with references decoded and CDATA taken as it is.
    std::wstring ElementText() const { return ElementTextAt(current_pos_); }
    // The same for any element of the index (0: none), wherever the cursor is.
    std::wstring ElementTextAt(int index) const {
        if (index == 0)
            return {};
        const XmlElementEntry& entry = elements_[index];
        // Child elements, or no end tag (an empty-element tag, or one never ended): no text.
        if (entry.first_child != 0 || (entry.tag_lengths >> kXmlTagLengthBits) == 0)
            return {};
        return ContentText(index);
    }

    const XmlText& Text() const noexcept { return text_; }
    const std::wstring& ResultLog() const noexcept { return result_log_; }
    int Flags() const noexcept { return flags_; }
    int ParentPos() const noexcept { return parent_pos_; }
    int CurrentPos() const noexcept { return current_pos_; }
    int ChildPos() const noexcept { return child_pos_; }
    int FreePos() const noexcept { return elements_.FreePos(); }
    int NodeKind() const noexcept { return node_kind_; }
    const XmlElementEntry& Element(int index) const noexcept { return elements_[index]; }
    // Name of an element, in place inside the text.
    XmlTextView ElementName(int index) const noexcept;
    // Bytes held by the element index (for memory measurements).
    size_t IndexBytes() const noexcept { return elements_.AllocatedBytes(); }

private:
    [[nodiscard]] bool LoadFile(const std::wstring& path);
    [[nodiscard]] bool Parse();
    void Clear();
    void ResetCursor() noexcept;
    bool NameMatches(int index, std::wstring_view name) const noexcept;
    int StartTagLength(int index) const noexcept;
    int EndTagLength(int index) const noexcept;
    std::wstring ContentText(int index) const;

    XmlText text_;
    std::wstring result_log_;
    int parent_pos_ = 0;
    int current_pos_ = 0;
    int child_pos_ = 0;
    int node_kind_ = 0;
    int flags_ = 0;
    CElementIndex elements_;
    XmlLongTagLengths long_tags_;
};

// Navigation is inline: a walk over a document calls it once or twice per element.

inline bool XmlDocument::NameMatches(int index, std::wstring_view name) const noexcept {
    if (name.empty())
        return true;
    size_t name_start = static_cast<size_t>(elements_[index].start) + 1;
    // The element's name ends at the first delimiter, so the wanted name must be followed by one
    // in the text and contain none itself.
    if (name_start + name.size() >= text_.size())
        return false;
    const XmlChar* candidate = text_.data() + name_start;
    for (size_t i = 0; i < name.size(); ++i) {
        if (static_cast<wchar_t>(candidate[i]) != name[i] || IsXmlNameDelimiter(candidate[i]))
            return false;
    }
    return IsXmlNameDelimiter(candidate[name.size()]);
}

inline bool XmlDocument::FindElement(std::wstring_view name) {
    int candidate =
        current_pos_ != 0 ? elements_[current_pos_].next_sibling : elements_[parent_pos_].first_child;
    for (; candidate != 0; candidate = elements_[candidate].next_sibling) {
        if (NameMatches(candidate, name)) {
            parent_pos_ = elements_[candidate].parent;
            current_pos_ = candidate;
            child_pos_ = 0;
            node_kind_ = 1;
            return true;
        }
    }
    return false;
}

inline bool XmlDocument::FindChildElement(std::wstring_view name) {
    if (current_pos_ == 0 && !FindElement(std::wstring_view()))
        return false;
    int candidate =
        child_pos_ != 0 ? elements_[child_pos_].next_sibling : elements_[current_pos_].first_child;
    for (; candidate != 0; candidate = elements_[candidate].next_sibling) {
        if (NameMatches(candidate, name)) {
            child_pos_ = candidate;
            return true;
        }
    }
    return false;
}

inline bool XmlDocument::EnterElement() {
    if (current_pos_ == 0)
        return false;
    parent_pos_ = current_pos_;
    current_pos_ = child_pos_;
    child_pos_ = 0;
    node_kind_ = current_pos_ != 0 ? 1 : 0;
    return true;
}

inline bool XmlDocument::LeaveElement() {
    if (parent_pos_ == 0)
        return false;
    child_pos_ = current_pos_;
    current_pos_ = parent_pos_;
    parent_pos_ = elements_[parent_pos_].parent;
    node_kind_ = 1;
    return true;
}
