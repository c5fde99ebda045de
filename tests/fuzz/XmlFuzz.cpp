// Feeds arbitrary bytes through reading a text file, parsing and a walk of every element with
// its text; also parses the bytes taken directly as characters (NULs and all).
#include "xml/XmlDocument.h"

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

std::string NarrowPath(const std::wstring& path) {
    return std::string(path.begin(), path.end());
}

// Visits every element through the cursor, depth first, reading each one's text. Every element
// of the index must be reached exactly once.
void WalkEveryElement(XmlDocument& document) {
    long visited = 0;
    long elements = document.FreePos() - 1;
    if (document.FindElement(L"")) {
        for (;;) {
            ++visited;
            if (visited > elements)
                std::abort();
            std::wstring text = document.ElementText();
            if (text.size() > document.Text().size())
                std::abort();
            if (document.FindChildElement(L"") && document.EnterElement())
                continue;
            bool moved = false;
            while (!(moved = document.FindElement(L""))) {
                if (!document.LeaveElement())
                    break;
            }
            if (!moved)
                break;
        }
    }
    if (visited != elements)
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
        WalkEveryElement(document);
    }
    XmlDocument direct;
    direct.LoadFromText(std::wstring(data, data + size));
    WalkEveryElement(direct);
    return 0;
}
