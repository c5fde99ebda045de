// The checker retraces the installer's reading of both files to know where each value comes
// from; what it retraces must be what the installer's own reader reads, on every manifest and
// version.xml the tests and the demo have (the broken ones above all).
#include "config/InstallConfig.h"
#include "tools/manifest-check/ManifestLayout.h"
#include "tools/manifest-check/ReleaseLayout.h"

#include "config/TextRules.h"
#include "framework/TextCompare.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::vector<std::filesystem::path> XmlFilesUnder(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().extension() == ".xml")
            files.push_back(entry.path());
    }
    return files;
}

std::vector<std::filesystem::path> Manifests() {
    std::filesystem::path data(NVX_TEST_DATA_DIR);
    std::vector<std::filesystem::path> files = XmlFilesUnder(data / "manifest-check/manifest");
    for (const char* name : {"config/manifestPro.xml", "engine/manifestPlan.xml",
                             "engine/manifestPlanStandalone.xml", "manifest-check/manifestPro.xml"})
        files.push_back(data / name);
    files.push_back(std::filesystem::path(NVX_SOURCE_DIR) / "demo/config/manifestPro.xml");
    return files;
}

void ExpectSameEntries(const std::vector<LocatedRecord>& traced, size_t count,
                       const std::function<void(size_t, const LocatedRecord&)>& compare) {
    ASSERT_EQ(traced.size(), count);
    for (size_t i = 0; i < count; ++i)
        compare(i, traced[i]);
}

TEST(ManifestTrace, FindsEveryValueTheInstallerReads) {
    for (const auto& path : Manifests()) {
        SCOPED_TRACE(path.string());
        ManifestInfo read;
        XmlDocument document;
        if (!ParseManifest(path.wstring(), read)) {
            EXPECT_FALSE(document.Load(path.wstring()));
            continue;
        }
        ASSERT_TRUE(document.Load(path.wstring()));
        CForwardReader reader(document);
        ManifestLayout traced = TraceManifest(reader);
        EXPECT_EQ(traced.top.Field(L"web_installer_version").text, read.web_installer_version);
        EXPECT_EQ(traced.top.Field(L"product_code").text, read.product_code);
        const LocatedRecord& p = traced.product;
        EXPECT_EQ(p.Field(L"pid").text, read.pid);
        EXPECT_EQ(p.Field(L"full_name").text, read.full_name);
        EXPECT_EQ(p.Field(L"short_name").text, read.short_name);
        EXPECT_EQ(p.Field(L"registry").text, read.registry);
        EXPECT_EQ(EqualsIgnoringAsciiCase(p.Field(L"standalone").text, L"true"), read.standalone);
        EXPECT_EQ(p.Field(L"standalone_version").text, read.standalone_version);
        EXPECT_EQ(p.Field(L"version_check_url").text, read.version_check_url);
        EXPECT_EQ(traced.main.Field(L"name").text, read.main_component_name);
        EXPECT_EQ(traced.main.Field(L"executable").text, read.main_component_executable);
        EXPECT_EQ(traced.main.Field(L"full_url").text, read.main_component_url);
        ExpectSameEntries(traced.transforms, read.transforms.size(), [&](size_t i, const LocatedRecord& t) {
            EXPECT_EQ(DecimalTextToInt(t.Field(L"lang_id").text), read.transforms[i].lang_id);
            EXPECT_EQ(t.Field(L"name").text, read.transforms[i].name);
            EXPECT_EQ(t.Field(L"full_url").text, read.transforms[i].full_url);
        });
        ExpectSameEntries(
            traced.language_packs, read.language_packs.size(), [&](size_t i, const LocatedRecord& l) {
                EXPECT_EQ(DecimalTextToInt(l.Field(L"lang_id").text), read.language_packs[i].lang_id);
                EXPECT_EQ(l.Field(L"pid").text, read.language_packs[i].pid);
                EXPECT_EQ(l.Field(L"name").text, read.language_packs[i].name);
                EXPECT_EQ(l.Field(L"full_url").text, read.language_packs[i].full_url);
            });
        ExpectSameEntries(
            traced.dependencies, read.dependencies.size(), [&](size_t i, const LocatedRecord& d) {
                EXPECT_EQ(d.Field(L"name").text, read.dependencies[i].name);
                EXPECT_EQ(d.Field(L"full_url").text, read.dependencies[i].full_url);
                EXPECT_EQ(d.Field(L"install_commandline").text, read.dependencies[i].install_commandline);
            });
    }
}

TEST(ReleaseTrace, FindsEveryValueTheInstallerReads) {
    std::filesystem::path data(NVX_TEST_DATA_DIR);
    std::vector<std::filesystem::path> files = XmlFilesUnder(data / "manifest-check/version");
    files.push_back(data / "manifest-check/version.xml");
    files.push_back(data / "net/version.xml");
    files.push_back(std::filesystem::path(NVX_SOURCE_DIR) / "demo/server/version.xml");
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        ManifestInfo read;
        read.standalone_version = L"unchanged";
        XmlDocument document;
        if (!ParseVersionXml(path.wstring(), read)) {
            EXPECT_FALSE(document.Load(path.wstring()));
            continue;
        }
        ASSERT_TRUE(document.Load(path.wstring()));
        CForwardReader reader(document);
        ReleaseLayout traced = TraceRelease(reader);
        for (auto [section, release] :
             {std::pair{&traced.fresh, &read.fresh_install}, std::pair{&traced.patch, &read.patch_install}}) {
            EXPECT_EQ(section->Field(L"product_version").text, release->product_version);
            EXPECT_EQ(section->Field(L"min_web_installer_version").text, release->min_web_installer_version);
            EXPECT_EQ(section->Field(L"web_installer_download_url").text,
                      release->web_installer_download_url);
        }
        const std::wstring& patch_version = traced.patch.Field(L"product_version").text;
        EXPECT_EQ(read.standalone_version, patch_version.empty() ? L"unchanged" : patch_version);
    }
}

} // namespace
