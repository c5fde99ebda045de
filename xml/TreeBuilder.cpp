#include "xml/TreeBuilder.h"

#include "xml/ResultLog.h"

#include <algorithm>

namespace {
constexpr size_t kInitialStack = 7;
}

CXmlTreeBuilder::CXmlTreeBuilder(std::wstring_view text, CElementIndex& elements, std::wstring& log,
                                 XmlLongTagLengths& long_tags)
    : text_(text), elements_(elements), log_(log), long_tags_(long_tags) {
    stack_.reserve(kInitialStack);
}

bool CXmlTreeBuilder::Build() {
    const wchar_t* data = text_.data();
    size_t n = text_.size();
    XmlNode node;
    size_t pos = 0;
    while (pos < n) {
        if (data[pos] != L'<') {
            size_t stop = std::min(n, pos + 16);
            while (++pos < stop && data[pos] != L'<') {
            }
            if (pos == stop && pos < n) {
                size_t next = text_.find(L'<', pos);
                pos = next == std::wstring_view::npos ? n : next;
            }
            continue;
        }
        ScanXmlMarkup(text_, pos, node);
        if (node.error != XmlScanError::None)
            OnScanError(node);
        else if (node.kind == kXmlStartTag)
            OnStartTag(node);
        else if (node.kind == kXmlEndTag)
            OnEndTag(node);
        pos = node.end;
    }
    UnendAbove(0, n);
    Finish();
    XmlElementEntry& document = elements_[0];
    int32_t root = document.first_child;
    return !not_well_formed_ && root != 0 && elements_[root].next_sibling == 0;
}

void CXmlTreeBuilder::OnScanError(const XmlNode& node) {
    not_well_formed_ = true;
    auto offset = static_cast<int64_t>(node.error_offset);
    if (node.error == XmlScanError::Unterminated)
        RecordLogEvent(log_, L"unterminated_tag_syntax",
                       {{L"type", XmlUnterminatedTypeName(node)}, {L"offset", offset}});
    else
        RecordLogEvent(log_, XmlScanErrorEvent(node.error), {{L"offset", offset}});
}

void CXmlTreeBuilder::OnStartTag(const XmlNode& node) {
    int32_t index = elements_.Add();
    if (index == 0) { // no room for another entry: the element is left out of the index
        not_well_formed_ = true;
        return;
    }
    int32_t parent = stack_.empty() ? 0 : stack_.back().index;
    XmlElementEntry& entry = elements_[index];
    entry.start = static_cast<int32_t>(node.start);
    entry.parent = parent;
    entry.flags = static_cast<uint32_t>(std::min<size_t>(stack_.size() + 1, kXmlLevelMask));
    AppendChild(parent, index);
    size_t start_length = node.end - node.start;
    SetTagLengths(index, start_length, 0);
    if (node.empty_element) {
        elements_[index].length = static_cast<int32_t>(start_length);
        return;
    }
    size_t name_length = node.name_end - node.name_start;
    uint64_t hash = 0;
    if (tracking_names_) {
        hash = HashXmlName(text_.data() + node.name_start, name_length);
        open_names_.Add(hash);
    }
    stack_.push_back(OpenElement{index, static_cast<uint32_t>(name_length), hash});
}

void CXmlTreeBuilder::OnEndTag(const XmlNode& node) {
    std::wstring_view name = text_.substr(node.name_start, node.name_end - node.name_start);
    size_t depth = stack_.size();
    bool found = false;
    if (depth > 0 && NameOnStackEquals(stack_.back(), name)) {
        found = true;
    } else {
        StartTrackingNames();
        uint64_t hash = HashXmlName(name.data(), name.size());
        // Only walks the stack when an open element carries the name (or one with the same hash),
        // so the walk pays for elements that are closed now, or is a rare hash collision.
        for (size_t k = open_names_.Contains(hash) ? depth : 0; k > 0 && !found; --k) {
            if (stack_[k - 1].name_hash == hash && NameOnStackEquals(stack_[k - 1], name)) {
                depth = k;
                found = true;
            }
        }
    }
    if (!found) {
        not_well_formed_ = true;
        RecordLogEvent(log_, L"lone_end_tag",
                       {{L"tagname", name}, {L"offset", static_cast<int64_t>(node.start)}});
        return;
    }
    UnendAbove(depth, node.start);
    int32_t index = stack_.back().index;
    XmlElementEntry& entry = elements_[index];
    entry.length = static_cast<int32_t>(node.end - static_cast<size_t>(entry.start));
    size_t start_length = entry.tag_lengths & kXmlStartTagLengthMask;
    if (start_length == kXmlStartTagLengthMask)
        start_length = static_cast<size_t>(long_tags_.start_tags[index]);
    SetTagLengths(index, start_length, node.end - node.start);
    Pop();
}

void CXmlTreeBuilder::UnendAbove(size_t keep, size_t at) {
    if (stack_.size() <= keep)
        return;
    not_well_formed_ = true;
    // The children of every element closed here end up, in document order, after it under the
    // element that stays open below it: from the outermost one in, each one's children (its
    // open child last) are appended to that element's children.
    int32_t target = elements_[stack_[keep].index].parent;
    for (size_t k = keep; k < stack_.size(); ++k)
        MoveChildren(stack_[k].index, target);
    while (stack_.size() > keep) {
        int32_t index = stack_.back().index;
        XmlElementEntry& entry = elements_[index];
        entry.flags |= kXmlEntryUnended;
        entry.length = static_cast<int32_t>(entry.tag_lengths & kXmlStartTagLengthMask);
        if ((entry.tag_lengths & kXmlStartTagLengthMask) == kXmlStartTagLengthMask)
            entry.length = long_tags_.start_tags[index];
        RecordLogEvent(log_, L"unended_start_tag",
                       {{L"tagname", NameOf(index)},
                        {L"offset", static_cast<int64_t>(entry.start)},
                        {L"offset2", static_cast<int64_t>(at)}});
        Pop();
    }
}

void CXmlTreeBuilder::MoveChildren(int32_t from, int32_t to) {
    XmlElementEntry& source = elements_[from];
    int32_t first = source.first_child;
    if (first == 0)
        return;
    source.first_child = 0;
    XmlElementEntry& moved_first = elements_[first];
    int32_t moved_last = moved_first.prev_sibling;
    XmlElementEntry& target = elements_[to];
    int32_t target_first = target.first_child; // never 0: `from` itself is one of its children
    int32_t target_last = elements_[target_first].prev_sibling;
    elements_[target_last].next_sibling = first;
    moved_first.prev_sibling = target_last;
    moved_first.flags &= ~kXmlEntryFirstChild;
    elements_[target_first].prev_sibling = moved_last;
    for (int32_t child = first; child != 0; child = elements_[child].next_sibling)
        elements_[child].parent = to;
}

void CXmlTreeBuilder::AppendChild(int32_t parent, int32_t child) {
    XmlElementEntry& parent_entry = elements_[parent];
    XmlElementEntry& child_entry = elements_[child];
    if (parent_entry.first_child == 0) {
        parent_entry.first_child = child;
        child_entry.prev_sibling = child;
        child_entry.flags |= kXmlEntryFirstChild;
        return;
    }
    XmlElementEntry& first = elements_[parent_entry.first_child];
    elements_[first.prev_sibling].next_sibling = child;
    child_entry.prev_sibling = first.prev_sibling;
    first.prev_sibling = child;
}

void CXmlTreeBuilder::SetTagLengths(int32_t index, size_t start_length, size_t end_length) {
    if (start_length < kXmlStartTagLengthMask && end_length < kXmlEndTagLengthMask) [[likely]] {
        elements_[index].tag_lengths =
            static_cast<uint32_t>(start_length) | (static_cast<uint32_t>(end_length) << kXmlTagLengthBits);
        return;
    }
    uint32_t start_field = static_cast<uint32_t>(std::min<size_t>(start_length, kXmlStartTagLengthMask));
    uint32_t end_field = static_cast<uint32_t>(std::min<size_t>(end_length, kXmlEndTagLengthMask));
    if (start_field == kXmlStartTagLengthMask)
        long_tags_.start_tags[index] = static_cast<int32_t>(start_length);
    if (end_field == kXmlEndTagLengthMask)
        long_tags_.end_tags[index] = static_cast<int32_t>(end_length);
    elements_[index].tag_lengths = start_field | (end_field << kXmlTagLengthBits);
}

void CXmlTreeBuilder::Pop() {
    if (tracking_names_)
        open_names_.Remove(stack_.back().name_hash);
    stack_.pop_back();
}

void CXmlTreeBuilder::StartTrackingNames() {
    if (tracking_names_)
        return;
    tracking_names_ = true;
    for (OpenElement& open : stack_) {
        open.name_hash = HashXmlName(text_.data() + elements_[open.index].start + 1, open.name_length);
        open_names_.Add(open.name_hash);
    }
}

std::wstring_view CXmlTreeBuilder::NameOf(int32_t index) const {
    size_t name_start = static_cast<size_t>(elements_[index].start) + 1;
    return text_.substr(name_start, XmlNameEnd(text_, name_start) - name_start);
}

bool CXmlTreeBuilder::NameOnStackEquals(const OpenElement& open, std::wstring_view name) const {
    if (open.name_length != name.size())
        return false;
    const wchar_t* stored = text_.data() + elements_[open.index].start + 1;
    for (size_t i = 0; i < name.size(); ++i) {
        if (stored[i] != name[i])
            return false;
    }
    return true;
}

void CXmlTreeBuilder::Finish() {
    XmlElementEntry& document = elements_[0];
    document.start = 0;
    document.length = static_cast<int32_t>(text_.size());
    if (not_well_formed_)
        document.flags |= kXmlEntryNotWellFormed;
    if (document.first_child == 0)
        RecordLogEvent(log_, L"no_root_element");
    else if (elements_[document.first_child].next_sibling != 0)
        RecordLogEvent(log_, L"root_has_sibling");
}
