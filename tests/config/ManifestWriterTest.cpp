// A manifest written back must read as the record it was written from: the installer's own
// copies (offline layouts) depend on it.
#include "config/InstallConfig.h"
#include "config/ManifestWriter.h"
#include "framework/Utf8Text.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

ManifestInfo ReadBack(ScratchFolder& folder, const std::string& bytes) {
    ManifestInfo read;
    EXPECT_TRUE(ParseManifest(folder.Write("manifestPro.xml", bytes).wstring(), read));
    return read;
}

ManifestInfo Fixture(const std::string& path) {
    ManifestInfo manifest;
    EXPECT_TRUE(ParseManifest(std::filesystem::path(path).wstring(), manifest)) << path;
    EXPECT_FALSE(manifest.pid.empty()) << path;
    return manifest;
}

} // namespace

TEST(ManifestWriter, ReadsBackAsTheSameRecord) {
    ScratchFolder folder{"nvx-manifest-writer"};
    ManifestInfo unusual;
    unusual.web_installer_version = L"1.0.0.5";
    unusual.product_code = L"{C0DE}";
    unusual.pid = L"P<&>\"'";
    // Latin-1, CJK and a camera as the UTF-16 pair the reader gives on every platform.
    unusual.full_name =
        std::wstring(L"Lumetra \u00DC \u4E2D ") + static_cast<wchar_t>(0xD83D) + static_cast<wchar_t>(0xDCF7);
    unusual.registry = L"SOFTWARE\\NVX Systems\\Lumetra";
    unusual.standalone = true;
    unusual.standalone_version = L"17.0.0.100";
    unusual.main_component_name = L"p.msi";
    unusual.main_component_url = L"http://h/p.msi?a=1&b=2";
    unusual.main_component_sha256 = std::wstring(64, L'a');
    unusual.transforms = {{1031, L"1031.mst", L"http://h/1031.mst", L"not a pin"}, {-5, L"", L""}};
    unusual.language_packs = {{1031, L"PDE", L"language_pack_1031.exe", L"http://h/lp.exe"}};
    unusual.publisher = L"CN=NVX Systems GmbH, O=NVX Systems GmbH, C=DE";
    unusual.dependencies = {{L"vc_redist.exe", L"http://h/vc.exe", L"/install /quiet", L""},
                            {L"b.msi", L"", L"", std::wstring(64, L'F')}};

    const std::string sources[] = {std::string(NVX_TEST_DATA_DIR) + "/config/manifestPro.xml",
                                   std::string(NVX_TEST_DATA_DIR) + "/../../demo/config/manifestPro.xml"};
    std::vector<ManifestInfo> cases = {unusual};
    for (const std::string& source : sources)
        cases.push_back(Fixture(source));
    for (const ManifestInfo& manifest : cases) {
        EXPECT_TRUE(ReadBack(folder, ManifestXml(manifest)) == manifest) << ManifestXml(manifest);
        ManifestInfo standalone = manifest;
        standalone.standalone = !manifest.standalone;
        EXPECT_TRUE(ReadBack(folder, ManifestXml(standalone)) == standalone);
    }
}

TEST(ManifestWriter, MainComponentWithoutNameIsLeftOutAsTheReaderWould) {
    ScratchFolder folder{"nvx-manifest-writer"};
    ManifestInfo manifest;
    manifest.pid = L"P";
    manifest.main_component_url = L"http://h/p.msi";
    manifest.transforms = {{1031, L"1031.mst", L"http://h/1031.mst"}};
    const ManifestInfo read = ReadBack(folder, ManifestXml(manifest));
    EXPECT_EQ(read.pid, L"P");
    EXPECT_TRUE(read.main_component_url.empty());
    EXPECT_TRUE(read.transforms.empty());
}

TEST(Utf8Text, EncodesEveryRangeAndReplacesLoneSurrogates) {
    EXPECT_EQ(ToUtf8(L"a\u00E9\u20AC"), "a\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(ToUtf8(std::wstring{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDCF7)}),
              "\xF0\x9F\x93\xB7");
    EXPECT_EQ(ToUtf8(std::wstring{static_cast<wchar_t>(0xD83D), L'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(ToUtf8(std::wstring{static_cast<wchar_t>(0xDCF7)}), "\xEF\xBF\xBD");
}
