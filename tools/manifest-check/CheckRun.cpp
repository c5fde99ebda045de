#include "tools/manifest-check/CheckRun.h"

#include "tools/manifest-check/ManifestChecks.h"
#include "tools/manifest-check/ReleaseChecks.h"

#include <algorithm>
#include <tuple>

Findings RunChecks(const CheckRequest& request) {
    Findings findings;
    CSourceFile manifest(request.manifest_path, findings);
    ManifestFacts facts;
    if (manifest.Load(L"The manifest"))
        facts = CheckManifest(manifest);
    if (!request.version_xml_path.empty()) {
        CSourceFile release(request.version_xml_path, findings);
        if (release.Load(L"version.xml"))
            CheckRelease(release, manifest, facts);
    } else if (request.online && !facts.standalone && !facts.version_check_url.empty()) {
        // No version.xml named: the one the installer would fetch is the one published. When it
        // cannot be fetched, the check of its address below says why.
        CSourceFile release(facts.version_check_url, findings);
        std::string bytes;
        std::wstring failure;
        if (FetchDocument(facts.version_check_url, bytes, failure) &&
            release.LoadBytes(bytes, L"version.xml"))
            CheckRelease(release, manifest, facts);
    }
    if (request.online)
        CheckOnline(facts.downloads, findings);
    std::stable_sort(findings.begin(), findings.end(), [&request](const Finding& a, const Finding& b) {
        auto key = [&request](const Finding& f) {
            return std::make_tuple(f.file == request.manifest_path ? 0 : 1, f.line, f.column);
        };
        return key(a) < key(b);
    });
    return findings;
}
