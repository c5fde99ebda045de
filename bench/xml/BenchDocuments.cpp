#include "BenchDocuments.h"

#include <filesystem>
#include <fstream>

namespace {

// A product catalogue: many small elements with attributes and short texts.
void AppendElementHeavy(std::string& out, size_t n) {
    std::string id = std::to_string(n);
    out += "  <item id=\"" + id + "\" kind=\"photo\"><name>Photo " + id + "</name><size>" +
           std::to_string(n * 37 % 100000) + "</size><tag/></item>\n";
}

// Long paragraphs with a few references, as in release notes.
void AppendTextHeavy(std::string& out, size_t n) {
    out += "  <para n=\"" + std::to_string(n) + "\">";
    for (int sentence = 0; sentence < 24; ++sentence)
        out += "Adjusts exposure, contrast &amp; colour of every picture in the album without loss. ";
    out += "Caf\xC3\xA9 &lt;done&gt;</para>\n";
}

} // namespace

std::string BenchDocumentPath(const std::string& folder, BenchDocumentKind kind, size_t bytes) {
    bool elements = kind == BenchDocumentKind::ElementHeavy;
    std::string path = folder + (elements ? "/elements_" : "/text_") + std::to_string(bytes >> 20) + "mb.xml";
    if (std::filesystem::exists(path))
        return path;
    std::filesystem::create_directories(folder);
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<catalog>\n";
    for (size_t n = 0; out.size() < bytes; ++n) {
        if (elements)
            AppendElementHeavy(out, n);
        else
            AppendTextHeavy(out, n);
    }
    out += "</catalog>\n";
    std::ofstream(path, std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
    return path;
}
