#include "tools/manifest-check/ManifestChecks.h"

#include "config/LanguageChoice.h"
#include "config/TextRules.h"
#include "framework/TextCompare.h"
#include "tools/manifest-check/StructureChecks.h"
#include "tools/manifest-check/ValueForms.h"
#include "tools/manifest-check/ValueRules.h"

#include <map>

namespace {

std::wstring Tag(std::wstring_view name) {
    return L"<" + std::wstring(name) + L">";
}

std::wstring Quoted(std::wstring_view text) {
    return L"\"" + std::wstring(text) + L"\"";
}

class CManifestChecks {
public:
    CManifestChecks(CSourceFile& file, CForwardReader& reader, const ManifestLayout& layout)
        : file_(file), reader_(reader), layout_(layout) {}

    ManifestFacts Run();

private:
    void CheckTop();
    void CheckProduct();
    void CheckMainComponent();
    void CheckTransforms();
    void CheckLanguagePacks();
    void CheckDependencies();
    void CheckLanguages();
    // The language id of a transform or language pack, once per kind; the id as the installer reads it.
    int32_t CheckLanguageId(const LocatedRecord& entry, std::map<int32_t, int>& seen,
                            std::wstring_view twice);
    // The address of a downloadable entry, and its pin.
    void CheckDownload(const LocatedRecord& entry, std::wstring what, std::wstring_view why);

    // An element with a value that must be there; reported at the record when it is not.
    bool Require(const LocatedRecord& record, std::wstring_view name, std::wstring_view why);
    void CheckVersion(const LocatedText& value, std::wstring_view name) {
        CheckValueForm(file_, value, name, ValueForm::Version);
    }
    void CheckUrl(const LocatedText& value, std::wstring_view name) {
        CheckValueForm(file_, value, name, ValueForm::Url);
    }
    void CheckFileName(const LocatedText& value, std::wstring_view name) {
        CheckValueForm(file_, value, name, ValueForm::FileName);
    }
    // The optional "sha256" pin of a downloadable item; adds the item to the downloads.
    void CheckPin(int element, std::wstring what, const LocatedText& url);
    bool HasElementNamed(int parent, std::wstring_view name) const;

    CSourceFile& file_;
    CForwardReader& reader_;
    const ManifestLayout& layout_;
    ManifestFacts facts_;
};

bool CManifestChecks::HasElementNamed(int parent, std::wstring_view name) const {
    for (int child : reader_.Children(parent)) {
        if (reader_.NameOf(child) == name)
            return true;
    }
    return false;
}

bool CManifestChecks::Require(const LocatedRecord& record, std::wstring_view name, std::wstring_view why) {
    const LocatedText& value = record.Field(name);
    if (!value.text.empty())
        return true;
    if (value.element != 0) {
        file_.Report(Severity::Error, L"missing-value", value.element,
                     Tag(name) + L" is empty: " + std::wstring(why));
    } else if (!HasElementNamed(record.element, name)) {
        // When the element is there but out of order, that is reported at the element itself.
        file_.Report(Severity::Error, L"missing-field", record.element,
                     Tag(reader_.NameOf(record.element)) + L" has no " + Tag(name) + L": " +
                         std::wstring(why));
    }
    return false;
}

void CManifestChecks::CheckPin(int element, std::wstring what, const LocatedText& url) {
    int pin = reader_.Find(element, 0, L"sha256");
    std::wstring pin_text;
    if (pin == 0) {
        file_.Report(Severity::Warning, L"missing-pin", element,
                     Tag(reader_.NameOf(element)) + L" has no <sha256> pin: " + what +
                         L" is used with administrator rights without being checked against the published "
                         L"bytes. Add its SHA-256 as 64 hexadecimal digits.");
    } else {
        pin_text = reader_.Document().ElementTextAt(pin);
        if (!IsSha256Text(pin_text)) {
            file_.Report(Severity::Error, L"bad-pin", pin,
                         L"<sha256> " + Quoted(pin_text) + L" is not 64 hexadecimal digits: no download of " +
                             what + L" can match it.");
            pin_text.clear();
        }
    }
    if (!url.text.empty() && UrlProblem(url.text).empty())
        facts_.downloads.push_back(file_.Address(std::move(what), url.text, url.element, pin_text));
}

ManifestFacts CManifestChecks::Run() {
    if (layout_.root == 0) {
        int top = reader_.Document().Element(0).first_child;
        file_.Report(Severity::Error, L"missing-field", top,
                     L"The document element is " + Tag(top != 0 ? reader_.NameOf(top) : L"") +
                         L", not <nvxwebinstaller>: the installer reads nothing from this manifest.");
        return facts_;
    }
    CheckTop();
    if (layout_.product.element != 0) {
        CheckProduct();
        CheckMainComponent();
        CheckTransforms();
        CheckLanguagePacks();
        CheckDependencies();
        // Without the main component the loader stops anyway, and no transform is read.
        if (layout_.main.element != 0)
            CheckLanguages();
    }
    std::vector<ReadContainer> containers = layout_.containers;
    CheckUnreadElements(file_, reader_, containers, [](std::wstring_view parent, std::wstring_view child) {
        return (child == L"sha256" && (parent == L"main_component" || parent == L"transform" ||
                                       parent == L"language_pack" || parent == L"dependency")) ||
               (child == L"publisher" && parent == L"product");
    });
    return std::move(facts_);
}

void CManifestChecks::CheckTop() {
    CheckTextOnly(file_, reader_, layout_.top);
    facts_.web_installer_version = layout_.top.Field(L"web_installer_version");
    facts_.product_code = layout_.top.Field(L"product_code");
    if (facts_.web_installer_version.element == 0 && !HasElementNamed(layout_.root, L"web_installer_version"))
        file_.Report(
            Severity::Warning, L"missing-field", layout_.root,
            L"<nvxwebinstaller> has no <web_installer_version>: the installer cannot tell its own version, "
            L"so version.xml can never make it update itself.");
    CheckVersion(facts_.web_installer_version, L"web_installer_version");
    if (Require(layout_.top, L"product_code",
                L"the installer cannot find an installed copy of the product and installs it again every "
                L"time.") &&
        !IsBracedGuid(facts_.product_code.text))
        file_.Report(
            Severity::Error, L"bad-product-code", facts_.product_code.element,
            L"<product_code> " + Quoted(facts_.product_code.text) +
                L" is not a product code in braces ({XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}): Windows "
                L"Installer never finds an installed copy by it.");
    // A "product" that is there but out of order is reported at the element itself.
    if (layout_.product.element == 0 && !HasElementNamed(layout_.root, L"product"))
        file_.Report(Severity::Error, L"missing-field", layout_.root,
                     L"<nvxwebinstaller> has no <product>: the installer stops loading the manifest.");
}

void CManifestChecks::CheckProduct() {
    const LocatedRecord& product = layout_.product;
    CheckTextOnly(file_, reader_, product);
    constexpr wchar_t kStops[] = L"the installer stops loading the manifest and cannot install anything.";
    Require(product, L"pid", kStops);
    Require(product, L"registry", kStops);
    if (Require(product, L"full_name", L"the installer names the downloaded newer installer after it."))
        CheckFileName(product.Field(L"full_name"), L"full_name");
    Require(product, L"short_name", L"every message box of the installer is captioned with it.");

    const LocatedText& standalone = product.Field(L"standalone");
    facts_.standalone = EqualsIgnoringAsciiCase(standalone.text, L"true");
    if (standalone.element != 0 && !facts_.standalone && !EqualsIgnoringAsciiCase(standalone.text, L"false"))
        file_.Report(
            Severity::Warning, L"bad-value", standalone.element,
            L"<standalone> " + Quoted(standalone.text) +
                L" is neither true nor false; the installer reads anything but \"true\" (in any letter "
                L"case, without blanks) as false.");
    CheckVersion(product.Field(L"standalone_version"), L"standalone_version");
    if (facts_.standalone)
        Require(product, L"standalone_version",
                L"a standalone package compares it with the installed version to decide whether to install.");
    facts_.version_check_url = product.Field(L"version_check_url").text;
    if (!facts_.standalone)
        Require(product, L"version_check_url",
                L"without it the version check fails and every run ends with the connection message.");
    const LocatedText& check_url = product.Field(L"version_check_url");
    CheckUrl(check_url, L"version_check_url");
    if (!facts_.standalone && !check_url.text.empty() && UrlProblem(check_url.text).empty())
        facts_.downloads.push_back(file_.Address(L"version.xml", check_url.text, check_url.element));

    if (reader_.Find(product.element, 0, L"publisher") == 0)
        file_.Report(Severity::Warning, L"missing-publisher", product.element,
                     L"<product> has no <publisher>: the installer cannot require its packages and its newer "
                     L"versions to be signed by the maker. Name the code-signing publisher.");
    else if (reader_.Document().ElementTextAt(reader_.Find(product.element, 0, L"publisher")).empty())
        file_.Report(Severity::Error, L"missing-value", reader_.Find(product.element, 0, L"publisher"),
                     L"<publisher> is empty: name the subject of the maker's code-signing certificate.");
}

void CManifestChecks::CheckMainComponent() {
    if (layout_.main_element == 0) {
        if (!HasElementNamed(layout_.product.element, L"main_component"))
            file_.Report(Severity::Error, L"missing-field", layout_.product.element,
                         L"<product> has no <main_component>: the installer stops loading the manifest.");
        return;
    }
    if (layout_.main.element == 0) {
        file_.Report(
            Severity::Error, L"missing-field", layout_.main_element,
            L"<main_component> has no <name>: the installer reads nothing of it and stops loading the "
            L"manifest.");
        return;
    }
    const LocatedRecord& main = layout_.main;
    CheckTextOnly(file_, reader_, main);
    CheckFileName(main.Field(L"name"), L"name");
    Require(main, L"executable", L"the finish page cannot start the installed product.");
    CheckDownload(main, L"the product package", L"the installer stops loading the manifest.");
}

int32_t CManifestChecks::CheckLanguageId(const LocatedRecord& entry, std::map<int32_t, int>& seen,
                                         std::wstring_view twice) {
    CheckTextOnly(file_, reader_, entry);
    const LocatedText& lang_id = entry.Field(L"lang_id");
    int32_t id = DecimalTextToInt(lang_id.text);
    if (!IsPlainLanguageId(lang_id.text))
        file_.Report(
            Severity::Error, L"bad-language-id", lang_id.element,
            L"<lang_id> " + Quoted(lang_id.text) +
                L" is not a plain positive decimal language id (such as 1031); the installer reads it as " +
                std::to_wstring(id) + L".");
    auto [earlier, first] = seen.emplace(id, entry.element);
    if (!first)
        file_.Report(Severity::Error, L"duplicate-language", entry.element,
                     L"A second " + Tag(reader_.NameOf(entry.element)) + L" for language " +
                         std::to_wstring(id) + L": " + std::wstring(twice) + L" (the first is at line " +
                         std::to_wstring(file_.LineOf(earlier->second)) + L").");
    return id;
}

void CManifestChecks::CheckDownload(const LocatedRecord& entry, std::wstring what, std::wstring_view why) {
    Require(entry, L"full_url", why);
    CheckUrl(entry.Field(L"full_url"), L"full_url");
    CheckPin(entry.element, std::move(what), entry.Field(L"full_url"));
}

void CManifestChecks::CheckTransforms() {
    std::map<int32_t, int> seen;
    for (const LocatedRecord& transform : layout_.transforms) {
        int32_t id = CheckLanguageId(transform, seen, L"the installer only ever applies the first");
        CheckFileName(transform.Field(L"name"), L"name");
        CheckDownload(transform, L"the transform for " + std::to_wstring(id),
                      L"the transform cannot be downloaded and its installation fails.");
    }
}

void CManifestChecks::CheckLanguagePacks() {
    std::map<int32_t, int> seen;
    for (const LocatedRecord& pack : layout_.language_packs) {
        int32_t id = CheckLanguageId(pack, seen, L"the language list offers the language twice");
        Require(pack, L"pid", L"the language pack has no product id.");
        CheckFileName(pack.Field(L"name"), L"name");
        CheckDownload(pack, L"the language pack for " + std::to_wstring(id),
                      L"the language pack cannot be downloaded and its installation fails.");
    }
}

void CManifestChecks::CheckDependencies() {
    for (const LocatedRecord& dependency : layout_.dependencies) {
        CheckTextOnly(file_, reader_, dependency);
        const LocatedText& name = dependency.Field(L"name");
        CheckFileName(name, L"name");
        CheckDownload(dependency, L"the prerequisite " + Quoted(name.text),
                      L"the prerequisite cannot be downloaded and its installation fails.");
    }
    for (int entry : layout_.dropped) {
        std::wstring name = reader_.NameOf(entry);
        std::wstring key = name == L"dependency" ? L"<name>" : L"<lang_id>";
        file_.Report(Severity::Error, L"dropped-entry", entry,
                     Tag(name) + L" has no " + key + L" as a child: the installer drops the whole entry.");
    }
}

void CManifestChecks::CheckLanguages() {
    std::map<int32_t, int> transforms;
    std::map<int32_t, int> packs;
    for (const LocatedRecord& transform : layout_.transforms)
        transforms.emplace(DecimalTextToInt(transform.Field(L"lang_id").text), transform.element);
    for (const LocatedRecord& pack : layout_.language_packs)
        packs.emplace(DecimalTextToInt(pack.Field(L"lang_id").text), pack.element);
    // The product's own language needs neither: its package is already in that language.
    int32_t base = BaseLanguageOf(layout_.product.Field(L"pid").text).item.lang_id;
    transforms.erase(base);
    packs.erase(base);
    auto report_unpaired = [this](const std::map<int32_t, int>& entries, const std::map<int32_t, int>& others,
                                  Severity severity, std::wstring_view what) {
        for (const auto& [id, element] : entries) {
            if (!others.contains(id))
                file_.Report(severity, L"language-pair", element,
                             L"Language " + std::to_wstring(id) + L" has " + std::wstring(what));
        }
    };
    report_unpaired(
        packs, transforms, Severity::Error,
        L"a language pack but no <transform>: the installer offers it and installs the pack, but the "
        L"product itself stays untranslated.");
    report_unpaired(transforms, packs, Severity::Warning,
                    L"a <transform> but no language pack: the installer never offers the language, so the "
                    L"transform is never used.");
}

} // namespace

ManifestFacts CheckManifest(CSourceFile& file) {
    CForwardReader reader(file.Document());
    ManifestLayout layout = TraceManifest(reader);
    return CManifestChecks(file, reader, layout).Run();
}
