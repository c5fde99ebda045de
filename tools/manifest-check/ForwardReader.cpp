#include "tools/manifest-check/ForwardReader.h"

const LocatedText& LocatedRecord::Field(std::wstring_view name) const {
    static const LocatedText kAbsent;
    auto found = fields.find(name);
    return found != fields.end() ? found->second : kAbsent;
}

CForwardReader::CForwardReader(const XmlDocument& document)
    : document_(document), read_(static_cast<size_t>(document.FreePos()), false) {}

int CForwardReader::Find(int parent, int after, std::wstring_view name) const {
    int candidate =
        after != 0 ? document_.Element(after).next_sibling : document_.Element(parent).first_child;
    for (; candidate != 0; candidate = document_.Element(candidate).next_sibling) {
        if (XmlTextEquals(document_.ElementName(candidate), name))
            return candidate;
    }
    return 0;
}

int CForwardReader::ReadFields(LocatedRecord& record, std::span<const std::wstring_view> names, int after) {
    for (std::wstring_view name : names) {
        int found = Find(record.element, after, name);
        if (found == 0)
            continue;
        record.fields[std::wstring(name)] = Take(found);
        after = found;
    }
    return after;
}

LocatedText CForwardReader::Take(int element) {
    read_[static_cast<size_t>(element)] = true;
    return {element, document_.ElementTextAt(element)};
}

std::wstring CForwardReader::NameOf(int element) const {
    return WideFromXmlText(document_.ElementName(element));
}

std::vector<int> CForwardReader::Children(int parent) const {
    std::vector<int> children;
    for (int child = document_.Element(parent).first_child; child != 0;
         child = document_.Element(child).next_sibling)
        children.push_back(child);
    return children;
}
