#pragma once
// Builds the element index of a document in one pass over its text, with the recovery rules of
// the reader: a lone end tag is ignored, an element left open is closed where an enclosing
// element ends (its children become its following siblings), and every problem is logged.
#include "xml/ElementIndex.h"
#include "xml/NodeScanner.h"
#include "xml/OpenNameCounts.h"

#include <string>
#include <string_view>
#include <vector>

class CXmlTreeBuilder {
public:
    CXmlTreeBuilder(std::wstring_view text, CElementIndex& elements, std::wstring& log,
                    XmlLongTagLengths& long_tags);

    // Fills the index (which the caller has reset); true when the document is well-formed.
    bool Build();

private:
    struct OpenElement {
        int32_t index;
        uint32_t name_length;
        uint64_t name_hash; // set while names are tracked
    };

    void OnStartTag(const XmlNode& node);
    void OnEndTag(const XmlNode& node);
    void OnScanError(const XmlNode& node);
    void AppendChild(int32_t parent, int32_t child);
    void SetTagLengths(int32_t index, size_t start_length, size_t end_length);
    // Closes the open elements above stack depth `keep` as never ended, at text offset `at`.
    void UnendAbove(size_t keep, size_t at);
    void MoveChildren(int32_t from, int32_t to);
    void Pop();
    // From the first end tag that does not close the innermost element on, the names of the open
    // elements are counted (well-formed documents never pay for it).
    void StartTrackingNames();
    bool NameOnStackEquals(const OpenElement& open, std::wstring_view name) const;
    std::wstring_view NameOf(int32_t index) const;
    void Finish();

    std::wstring_view text_;
    CElementIndex& elements_;
    std::wstring& log_;
    XmlLongTagLengths& long_tags_;
    std::vector<OpenElement> stack_;
    COpenNameCounts open_names_;
    bool tracking_names_ = false;
    bool not_well_formed_ = false;
};
