// Reading the product manifest and the release section of version.xml. Both are searched
// strictly forward: each search starts after the element found last, so the elements must
// come in the documented order; anything else in between is skipped.
#include "config/InstallConfig.h"
#include "config/Sha256Pin.h"
#include "config/TextRules.h"
#include "framework/Diagnostics.h"
#include "framework/TextCompare.h"
#include "xml/FileAccess.h"
#include "xml/XmlDocument.h"

#include <cstdio>
#include <memory>

#include <string_view>
#include <vector>

namespace {

// The server's release data is a few hundred bytes; a file this large is not it.
constexpr size_t kVersionXmlLimit = 1024 * 1024;

// True when the file holds more than `limit` bytes or cannot be read; reads at most one
// buffer beyond the limit.
bool LargerThan(const std::wstring& path, size_t limit) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(OpenFileForReading(path), &std::fclose);
    if (!file)
        return true;
    std::unique_ptr<char[]> buffer(new char[64 * 1024]);
    size_t total = 0;
    for (size_t read; total <= limit && (read = std::fread(buffer.get(), 1, 64 * 1024, file.get())) > 0;)
        total += read;
    return total > limit;
}

// The text of the next child with that name; the found child stays the current child so
// the next search continues after it. Leaves `target` alone when there is no such child.
bool ReadChildText(XmlDocument& xml, std::wstring_view name, std::wstring& target) {
    if (!xml.FindChildElement(name))
        return false;
    xml.EnterElement();
    target = xml.ElementText();
    xml.LeaveElement();
    return true;
}

// The text of the next sibling with that name, which becomes the current element.
bool ReadSiblingText(XmlDocument& xml, std::wstring_view name, std::wstring& target) {
    if (!xml.FindElement(name))
        return false;
    target = xml.ElementText();
    return true;
}

// The optional "sha256" child of the current element, wherever it stands; the cursor stays.
std::optional<std::wstring> ReadPin(const XmlDocument& xml) {
    std::wstring text;
    if (!xml.PeekChildText(L"sha256", text))
        return std::nullopt;
    if (!ParseSha256(text))
        nvx::Diagnose(L"config", L"the sha256 pin \"" + text +
                                     L"\" is not 64 hexadecimal digits: its file "
                                     L"will be refused");
    return text;
}

// One record per following sibling named `element` that has a `key` child; the others are
// dropped. `read_fields` runs inside the element, positioned on the key.
template <typename Record, typename ReadFields>
void ReadEntries(XmlDocument& xml, std::wstring_view element, std::wstring_view key,
                 std::vector<Record>& records, ReadFields read_fields) {
    while (xml.FindElement(element)) {
        if (!xml.FindChildElement(key))
            continue;
        Record record;
        record.sha256 = ReadPin(xml);
        xml.EnterElement();
        read_fields(record);
        xml.LeaveElement();
        records.push_back(std::move(record));
    }
}

void ReadMainComponent(XmlDocument& xml, ManifestInfo& target) {
    if (!xml.FindElement(L"main_component") || !xml.FindChildElement(L"name"))
        return;
    target.main_component_sha256 = ReadPin(xml);
    xml.EnterElement();
    target.main_component_name = xml.ElementText();
    ReadSiblingText(xml, L"executable", target.main_component_executable);
    ReadSiblingText(xml, L"full_url", target.main_component_url);
    ReadEntries(xml, L"transform", L"lang_id", target.transforms, [&xml](TransformInfo& transform) {
        transform.lang_id = DecimalTextToInt(xml.ElementText());
        ReadSiblingText(xml, L"name", transform.name);
        ReadSiblingText(xml, L"full_url", transform.full_url);
    });
    xml.LeaveElement();
}

// True when the release named its product version.
bool ReadRelease(XmlDocument& xml, ReleaseInfo& release) {
    bool has_version = ReadChildText(xml, L"product_version", release.product_version);
    ReadChildText(xml, L"min_web_installer_version", release.min_web_installer_version);
    ReadChildText(xml, L"web_installer_download_url", release.web_installer_download_url);
    return has_version;
}

} // namespace

bool ParseManifest(const std::wstring& manifest_path, ManifestInfo& target) {
    XmlDocument xml;
    if (!xml.Load(manifest_path))
        return false;
    if (!xml.FindElement(L"nvxwebinstaller"))
        return true;
    ReadChildText(xml, L"web_installer_version", target.web_installer_version);
    ReadChildText(xml, L"product_code", target.product_code);
    if (!xml.FindChildElement(L"product"))
        return true;
    xml.EnterElement();

    ReadChildText(xml, L"pid", target.pid);
    ReadChildText(xml, L"full_name", target.full_name);
    ReadChildText(xml, L"short_name", target.short_name);
    ReadChildText(xml, L"registry", target.registry);
    std::wstring standalone;
    target.standalone =
        ReadChildText(xml, L"standalone", standalone) && EqualsIgnoringAsciiCase(standalone, L"true");
    ReadChildText(xml, L"standalone_version", target.standalone_version);
    ReadChildText(xml, L"version_check_url", target.version_check_url);
    // Continue among product's children, after the last one read above.
    xml.EnterElement();

    ReadMainComponent(xml, target);
    ReadEntries(xml, L"language_pack", L"lang_id", target.language_packs, [&xml](LanguagePackInfo& pack) {
        pack.lang_id = DecimalTextToInt(xml.ElementText());
        ReadSiblingText(xml, L"pid", pack.pid);
        ReadSiblingText(xml, L"name", pack.name);
        ReadSiblingText(xml, L"full_url", pack.full_url);
    });
    ReadEntries(xml, L"dependency", L"name", target.dependencies, [&xml](DependencyInfo& dependency) {
        dependency.name = xml.ElementText();
        ReadSiblingText(xml, L"full_url", dependency.full_url);
        ReadSiblingText(xml, L"install_commandline", dependency.install_commandline);
    });
    // Last among product's children, so that no search above has passed it.
    ReadSiblingText(xml, L"publisher", target.publisher);
    return true;
}

bool ParseVersionXml(const std::wstring& path, ManifestInfo& manifest) {
    if (path.empty() || LargerThan(path, kVersionXmlLimit))
        return false;
    XmlDocument xml;
    if (!xml.Load(path))
        return false;
    if (!xml.FindElement(L"nvxwebinstaller"))
        return true;
    // The product code only moves the search on: the sections count only after it.
    std::wstring ignored_product_code;
    ReadChildText(xml, L"product_code", ignored_product_code);
    xml.EnterElement();
    if (xml.FindElement(L"fresh_install"))
        ReadRelease(xml, manifest.fresh_install);
    // The update's product version is also the version a standalone package compares with.
    if (xml.FindElement(L"patch_install") && ReadRelease(xml, manifest.patch_install))
        manifest.standalone_version = manifest.patch_install.product_version;
    return true;
}
