#pragma once
// Builds the element index of a document in one pass over its text, with the recovery rules of
// the reader: a lone end tag is ignored, an element left open is closed where an enclosing
// element ends (its children become its following siblings), and every problem is logged.
#include "xml/ElementIndex.h"
#include "xml/NodeScanner.h"
#include "xml/OpenNameCounts.h"

#include <string>
#include <vector>

class CXmlTreeBuilder {
public:
    CXmlTreeBuilder(XmlTextView text, CElementIndex& elements, std::wstring& log,
                    XmlLongTagLengths& long_tags);

    // Fills the index (which the caller has reset); true when the document is well-formed.
    [[nodiscard]] bool Build();

private:
    // The children of an element, as far as they are known: the index keeps the first one and
    // the last one is linked from it; kept here too, so that appending a child reads nothing.
    struct Children {
        int32_t first = 0;
        int32_t last = 0;
    };
    struct OpenElement {
        int32_t index;
        uint32_t name_start; // in the text (one past the start tag's "<")
        uint32_t name_length;
        Children children;
        uint64_t name_hash; // set while names are tracked
    };

    // The tag at `pos` when it is a complete start tag, or an end tag that closes the innermost
    // open element (nearly every tag): handled in place, returns the offset after it; else 0.
    size_t TryStartTag(size_t pos);
    size_t TryClosingEndTag(size_t pos);
    void OnStartTag(size_t start, size_t end, size_t name_end, bool empty_element);
    // Adds the entry of a start tag (0 when the index is full); an element that is not empty is
    // then pushed as open.
    int32_t AddElement(size_t start, size_t end, bool empty_element);
    void PushOpen(int32_t index, size_t start, size_t name_end);
    void OnEndTag(const XmlNode& node);
    // Ends the innermost open element with the end tag from `start` to `end`.
    void CloseInnermost(size_t start, size_t end);
    void OnScanError(const XmlNode& node);
    // Links a new entry as the last child of the innermost open element (or of the document).
    void AppendChild(XmlElementEntry& entry, int32_t child);
    Children& InnermostChildren() { return stack_.empty() ? top_level_ : stack_.back().children; }
    void SetTagLengths(int32_t index, size_t start_length, size_t end_length);
    void SetLongTagLengths(int32_t index, size_t start_length, size_t end_length);
    // Closes the open elements above stack depth `keep` as never ended, at text offset `at`.
    void UnendAbove(size_t keep, size_t at);
    void MoveChildren(int32_t from, int32_t to);
    void Pop();
    // From the first end tag that does not close the innermost element on, the names of the open
    // elements are counted (well-formed documents never pay for it).
    void StartTrackingNames();
    void TrackInnermostName();
    bool NameOnStackEquals(const OpenElement& open, XmlTextView name) const;
    XmlTextView NameOf(int32_t index) const;
    void Finish();

    XmlTextView text_;
    CElementIndex& elements_;
    std::wstring& log_;
    XmlLongTagLengths& long_tags_;
    std::vector<OpenElement> stack_;
    Children top_level_;
    COpenNameCounts open_names_;
    bool tracking_names_ = false;
    bool not_well_formed_ = false;
};
