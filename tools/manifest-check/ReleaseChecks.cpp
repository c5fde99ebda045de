#include "tools/manifest-check/ReleaseChecks.h"

#include "config/TextRules.h"
#include "framework/TextCompare.h"
#include "config/VersionRules.h"
#include "tools/manifest-check/ReleaseLayout.h"
#include "tools/manifest-check/StructureChecks.h"
#include "tools/manifest-check/ValueForms.h"
#include "tools/manifest-check/ValueRules.h"

namespace {

std::wstring Quoted(std::wstring_view text) {
    return L"\"" + std::wstring(text) + L"\"";
}

std::wstring_view WithoutBraces(std::wstring_view code) {
    if (code.size() >= 2 && code.front() == L'{' && code.back() == L'}')
        return code.substr(1, code.size() - 2);
    return code;
}

class CReleaseChecks {
public:
    CReleaseChecks(CSourceFile& file, const CSourceFile& manifest_file, CForwardReader& reader,
                   const ReleaseLayout& layout, ManifestFacts& facts)
        : file_(file), manifest_file_(manifest_file), reader_(reader), layout_(layout), facts_(facts) {}

    void Run();

private:
    void CheckSection(const LocatedRecord& section, std::wstring_view name);
    void CheckSelfUpdate(const LocatedRecord& section, std::wstring_view name);
    void CheckSectionsAgree();
    std::wstring InstallerVersionPlace() const;

    CSourceFile& file_;
    const CSourceFile& manifest_file_;
    CForwardReader& reader_;
    const ReleaseLayout& layout_;
    ManifestFacts& facts_;
};

void CReleaseChecks::Run() {
    if (layout_.root == 0) {
        int top = reader_.Document().Element(0).first_child;
        file_.Report(
            Severity::Error, L"missing-field", top,
            L"The document element is not <nvxwebinstaller>: the installer reads no release from this "
            L"file.");
        return;
    }
    const LocatedText& code = layout_.product_code;
    if (code.element != 0 && !facts_.product_code.text.empty() &&
        !EqualsIgnoringAsciiCase(WithoutBraces(code.text), WithoutBraces(facts_.product_code.text)))
        file_.Report(Severity::Warning, L"other-product", code.element,
                     L"<product_code> " + Quoted(code.text) + L" is not the manifest's " +
                         Quoted(facts_.product_code.text) +
                         L": is this the release file of another product?");
    // A section that is there but out of order is reported at the element itself.
    if (layout_.fresh.element == 0 && reader_.Find(layout_.root, 0, L"fresh_install") == 0)
        file_.Report(Severity::Warning, L"missing-field", layout_.root,
                     L"No <fresh_install>: a first installation never "
                     L"asks for a newer installer.");
    else if (layout_.fresh.element != 0)
        CheckSection(layout_.fresh, L"fresh_install");
    if (layout_.patch.element == 0 && reader_.Find(layout_.root, 0, L"patch_install") == 0)
        file_.Report(
            Severity::Warning, L"missing-field", layout_.root,
            L"No <patch_install>: an installed copy is compared "
            L"with the manifest's <standalone_version> instead, and an update never asks for a newer "
            L"installer.");
    else if (layout_.patch.element != 0)
        CheckSection(layout_.patch, L"patch_install");
    CheckSectionsAgree();
    CheckUnreadElements(file_, reader_, layout_.containers,
                        [](std::wstring_view, std::wstring_view) { return false; });
}

void CReleaseChecks::CheckSection(const LocatedRecord& section, std::wstring_view name) {
    CheckTextOnly(file_, reader_, section);
    const LocatedText& version = section.Field(L"product_version");
    if (version.text.empty() && name == L"patch_install")
        file_.Report(Severity::Error, L"missing-field", section.element,
                     L"<patch_install> has no <product_version>: an installed copy is then compared with the "
                     L"manifest's <standalone_version>, not with this release.");
    else if (version.text.empty())
        file_.Report(Severity::Warning, L"missing-field", section.element,
                     L"<fresh_install> has no <product_version>: the release does not say what it installs.");
    for (std::wstring_view field : {L"product_version", L"min_web_installer_version"})
        CheckValueForm(file_, section.Field(field), field, ValueForm::Version);
    const LocatedText& url = section.Field(L"web_installer_download_url");
    CheckValueForm(file_, url, L"web_installer_download_url", ValueForm::Url);
    if (!url.text.empty() && UrlProblem(url.text).empty())
        facts_.downloads.push_back(
            file_.Address(L"the newer installer of <" + std::wstring(name) + L">", url.text, url.element));
    CheckSelfUpdate(section, name);
}

std::wstring CReleaseChecks::InstallerVersionPlace() const {
    return L"the installer's own version " + Quoted(facts_.web_installer_version.text) +
           L" (the manifest's <web_installer_version>, line " +
           std::to_wstring(manifest_file_.LineOf(facts_.web_installer_version.element)) + L")";
}

void CReleaseChecks::CheckSelfUpdate(const LocatedRecord& section, std::wstring_view name) {
    const LocatedText& minimum = section.Field(L"min_web_installer_version");
    auto wanted = ReadStrictVersion(minimum.text);
    auto own = ReadStrictVersion(facts_.web_installer_version.text);
    if (!wanted || !own)
        return;
    // The installer's own rule decides; the ordinary order of versions tells what was meant.
    bool updates = IsNewerVersion(minimum.text, facts_.web_installer_version.text);
    bool meant = IsLaterVersion(*wanted, *own);
    std::wstring problem;
    if (wanted->numbers[0] != own->numbers[0])
        problem = L" has a different first number than " + InstallerVersionPlace() +
                  L": the installer compares only versions with the same first number, so this minimum never "
                  L"makes it update itself.";
    else if (meant && !updates)
        problem =
            L" is newer than " + InstallerVersionPlace() +
            L", but the installer updates itself only when the fourth number is higher and the second is "
            L"not lower: this minimum never makes it update. Raise the fourth number.";
    else if (updates && !meant)
        problem = L" is not newer than " + InstallerVersionPlace() +
                  L", yet its fourth number is higher, so the installer downloads a newer copy of itself.";
    if (!problem.empty())
        file_.Report(updates ? Severity::Warning : Severity::Error,
                     updates ? L"self-update-unexpected" : L"self-update-never", minimum.element,
                     L"<min_web_installer_version> " + Quoted(minimum.text) + L" of <" + std::wstring(name) +
                         L">" + problem);
    if (updates && section.Field(L"web_installer_download_url").text.empty())
        file_.Report(Severity::Error, L"missing-field", section.element,
                     L"<" + std::wstring(name) +
                         L"> asks for a newer installer but has no "
                         L"<web_installer_download_url>: the installer goes on without updating.");
}

void CReleaseChecks::CheckSectionsAgree() {
    const LocatedText& fresh = layout_.fresh.Field(L"product_version");
    const LocatedText& patch = layout_.patch.Field(L"product_version");
    auto fresh_version = ReadStrictVersion(fresh.text);
    auto patch_version = ReadStrictVersion(patch.text);
    if (!fresh_version || !patch_version)
        return;
    if (fresh_version->numbers[0] != patch_version->numbers[0])
        file_.Report(
            Severity::Error, L"sections-disagree", patch.element,
            L"The <patch_install> version " + Quoted(patch.text) + L" and the <fresh_install> version " +
                Quoted(fresh.text) +
                L" differ in their first number: the installer never counts one as newer than the other, "
                L"so a copy of the fresh release is never updated.");
    else if (IsLaterVersion(*fresh_version, *patch_version))
        file_.Report(Severity::Error, L"sections-disagree", patch.element,
                     L"The <patch_install> version " + Quoted(patch.text) +
                         L" is older than the <fresh_install> "
                         L"version " +
                         Quoted(fresh.text) + L": the update offers less than a first installation.");
}

} // namespace

void CheckRelease(CSourceFile& file, const CSourceFile& manifest_file, ManifestFacts& facts) {
    CForwardReader reader(file.Document());
    ReleaseLayout layout = TraceRelease(reader);
    CReleaseChecks(file, manifest_file, reader, layout, facts).Run();
}
