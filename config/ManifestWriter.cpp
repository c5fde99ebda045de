#include "config/ManifestWriter.h"

#include "framework/Utf8Text.h"

#include <optional>
#include <string_view>

namespace {

// Element text with the markup characters escaped. Characters XML 1.0 cannot carry (the C0
// controls other than tab and the line ends) could not have come from a manifest that was read
// and are left out.
std::wstring Escaped(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'&':
            out += L"&amp;";
            break;
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        default:
            if (c >= 0x20 || c == L'\t' || c == L'\n' || c == L'\r')
                out.push_back(c);
        }
    }
    return out;
}

class CXmlLines {
public:
    void Open(std::wstring_view name) {
        Indent();
        text_ += L"<" + std::wstring(name) + L">\n";
        ++depth_;
    }
    void Close(std::wstring_view name) {
        --depth_;
        Indent();
        text_ += L"</" + std::wstring(name) + L">\n";
    }
    // A file's pin, when the manifest gave one (kept as written, malformed or not).
    void Pin(const std::optional<std::wstring>& sha256) {
        if (sha256)
            Element(L"sha256", *sha256);
    }
    void Element(std::wstring_view name, std::wstring_view value) {
        Indent();
        text_ += L"<" + std::wstring(name) + L">" + Escaped(value) + L"</" + std::wstring(name) + L">\n";
    }
    const std::wstring& text() const { return text_; }

private:
    void Indent() { text_.append(static_cast<size_t>(depth_) * 4, L' '); }

    std::wstring text_;
    int depth_ = 0;
};

} // namespace

std::string ManifestXml(const ManifestInfo& manifest) {
    CXmlLines xml;
    xml.Open(L"nvxwebinstaller");
    xml.Element(L"web_installer_version", manifest.web_installer_version);
    xml.Element(L"product_code", manifest.product_code);
    xml.Open(L"product");
    xml.Element(L"pid", manifest.pid);
    xml.Element(L"full_name", manifest.full_name);
    xml.Element(L"short_name", manifest.short_name);
    xml.Element(L"registry", manifest.registry);
    xml.Element(L"standalone", manifest.standalone ? L"true" : L"false");
    xml.Element(L"standalone_version", manifest.standalone_version);
    xml.Element(L"version_check_url", manifest.version_check_url);
    // The reader takes the main component only with its name.
    if (!manifest.main_component_name.empty()) {
        xml.Open(L"main_component");
        xml.Element(L"name", manifest.main_component_name);
        xml.Element(L"executable", manifest.main_component_executable);
        xml.Element(L"full_url", manifest.main_component_url);
        xml.Pin(manifest.main_component_sha256);
        for (const TransformInfo& transform : manifest.transforms) {
            xml.Open(L"transform");
            xml.Element(L"lang_id", std::to_wstring(transform.lang_id));
            xml.Element(L"name", transform.name);
            xml.Element(L"full_url", transform.full_url);
            xml.Pin(transform.sha256);
            xml.Close(L"transform");
        }
        xml.Close(L"main_component");
    }
    for (const LanguagePackInfo& pack : manifest.language_packs) {
        xml.Open(L"language_pack");
        xml.Element(L"lang_id", std::to_wstring(pack.lang_id));
        xml.Element(L"pid", pack.pid);
        xml.Element(L"name", pack.name);
        xml.Element(L"full_url", pack.full_url);
        xml.Pin(pack.sha256);
        xml.Close(L"language_pack");
    }
    for (const DependencyInfo& dependency : manifest.dependencies) {
        xml.Open(L"dependency");
        xml.Element(L"name", dependency.name);
        xml.Element(L"full_url", dependency.full_url);
        xml.Element(L"install_commandline", dependency.install_commandline);
        xml.Pin(dependency.sha256);
        xml.Close(L"dependency");
    }
    // The reader looks for the publisher after everything else.
    if (!manifest.publisher.empty())
        xml.Element(L"publisher", manifest.publisher);
    xml.Close(L"product");
    xml.Close(L"nvxwebinstaller");
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + ToUtf8(xml.text());
}
