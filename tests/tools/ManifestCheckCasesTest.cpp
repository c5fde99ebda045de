// The checker over a table of published files with one mistake each: every case names, in a
// comment at its top, the findings the checker must report (severity, code, line:column), and
// nothing else may be reported. The clean pair they are made from, and the demo's files, pass.
#include "tools/manifest-check/CheckRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

const std::filesystem::path kCases = std::filesystem::path(NVX_TEST_DATA_DIR) / "manifest-check";

std::string SeverityName(Severity severity) {
    return severity == Severity::Error ? "error" : severity == Severity::Warning ? "warning" : "note";
}

// "error out-of-order 9:9" per finding.
std::multiset<std::string> Summaries(const Findings& findings, const std::wstring& only_file) {
    std::multiset<std::string> out;
    for (const Finding& f : findings) {
        EXPECT_EQ(f.file, only_file) << "a finding about the other file of the pair";
        EXPECT_FALSE(f.message.empty());
        out.insert(SeverityName(f.severity) + " " + std::string(f.code.begin(), f.code.end()) + " " +
                   std::to_string(f.line) + ":" + std::to_string(f.column));
    }
    return out;
}

std::multiset<std::string> Expected(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::multiset<std::string> out;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("expect: ", 0) == 0)
            out.insert(line.substr(8));
    }
    return out;
}

std::vector<std::filesystem::path> CaseFiles(const char* folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kCases / folder))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ManifestCheckCases, TheCleanPairHasNoFinding) {
    Findings findings =
        RunChecks({(kCases / "manifestPro.xml").wstring(), (kCases / "version.xml").wstring()});
    EXPECT_TRUE(findings.empty()) << std::string(findings.front().message.begin(),
                                                 findings.front().message.end());
    EXPECT_EQ(ExitCodeFor(findings), 0);
}

TEST(ManifestCheckCases, EachBrokenManifestGetsExactlyItsFindings) {
    std::vector<std::filesystem::path> files = CaseFiles("manifest");
    ASSERT_GE(files.size(), 30u);
    for (const auto& file : files) {
        std::multiset<std::string> expected = Expected(file);
        ASSERT_FALSE(expected.empty()) << file;
        Findings findings = RunChecks({file.wstring(), (kCases / "version.xml").wstring()});
        EXPECT_EQ(Summaries(findings, file.wstring()), expected) << file.filename();
        bool any_error = std::any_of(expected.begin(), expected.end(),
                                     [](const std::string& e) { return e.rfind("error ", 0) == 0; });
        EXPECT_EQ(ExitCodeFor(findings), any_error ? 2 : 1) << file.filename();
    }
}

TEST(ManifestCheckCases, EachBrokenVersionXmlGetsExactlyItsFindings) {
    std::vector<std::filesystem::path> files = CaseFiles("version");
    ASSERT_GE(files.size(), 12u);
    for (const auto& file : files) {
        std::multiset<std::string> expected = Expected(file);
        ASSERT_FALSE(expected.empty()) << file;
        Findings findings = RunChecks({(kCases / "manifestPro.xml").wstring(), file.wstring()});
        EXPECT_EQ(Summaries(findings, file.wstring()), expected) << file.filename();
    }
}

// The demo publishes no pins and names no publisher; everything else about it is right.
TEST(ManifestCheckCases, TheDemoFilesAreCleanButForPinsAndPublisher) {
    std::filesystem::path source(NVX_SOURCE_DIR);
    Findings findings = RunChecks(
        {(source / "demo/config/manifestPro.xml").wstring(), (source / "demo/server/version.xml").wstring()});
    ASSERT_FALSE(findings.empty());
    for (const Finding& f : findings) {
        EXPECT_EQ(f.severity, Severity::Warning);
        EXPECT_TRUE(f.code == L"missing-pin" || f.code == L"missing-publisher")
            << std::string(f.code.begin(), f.code.end());
    }
}

TEST(ManifestCheckCases, AMissingFileIsAnErrorAboutThatFile) {
    std::wstring missing = (kCases / "no-such-manifest.xml").wstring();
    Findings findings = RunChecks({missing, {}});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, L"not-readable");
    EXPECT_EQ(findings[0].file, missing);
    EXPECT_NE(findings[0].message.find(L"cannot be read"), std::wstring::npos);
}

} // namespace
