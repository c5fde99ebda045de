// Feeds arbitrary bytes through reading a text file, parsing and a walk of every element with
// its text; also parses the bytes taken directly as characters (NULs and all).
#include "tests/fuzz/FuzzSupport.h"
#include "tests/xml/XmlWalk.h"

#include <cstdint>
#include <string>

namespace {

// Every element of the index must be reached exactly once, and no text can be longer than the
// document's.
void CheckWalk(XmlDocument& document) {
    size_t limit = document.Text().size();
    long visited = WalkEveryElement(document, [limit](const std::wstring& text) {
        if (text.size() > limit)
            FuzzCheck(false);
    });
    if (visited != document.FreePos() - 1)
        FuzzCheck(false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = FuzzScratchFolder("xml_fuzz") + "/input.xml";
    if (WriteFuzzInput(path, data, size)) {
        XmlDocument document;
        // Malformed input is the point: the walk below must cope with whatever was read.
        (void)document.Load(WidePath(path));
        CheckWalk(document);
    }
    XmlDocument direct;
    direct.LoadFromText(std::wstring(data, data + size));
    CheckWalk(direct);
    return 0;
}
