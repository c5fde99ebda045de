// Feeds arbitrary bytes through reading a text file, parsing and a walk of every element with
// its text; also parses the bytes taken directly as characters (NULs and all).
#include "framework/NarrowPath.h"
#include "tests/xml/XmlWalk.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::wstring InputPath() {
    const char* folder = std::getenv("NVX_FUZZ_TMP");
    std::string path = std::string(folder ? folder : "/tmp") + "/xml_fuzz_input." + std::to_string(getpid());
    return std::wstring(path.begin(), path.end());
}

// Every element of the index must be reached exactly once, and no text can be longer than the
// document's.
void CheckWalk(XmlDocument& document) {
    size_t limit = document.Text().size();
    long visited = WalkEveryElement(document, [limit](const std::wstring& text) {
        if (text.size() > limit)
            std::abort();
    });
    if (visited != document.FreePos() - 1)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::wstring path = InputPath();
    if (FILE* file = std::fopen(NarrowPath(path).c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        XmlDocument document;
        document.Load(path);
        CheckWalk(document);
    }
    XmlDocument direct;
    direct.LoadFromText(std::wstring(data, data + size));
    CheckWalk(direct);
    return 0;
}
