#include "tools/manifest-check/ReleaseLayout.h"

ReleaseLayout TraceRelease(CForwardReader& reader) {
    ReleaseLayout layout;
    layout.root = TraceRoot(reader, layout.containers, kReleaseTopFields);
    if (layout.root == 0)
        return layout;
    int after = reader.Find(layout.root, 0, L"product_code");
    if (after != 0)
        layout.product_code = reader.Take(after);
    for (LocatedRecord* section : {&layout.fresh, &layout.patch}) {
        std::wstring_view name = section == &layout.fresh ? L"fresh_install" : L"patch_install";
        int found = reader.Find(layout.root, after, name);
        if (found == 0)
            continue;
        after = found;
        section->element = found;
        reader.Take(found);
        reader.ReadFields(*section, kReleaseFields);
        layout.containers.push_back({found, kReleaseFields});
    }
    return layout;
}
