#include "tools/manifest-check/ManifestLayout.h"

namespace {

// The entries named `element` among the children of `parent` from after `after`, each with
// its key child first and then `fields` forward from the key; returns the last entry found.
int TraceEntries(CForwardReader& reader, int parent, int after, std::wstring_view element,
                 std::span<const std::wstring_view> order, std::vector<LocatedRecord>& entries,
                 ManifestLayout& layout) {
    std::wstring_view key = order.front();
    std::span<const std::wstring_view> rest = order.subspan(1);
    for (int entry = reader.Find(parent, after, element); entry != 0;
         entry = reader.Find(parent, entry, element)) {
        after = entry;
        int key_element = reader.Find(entry, 0, key);
        if (key_element == 0) {
            layout.dropped.push_back(entry);
            reader.Take(entry);
            continue;
        }
        LocatedRecord record;
        record.element = entry;
        record.fields[std::wstring(key)] = reader.Take(key_element);
        reader.Take(entry);
        reader.ReadFields(record, rest, key_element);
        entries.push_back(std::move(record));
        layout.containers.push_back({entry, order});
    }
    return after;
}

} // namespace

int TraceRoot(CForwardReader& reader, std::vector<ReadContainer>& containers,
              std::span<const std::wstring_view> order) {
    int root = reader.Find(0, 0, L"nvxwebinstaller");
    if (root != 0) {
        reader.Take(root);
        containers.push_back({root, order});
    }
    return root;
}

ManifestLayout TraceManifest(CForwardReader& reader) {
    ManifestLayout layout;
    layout.root = TraceRoot(reader, layout.containers, kTopFields);
    if (layout.root == 0)
        return layout;
    layout.top.element = layout.root;
    int after = reader.ReadFields(layout.top, {L"web_installer_version", L"product_code"});
    layout.product.element = reader.Find(layout.root, after, L"product");
    if (layout.product.element == 0)
        return layout;
    reader.Take(layout.product.element);
    layout.containers.push_back({layout.product.element, kProductFields});
    after = reader.ReadFields(layout.product, {L"pid", L"full_name", L"short_name", L"registry",
                                               L"standalone", L"standalone_version", L"version_check_url"});

    int product = layout.product.element;
    int main = reader.Find(product, after, L"main_component");
    if (main != 0) {
        after = main;
        layout.main_element = main;
        reader.Take(main);
        int name = reader.Find(main, 0, L"name");
        if (name != 0) {
            layout.containers.push_back({main, kMainFields});
            layout.main.element = main;
            layout.main.fields[L"name"] = reader.Take(name);
            int last = reader.ReadFields(layout.main, {L"executable", L"full_url"}, name);
            TraceEntries(reader, main, last, L"transform", kTransformFields, layout.transforms, layout);
        }
    }
    after = TraceEntries(reader, product, after, L"language_pack", kLanguagePackFields, layout.language_packs,
                         layout);
    TraceEntries(reader, product, after, L"dependency", kDependencyFields, layout.dependencies, layout);
    return layout;
}
