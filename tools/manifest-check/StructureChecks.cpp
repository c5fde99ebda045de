#include "tools/manifest-check/StructureChecks.h"

#include <algorithm>
#include <cstddef>

namespace {

std::wstring JoinOrder(std::span<const std::wstring_view> order) {
    std::wstring joined;
    for (std::wstring_view name : order) {
        if (!joined.empty())
            joined += L", ";
        joined += name;
    }
    return joined;
}

std::wstring Tag(std::wstring_view name) {
    return L"<" + std::wstring(name) + L">";
}

void CheckContainer(CSourceFile& file, const CForwardReader& reader, const ReadContainer& container,
                    const ExtraChildRule& is_extra) {
    std::wstring parent = reader.NameOf(container.element);
    std::vector<int> children = reader.Children(container.element);
    for (size_t i = 0; i < children.size(); ++i) {
        int child = children[i];
        if (reader.IsRead(child))
            continue;
        std::wstring name = reader.NameOf(child);
        if (is_extra(parent, name))
            continue;
        bool known = std::find(container.order.begin(), container.order.end(), name) != container.order.end();
        if (!known) {
            file.Report(Severity::Warning, L"unknown-element", child,
                        Tag(name) + L" is not an element the installer reads in " + Tag(parent) +
                            L"; it is ignored (a misspelling?). It reads: " + JoinOrder(container.order) +
                            L".");
            continue;
        }
        auto earlier =
            std::find_if(children.begin(), children.begin() + static_cast<ptrdiff_t>(i),
                         [&](int other) { return reader.IsRead(other) && reader.NameOf(other) == name; });
        bool single = name != L"transform" && name != L"language_pack" && name != L"dependency";
        if (single && earlier != children.begin() + static_cast<ptrdiff_t>(i)) {
            file.Report(Severity::Warning, L"repeated-element", child,
                        L"A second " + Tag(name) + L" in " + Tag(parent) +
                            L": the installer reads only the first (line " +
                            std::to_wstring(file.LineOf(*earlier)) + L") and ignores this one.");
            continue;
        }
        auto later = std::find_if(children.begin() + static_cast<ptrdiff_t>(i) + 1, children.end(),
                                  [&](int other) { return reader.IsRead(other); });
        std::wstring where = later != children.end()
                                 ? L" and has already gone past it to " + Tag(reader.NameOf(*later)) +
                                       L" (line " + std::to_wstring(file.LineOf(*later)) + L")"
                                 : std::wstring();
        file.Report(Severity::Error, L"out-of-order", child,
                    Tag(name) + L" is never read: the installer reads the children of " + Tag(parent) +
                        L" only forward, in the order " + JoinOrder(container.order) +
                        (where.empty() ? L"" : L",") + where + L". Move it into that order.");
    }
}

} // namespace

void CheckUnreadElements(CSourceFile& file, const CForwardReader& reader,
                         const std::vector<ReadContainer>& containers, const ExtraChildRule& is_extra) {
    for (const ReadContainer& container : containers)
        CheckContainer(file, reader, container, is_extra);
}

void CheckTextOnly(CSourceFile& file, const CForwardReader& reader, const LocatedRecord& record) {
    for (const auto& [name, value] : record.fields) {
        if (value.element != 0 && reader.Document().Element(value.element).first_child != 0)
            file.Report(Severity::Error, L"misread-value", value.element,
                        Tag(name) +
                            L" holds elements, so the installer reads its text as empty. Write the value as "
                            L"plain text.");
    }
}
