#include "xml/TreeBuilder.h"

#include "xml/ResultLog.h"
#include "xml/WideSearch.h"

#include <algorithm>

namespace {
constexpr size_t kInitialStack = 7;

// A tag name as the log shows it (the log keeps only its start).
std::wstring LoggedName(XmlTextView name) {
    return WideFromXmlText(name.substr(0, kResultLogTextLimit));
}
} // namespace

CXmlTreeBuilder::CXmlTreeBuilder(XmlTextView text, CElementIndex& elements, std::wstring& log,
                                 XmlLongTagLengths& long_tags)
    : text_(text), elements_(elements), log_(log), long_tags_(long_tags) {
    stack_.reserve(kInitialStack);
}

// The hot path of the build: the functions down to the next comment are inline, so that a plain
// tag costs no calls.

inline void CXmlTreeBuilder::SetTagLengths(int32_t index, size_t start_length, size_t end_length) {
    if (start_length < kXmlStartTagLengthMask && end_length < kXmlEndTagLengthMask) [[likely]]
        elements_[index].tag_lengths =
            static_cast<uint32_t>(start_length) | (static_cast<uint32_t>(end_length) << kXmlTagLengthBits);
    else
        SetLongTagLengths(index, start_length, end_length);
}

inline void CXmlTreeBuilder::Pop() {
    if (tracking_names_)
        open_names_.Remove(stack_.back().name_hash);
    stack_.pop_back();
}

inline void CXmlTreeBuilder::AppendChild(XmlElementEntry& entry, int32_t child) {
    Children& children = InnermostChildren();
    if (children.first == 0) {
        elements_[entry.parent].first_child = child;
        entry.prev_sibling = child;
        entry.flags |= kXmlEntryFirstChild;
        children.first = child;
    } else {
        elements_[children.last].next_sibling = child;
        entry.prev_sibling = children.last;
        elements_[children.first].prev_sibling = child;
    }
    children.last = child;
}

inline void CXmlTreeBuilder::OnStartTag(size_t start, size_t end, size_t name_end, bool empty_element) {
    int32_t index = AddElement(start, end, empty_element);
    if (index != 0 && !empty_element)
        PushOpen(index, start, name_end);
}

inline int32_t CXmlTreeBuilder::AddElement(size_t start, size_t end, bool empty_element) {
    int32_t index = elements_.Add();
    if (index == 0) { // no room for another entry: the element is left out of the index
        not_well_formed_ = true;
        return 0;
    }
    XmlElementEntry& entry = elements_[index];
    entry.start = static_cast<int32_t>(start);
    entry.parent = stack_.empty() ? 0 : stack_.back().index;
    entry.flags = static_cast<uint32_t>(std::min<size_t>(stack_.size() + 1, kXmlLevelMask));
    AppendChild(entry, index);
    size_t start_length = end - start;
    SetTagLengths(index, start_length, 0);
    if (empty_element)
        entry.length = static_cast<int32_t>(start_length);
    return index;
}

inline void CXmlTreeBuilder::PushOpen(int32_t index, size_t start, size_t name_end) {
    size_t name_length = name_end - (start + 1);
    stack_.push_back(
        OpenElement{index, static_cast<uint32_t>(start + 1), static_cast<uint32_t>(name_length), {}, 0});
    if (tracking_names_)
        TrackInnermostName();
}

inline void CXmlTreeBuilder::CloseInnermost(size_t start, size_t end) {
    int32_t index = stack_.back().index;
    XmlElementEntry& entry = elements_[index];
    entry.length = static_cast<int32_t>(end - static_cast<size_t>(entry.start));
    size_t start_length = entry.tag_lengths & kXmlStartTagLengthMask;
    if (start_length == kXmlStartTagLengthMask)
        start_length = static_cast<size_t>(long_tags_.start_tags[index]);
    SetTagLengths(index, start_length, end - start);
    Pop();
}

// Reads the tag as the node scanner does; a tag the text ends in is left to the scanner.
inline size_t CXmlTreeBuilder::TryStartTag(size_t pos) {
    const XmlChar* data = text_.data();
    size_t n = text_.size();
    size_t i = pos + 1;
    while (i < n && !IsXmlNameDelimiter(data[i]))
        ++i;
    size_t name_end = i;
    for (; i < n; ++i) {
        XmlChar c = data[i];
        if (c > L'>') // none of > " ' (the usual case: letters)
            continue;
        if (c == L'>')
            break;
        if (c == L'"' || c == L'\'') {
            i = FindWideChar(data, i + 1, n, c);
            if (i == n)
                return 0;
        }
    }
    if (i == n)
        return 0;
    bool empty_element = false;
    if (data[i - 1] == L'/' && i - 1 > pos) {
        size_t slash = i - 1;
        XmlChar before = data[slash - 1];
        empty_element = slash == name_end || IsXmlBlank(before) || before == L'"' || before == L'\'';
    }
    OnStartTag(pos, i + 1, name_end, empty_element);
    return i + 1;
}

inline size_t CXmlTreeBuilder::TryClosingEndTag(size_t pos) {
    if (stack_.empty())
        return 0;
    const OpenElement& open = stack_.back();
    const XmlChar* data = text_.data();
    size_t n = text_.size();
    size_t name_start = pos + 2;
    size_t name_end = name_start + open.name_length;
    if (name_end >= n)
        return 0;
    if (!SameUnits(data + name_start, data + open.name_start, open.name_length, data + n))
        return 0;
    // The stored name holds no delimiter, so the end tag's name ends here or is longer.
    if (!IsXmlNameDelimiter(data[name_end]))
        return 0;
    size_t gt = FindWideChar(data, name_end, n, L'>');
    if (gt == n)
        return 0;
    CloseInnermost(pos, gt + 1);
    return gt + 1;
}

// End of the hot path.

bool CXmlTreeBuilder::Build() {
    const XmlChar* data = text_.data();
    size_t n = text_.size();
    XmlNode node;
    for (size_t pos = FindWideChar(data, 0, n, L'<'); pos < n; pos = FindWideChar(data, pos, n, L'<')) {
        size_t after = 0;
        if (pos + 1 < n) {
            XmlChar c = data[pos + 1];
            if (c == L'/')
                after = TryClosingEndTag(pos);
            else if (StartsXmlStartTag(c))
                after = TryStartTag(pos);
        }
        if (after != 0) {
            pos = after;
            continue;
        }
        ScanXmlMarkup(text_, pos, node);
        if (node.error != XmlScanError::None)
            OnScanError(node);
        else if (node.kind == kXmlStartTag)
            OnStartTag(node.start, node.end, node.name_end, node.empty_element);
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

void CXmlTreeBuilder::OnEndTag(const XmlNode& node) {
    XmlTextView name = text_.substr(node.name_start, node.name_end - node.name_start);
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
                       {{L"tagname", LoggedName(name)}, {L"offset", static_cast<int64_t>(node.start)}});
        return;
    }
    UnendAbove(depth, node.start);
    CloseInnermost(node.start, node.end);
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
                       {{L"tagname", LoggedName(NameOf(index))},
                        {L"offset", static_cast<int64_t>(entry.start)},
                        {L"offset2", static_cast<int64_t>(at)}});
        Pop();
    }
    // The moved children now end the list of the element left innermost.
    Children& children = InnermostChildren();
    children.first = elements_[target].first_child;
    children.last = elements_[children.first].prev_sibling;
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

void CXmlTreeBuilder::TrackInnermostName() {
    OpenElement& open = stack_.back();
    open.name_hash = HashXmlName(text_.data() + open.name_start, open.name_length);
    open_names_.Add(open.name_hash);
}

void CXmlTreeBuilder::StartTrackingNames() {
    if (tracking_names_)
        return;
    tracking_names_ = true;
    for (OpenElement& open : stack_) {
        open.name_hash = HashXmlName(text_.data() + open.name_start, open.name_length);
        open_names_.Add(open.name_hash);
    }
}

XmlTextView CXmlTreeBuilder::NameOf(int32_t index) const {
    size_t name_start = static_cast<size_t>(elements_[index].start) + 1;
    return text_.substr(name_start, XmlNameEnd(text_, name_start) - name_start);
}

bool CXmlTreeBuilder::NameOnStackEquals(const OpenElement& open, XmlTextView name) const {
    if (open.name_length != name.size())
        return false;
    const XmlChar* stored = text_.data() + open.name_start;
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

void CXmlTreeBuilder::SetLongTagLengths(int32_t index, size_t start_length, size_t end_length) {
    uint32_t start_field = static_cast<uint32_t>(std::min<size_t>(start_length, kXmlStartTagLengthMask));
    uint32_t end_field = static_cast<uint32_t>(std::min<size_t>(end_length, kXmlEndTagLengthMask));
    if (start_field == kXmlStartTagLengthMask)
        long_tags_.start_tags[index] = static_cast<int32_t>(start_length);
    if (end_field == kXmlEndTagLengthMask)
        long_tags_.end_tags[index] = static_cast<int32_t>(end_length);
    elements_[index].tag_lengths = start_field | (end_field << kXmlTagLengthBits);
}
