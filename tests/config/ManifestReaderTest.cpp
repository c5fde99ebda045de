// Reading the product manifest and the release section of version.xml with the strict
// forward search: elements out of order are not found, entries without their key element
// are dropped, everything else in between is skipped.
#include "config/InstallConfig.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

namespace {

std::string ReadFixture(const char* name) {
    std::ifstream file(std::string(NVX_TEST_DATA_DIR) + "/config/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// ASCII text as UTF-16 bytes in either byte order, with a byte-order mark.
std::string Utf16(const std::string& ascii, bool big_endian) {
    std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        bytes.push_back(big_endian ? '\0' : c);
        bytes.push_back(big_endian ? c : '\0');
    }
    return bytes;
}

class ManifestReader : public testing::Test {
protected:
    // Parses the bytes as a manifest into a fresh record.
    bool Parse(const std::string& bytes, ManifestInfo& target) {
        CInstallConfig config;
        config.manifest_path = folder_.Write("manifestPro.xml", bytes).wstring();
        return ParseManifest(config.manifest_path, target);
    }
    ManifestInfo Parsed(const std::string& bytes) {
        ManifestInfo target;
        EXPECT_TRUE(Parse(bytes, target));
        return target;
    }

    ScratchFolder folder_{"nvx-manifest"};
};

std::string Product(const std::string& inside) {
    return "<nvxwebinstaller><web_installer_version>1.0.0.5</web_installer_version>"
           "<product_code>{C0DE}</product_code><product>" +
           inside + "</product></nvxwebinstaller>";
}

const std::string kHead = "<pid>P17EN</pid><registry>SOFTWARE\\NVX</registry>";
const std::string kMain =
    "<main_component><name>p.msi</name><full_url>http://h/p.msi</full_url></main_component>";

TEST_F(ManifestReader, ReadsEveryFieldOfACompleteManifest) {
    ManifestInfo m = Parsed(ReadFixture("manifestPro.xml"));
    EXPECT_EQ(m.web_installer_version, L"1.0.0.5");
    EXPECT_EQ(m.product_code, L"{6B0C2B0E-7A43-4C55-9E0A-1D2F3A4B5C6D}");
    EXPECT_EQ(m.pid, L"LUMPRO17EN");
    EXPECT_EQ(m.full_name, L"Lumetra Professional");
    EXPECT_EQ(m.short_name, L"Lumetra");
    EXPECT_EQ(m.registry, L"SOFTWARE\\NVX Systems\\Lumetra Professional\\170");
    EXPECT_FALSE(m.standalone);
    EXPECT_EQ(m.standalone_version, L"17.0.0.100");
    EXPECT_EQ(m.version_check_url, L"http://127.0.0.1:8731/version.xml");
    EXPECT_EQ(m.main_component_name, L"LumetraProfessional.msi");
    EXPECT_EQ(m.main_component_executable, L"Lumetra.exe");
    EXPECT_EQ(m.main_component_url, L"http://127.0.0.1:8731/msi/LumetraProfessional.msi");
    ASSERT_EQ(m.transforms.size(), 2u);
    EXPECT_EQ(m.transforms[1].lang_id, 1036);
    EXPECT_EQ(m.transforms[1].name, L"1036.mst");
    EXPECT_EQ(m.transforms[1].full_url, L"http://127.0.0.1:8731/transform/1036.mst");
    ASSERT_EQ(m.language_packs.size(), 1u);
    EXPECT_EQ(m.language_packs[0].lang_id, 1031);
    EXPECT_EQ(m.language_packs[0].pid, L"LUMPRO17DE");
    EXPECT_EQ(m.language_packs[0].name, L"language_pack_1031.exe");
    EXPECT_EQ(m.language_packs[0].full_url, L"http://127.0.0.1:8731/lp/language_pack_1031.exe");
    ASSERT_EQ(m.dependencies.size(), 2u);
    EXPECT_EQ(m.dependencies[0].name, L"vc_redist.exe");
    EXPECT_EQ(m.dependencies[0].full_url, L"http://127.0.0.1:8731/component/vc_redist.exe");
    EXPECT_EQ(m.dependencies[0].install_commandline, L"/install /quiet /norestart");
    EXPECT_EQ(m.dependencies[1].name, L"webview2.exe");
    EXPECT_TRUE(m.fresh_install.product_version.empty());
}

struct ManifestCase {
    const char* name;
    std::string xml;
    std::function<void(const ManifestInfo&)> check;
};

TEST_F(ManifestReader, SearchesStrictlyForward) {
    const ManifestCase cases[] = {
        {"product before product_code: product data is not read",
         "<nvxwebinstaller><product>" + kHead + kMain +
             "</product><product_code>{C0DE}</product_code>"
             "</nvxwebinstaller>",
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.product_code, L"{C0DE}");
             EXPECT_EQ(m.pid, L"");
             EXPECT_EQ(m.main_component_url, L"");
         }},
        {"registry before pid is not found",
         Product("<registry>SOFTWARE\\NVX</registry><pid>P17EN</pid><full_name>F</full_name>" + kMain),
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.pid, L"P17EN");
             EXPECT_EQ(m.registry, L"");
             EXPECT_EQ(m.full_name, L"F");
             EXPECT_EQ(m.main_component_url, L"http://h/p.msi");
         }},
        {"main_component before version_check_url is not read",
         Product(kHead + kMain + "<version_check_url>http://h/v.xml</version_check_url>"),
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.version_check_url, L"http://h/v.xml");
             EXPECT_EQ(m.main_component_name, L"");
             EXPECT_EQ(m.main_component_url, L"");
         }},
        {"a dependency between two language packs is never read",
         Product(kHead + kMain +
                 "<language_pack><lang_id>1031</lang_id></language_pack>"
                 "<dependency><name>vc_redist.exe</name></dependency>"
                 "<language_pack><lang_id>1036</lang_id></language_pack>"),
         [](const ManifestInfo& m) {
             ASSERT_EQ(m.language_packs.size(), 2u);
             EXPECT_EQ(m.language_packs[0].lang_id, 1031);
             EXPECT_EQ(m.language_packs[1].lang_id, 1036);
             EXPECT_TRUE(m.dependencies.empty());
         }},
        {"a language pack before main_component is lost",
         Product(kHead + "<language_pack><lang_id>1031</lang_id></language_pack>" + kMain +
                 "<language_pack><lang_id>1036</lang_id></language_pack>"),
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.main_component_name, L"p.msi");
             ASSERT_EQ(m.language_packs.size(), 1u);
             EXPECT_EQ(m.language_packs[0].lang_id, 1036);
         }},
        {"executable before name is not found; name need not be the first child",
         Product(kHead + "<main_component><executable>L.exe</executable><name>p.msi</name>"
                         "<full_url>http://h/p.msi</full_url></main_component>"),
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.main_component_name, L"p.msi");
             EXPECT_EQ(m.main_component_executable, L"");
             EXPECT_EQ(m.main_component_url, L"http://h/p.msi");
         }},
        {"main_component without name: nothing of it, the packs after it still count",
         Product(kHead + "<main_component><full_url>http://h/p.msi</full_url>"
                         "<transform><lang_id>1031</lang_id></transform></main_component>"
                         "<language_pack><lang_id>1031</lang_id></language_pack>"),
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.main_component_url, L"");
             EXPECT_TRUE(m.transforms.empty());
             EXPECT_EQ(m.language_packs.size(), 1u);
         }},
        {"a transform before full_url is passed over",
         Product(kHead + "<main_component><name>p.msi</name><transform><lang_id>1031</lang_id></transform>"
                         "<full_url>http://h/p.msi</full_url></main_component>"),
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.main_component_url, L"http://h/p.msi");
             EXPECT_EQ(m.transforms.size(), 0u); // the search for full_url passed it
         }},
        {"other elements anywhere are skipped",
         "<nvxwebinstaller><x/><web_installer_version>1.0.0.5</web_installer_version><y>t</y>"
         "<product_code>{C0DE}</product_code><product><note/>" +
             kHead +
             "<z/><main_component><q/><name>p.msi</name><q/><full_url>http://h/p.msi</full_url></"
             "main_component>"
             "<w/></product></nvxwebinstaller>",
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.web_installer_version, L"1.0.0.5");
             EXPECT_EQ(m.product_code, L"{C0DE}");
             EXPECT_EQ(m.registry, L"SOFTWARE\\NVX");
             EXPECT_EQ(m.main_component_url, L"http://h/p.msi");
         }},
        {"names match in their exact letter case", Product("<PID>P17EN</PID><pid>P17DE</pid>" + kMain),
         [](const ManifestInfo& m) { EXPECT_EQ(m.pid, L"P17DE"); }},
        {"no product element: the head is read",
         "<nvxwebinstaller><web_installer_version>1.0.0.5</web_installer_version>"
         "<product_code>{C0DE}</product_code></nvxwebinstaller>",
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.web_installer_version, L"1.0.0.5");
             EXPECT_EQ(m.product_code, L"{C0DE}");
             EXPECT_EQ(m.pid, L"");
         }},
        {"another document element: nothing is read",
         "<manifest><web_installer_version>1.0.0.5</web_installer_version><product>" + kHead + kMain +
             "</product></manifest>",
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.web_installer_version, L"");
             EXPECT_EQ(m.pid, L"");
         }},
    };
    for (const ManifestCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(Parsed(c.xml));
    }
}

TEST_F(ManifestReader, DropsEntriesWithoutTheirKeyElement) {
    ManifestInfo m = Parsed(Product(
        kHead +
        "<main_component><name>p.msi</name><full_url>http://h/p.msi</full_url>"
        "<transform><lang_id>1031</lang_id><name>a.mst</name></transform>"
        "<transform><name>dropped.mst</name></transform>"
        "<transform><lang_id>12ab</lang_id><name>b.mst</name></transform></main_component>"
        "<language_pack><lang_id>abc</lang_id><pid>P17XX</pid></language_pack>"
        "<language_pack><pid>dropped</pid></language_pack>"
        "<language_pack><lang_id>1036</lang_id></language_pack>"
        "<dependency><full_url>http://h/dropped.exe</full_url></dependency>"
        "<dependency><name>bonjour.msi</name><install_commandline>/qn</install_commandline></dependency>"));
    ASSERT_EQ(m.transforms.size(), 2u);
    EXPECT_EQ(m.transforms[0].name, L"a.mst");
    EXPECT_EQ(m.transforms[1].lang_id, 12);
    EXPECT_EQ(m.transforms[1].name, L"b.mst");
    ASSERT_EQ(m.language_packs.size(), 2u);
    EXPECT_EQ(m.language_packs[0].lang_id, 0); // abc is kept with id 0
    EXPECT_EQ(m.language_packs[0].pid, L"P17XX");
    EXPECT_EQ(m.language_packs[1].lang_id, 1036);
    ASSERT_EQ(m.dependencies.size(), 1u);
    EXPECT_EQ(m.dependencies[0].name, L"bonjour.msi");
    EXPECT_EQ(m.dependencies[0].full_url, L"");
    EXPECT_EQ(m.dependencies[0].install_commandline, L"/qn");
}

TEST_F(ManifestReader, PublisherIsReadAsTheLastChildOfProductOnly) {
    const std::string deps = "<dependency><name>vc_redist.exe</name></dependency>";
    const std::string publisher = "<publisher>CN=NVX Systems, O=&quot;NVX, Inc.&quot;</publisher>";
    const ManifestCase cases[] = {
        {"after the dependencies", Product(kHead + kMain + deps + publisher),
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.publisher, L"CN=NVX Systems, O=\"NVX, Inc.\"");
             EXPECT_EQ(m.dependencies.size(), 1u);
         }},
        {"right after the head, with no lists", Product(kHead + publisher),
         [](const ManifestInfo& m) { EXPECT_EQ(m.publisher, L"CN=NVX Systems, O=\"NVX, Inc.\""); }},
        {"before the lists: not found, and the lists are read as without it",
         Product(kHead + publisher + kMain + deps),
         [](const ManifestInfo& m) {
             EXPECT_EQ(m.publisher, L"");
             EXPECT_EQ(m.main_component_url, L"http://h/p.msi");
             EXPECT_EQ(m.dependencies.size(), 1u);
         }},
        {"absent", Product(kHead + kMain + deps), [](const ManifestInfo& m) { EXPECT_EQ(m.publisher, L""); }},
    };
    for (const ManifestCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(Parsed(c.xml));
    }
}

TEST_F(ManifestReader, ReadsOptionalPinsWhereverTheyStandWithoutMovingTheSearch) {
    const std::string pin(64, 'a');
    const std::string other(64, 'B');
    // Each pin stands where a forward search would lose the fields after it: before the key,
    // between the fields, last.
    ManifestInfo m = Parsed(Product(
        kHead + "<main_component><sha256>" + pin +
        "</sha256><name>p.msi</name><executable>L.exe</executable>"
        "<full_url>http://h/p.msi</full_url>"
        "<transform><lang_id>1031</lang_id><sha256>" +
        other +
        "</sha256><name>de.mst</name>"
        "<full_url>http://h/de.mst</full_url></transform>"
        "<transform><lang_id>1036</lang_id><name>fr.mst</name><full_url>http://h/fr.mst</full_url></"
        "transform>"
        "</main_component>"
        "<language_pack><sha256>not a pin</sha256><lang_id>1031</lang_id><pid>DE</pid><name>lp.exe</name>"
        "<full_url>http://h/lp.exe</full_url></language_pack>"
        "<dependency><name>vc_redist.exe</name><full_url>http://h/vc.exe</full_url>"
        "<install_commandline>/q</install_commandline><sha256></sha256></dependency>"
        "<dependency><name>webview2.exe</name><full_url>http://h/wv.exe</full_url></dependency>"));
    EXPECT_EQ(m.main_component_name, L"p.msi");
    EXPECT_EQ(m.main_component_executable, L"L.exe");
    EXPECT_EQ(m.main_component_url, L"http://h/p.msi");
    EXPECT_EQ(m.main_component_sha256, std::wstring(64, L'a'));
    ASSERT_EQ(m.transforms.size(), 2u);
    EXPECT_EQ(m.transforms[0].name, L"de.mst");
    EXPECT_EQ(m.transforms[0].full_url, L"http://h/de.mst");
    EXPECT_EQ(m.transforms[0].sha256, std::wstring(64, L'B'));
    EXPECT_EQ(m.transforms[1].sha256, std::nullopt);
    ASSERT_EQ(m.language_packs.size(), 1u);
    EXPECT_EQ(m.language_packs[0].pid, L"DE");
    EXPECT_EQ(m.language_packs[0].full_url, L"http://h/lp.exe");
    // Malformed pins are kept as written: they match no file, and are never dropped unseen.
    EXPECT_EQ(m.language_packs[0].sha256, L"not a pin");
    ASSERT_EQ(m.dependencies.size(), 2u);
    EXPECT_EQ(m.dependencies[0].install_commandline, L"/q");
    EXPECT_EQ(m.dependencies[0].sha256, L"");
    EXPECT_EQ(m.dependencies[1].sha256, std::nullopt);

    // Without pins nothing changes.
    ManifestInfo plain = Parsed(Product(kHead + kMain));
    EXPECT_EQ(plain.main_component_sha256, std::nullopt);
}

TEST_F(ManifestReader, StandaloneIsTrueOnlyForTheWordTrueInAnyCase) {
    const std::pair<std::string, bool> cases[] = {
        {"<standalone>true</standalone>", true},
        {"<standalone>TRUE</standalone>", true},
        {"<standalone>tRuE</standalone>", true},
        {"<standalone> true</standalone>", false},
        {"<standalone>true </standalone>", false},
        {"<standalone>1</standalone>", false},
        {"<standalone>yes</standalone>", false},
        {"<standalone/>", false},
        {"", false},
    };
    for (const auto& [element, expected] : cases)
        EXPECT_EQ(Parsed(Product(kHead + element + kMain)).standalone, expected) << element;
}

TEST_F(ManifestReader, KeepsValuesAsWrittenWithReferencesDecoded) {
    ManifestInfo m = Parsed(Product("<pid> P17EN\t</pid><full_name>Lumetra &amp; Co &#x263A;</full_name>"
                                    "<short_name><![CDATA[<Lumetra>]]></short_name>"
                                    "<registry>R<!-- no --></registry>" +
                                    kMain));
    EXPECT_EQ(m.pid, L" P17EN\t");
    EXPECT_EQ(m.full_name, L"Lumetra & Co \u263A");
    EXPECT_EQ(m.short_name, L"<Lumetra>");
    EXPECT_EQ(m.registry, L"R");
}

TEST_F(ManifestReader, ReadsTheSameManifestInOtherEncodings) {
    std::string ascii = Product(kHead + "<full_name>Lumetra</full_name>" + kMain);
    const std::pair<const char*, std::string> encodings[] = {
        {"UTF-16LE", Utf16(ascii, false)},
        {"UTF-16BE", Utf16(ascii, true)},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + ascii},
    };
    for (const auto& [name, bytes] : encodings) {
        ManifestInfo m = Parsed(bytes);
        EXPECT_EQ(m.pid, L"P17EN") << name;
        EXPECT_EQ(m.full_name, L"Lumetra") << name;
        EXPECT_EQ(m.main_component_url, L"http://h/p.msi") << name;
    }
    ManifestInfo latin = Parsed("<?xml version=\"1.0\" encoding=\"windows-1252\"?>" +
                                Product(kHead + "<full_name>Gr\xFC\xDF \x80</full_name>" + kMain));
    EXPECT_EQ(latin.full_name, L"Gr\u00FC\u00DF \u20AC");
}

TEST_F(ManifestReader, HugeValuesAreReadWhole) {
    std::string name(4 << 20, 'n');
    ManifestInfo m =
        Parsed(Product(kHead + "<full_name>" + name + "</full_name>" + kMain +
                       "<language_pack><lang_id>99999999999999999999</lang_id></language_pack>"
                       "<language_pack><lang_id>-99999999999999999999</lang_id></language_pack>"));
    EXPECT_EQ(m.full_name.size(), name.size());
    ASSERT_EQ(m.language_packs.size(), 2u);
    EXPECT_EQ(m.language_packs[0].lang_id, INT32_MAX);
    EXPECT_EQ(m.language_packs[1].lang_id, INT32_MIN);
}

TEST_F(ManifestReader, UnreadableFilesFailAndLeaveTheTargetAlone) {
    const std::pair<const char*, std::string> cases[] = {
        {"empty file", ""},
        {"not well-formed", Product(kHead + "<full_name>x</fullname>" + kMain)},
        {"truncated", Product(kHead + kMain).substr(0, 60)},
        {"two document elements", Product(kHead) + "<nvxwebinstaller/>"},
        {"only blanks", "  \r\n "},
        {"binary noise", std::string("\x00\x01\xFF\xFE<\x00", 6)},
    };
    for (const auto& [name, bytes] : cases) {
        ManifestInfo target;
        target.pid = L"kept";
        EXPECT_FALSE(Parse(bytes, target)) << name;
        EXPECT_EQ(target.pid, L"kept") << name;
    }
    CInstallConfig config;
    config.manifest_path = (folder_.path() / "missing.xml").wstring();
    ManifestInfo target;
    EXPECT_FALSE(ParseManifest(config.manifest_path, target));
}

TEST_F(ManifestReader, AppendsToTheListsOfTheTarget) {
    ManifestInfo m;
    m.language_packs.push_back({1028, L"earlier", L"", L""});
    ASSERT_TRUE(Parse(Product(kHead + kMain + "<language_pack><lang_id>1031</lang_id></language_pack>"), m));
    ASSERT_EQ(m.language_packs.size(), 2u);
    EXPECT_EQ(m.language_packs[0].lang_id, 1028);
    EXPECT_EQ(m.language_packs[1].lang_id, 1031);
}

// --- version.xml ---

class VersionXml : public ManifestReader {
protected:
    // A configuration whose manifest already holds values the release section may replace.
    CInstallConfig Configured() {
        CInstallConfig config;
        config.manifest.standalone_version = L"17.0.0.100";
        config.manifest.fresh_install = {L"old-fresh", L"old-fresh-min", L"old-fresh-url"};
        config.manifest.patch_install = {L"old-patch", L"old-patch-min", L"old-patch-url"};
        return config;
    }
    std::wstring WriteVersionXml(const std::string& bytes) {
        return folder_.Write("version.xml", bytes).wstring();
    }
};

std::string Release(const char* section, const char* version, const char* minimum, const char* url) {
    return std::string("<") + section + "><product_version>" + version +
           "</product_version><min_web_installer_version>" + minimum +
           "</min_web_installer_version><web_installer_download_url>" + url +
           "</web_installer_download_url></" + section + ">";
}

struct VersionCase {
    const char* name;
    std::string xml;
    ReleaseInfo fresh;
    ReleaseInfo patch;
    const wchar_t* standalone_version;
};

TEST_F(VersionXml, ReadsTheReleaseSectionsInOrder) {
    const ReleaseInfo kOldFresh{L"old-fresh", L"old-fresh-min", L"old-fresh-url"};
    const ReleaseInfo kOldPatch{L"old-patch", L"old-patch-min", L"old-patch-url"};
    const ReleaseInfo kNewFresh{L"17.0.0.200", L"1.0.0.4", L"http://h/fresh.exe"};
    const ReleaseInfo kNewPatch{L"17.0.0.201", L"1.0.0.6", L"http://h/patch.exe"};
    const std::string kFresh = Release("fresh_install", "17.0.0.200", "1.0.0.4", "http://h/fresh.exe");
    const std::string kPatch = Release("patch_install", "17.0.0.201", "1.0.0.6", "http://h/patch.exe");
    const VersionCase cases[] = {
        {"both sections after product_code",
         "<nvxwebinstaller><product_code>{C0DE}</product_code>" + kFresh + kPatch + "</nvxwebinstaller>",
         kNewFresh, kNewPatch, L"17.0.0.201"},
        {"without product_code", "<nvxwebinstaller>" + kFresh + kPatch + "</nvxwebinstaller>", kNewFresh,
         kNewPatch, L"17.0.0.201"},
        {"without patch_install the manifest's standalone version stays",
         "<nvxwebinstaller><product_code>x</product_code>" + kFresh + "</nvxwebinstaller>", kNewFresh,
         kOldPatch, L"17.0.0.100"},
        {"fresh_install before product_code is not read",
         "<nvxwebinstaller>" + kFresh + "<product_code>x</product_code>" + kPatch + "</nvxwebinstaller>",
         kOldFresh, kNewPatch, L"17.0.0.201"},
        {"patch_install before fresh_install is not read",
         "<nvxwebinstaller>" + kPatch + kFresh + "</nvxwebinstaller>", kNewFresh, kOldPatch, L"17.0.0.100"},
        {"partial sections keep the other fields",
         "<nvxwebinstaller><fresh_install><min_web_installer_version>1.0.0.9</min_web_installer_version>"
         "</fresh_install><patch_install><web_installer_download_url>http://h/u</web_installer_download_url>"
         "</patch_install></nvxwebinstaller>",
         {L"old-fresh", L"1.0.0.9", L"old-fresh-url"},
         {L"old-patch", L"old-patch-min", L"http://h/u"},
         L"17.0.0.100"},
        {"children out of order are not found",
         "<nvxwebinstaller><patch_install><web_installer_download_url>http://h/u</web_installer_download_url>"
         "<product_version>17.0.0.300</product_version></patch_install></nvxwebinstaller>",
         kOldFresh,
         {L"17.0.0.300", L"old-patch-min", L"old-patch-url"},
         L"17.0.0.300"},
        {"empty elements give empty values",
         "<nvxwebinstaller><patch_install><product_version/><min_web_installer_version></"
         "min_web_installer_version>"
         "</patch_install></nvxwebinstaller>",
         kOldFresh,
         {L"", L"", L"old-patch-url"},
         L""},
        {"another document element changes nothing", "<release>" + kFresh + kPatch + "</release>", kOldFresh,
         kOldPatch, L"17.0.0.100"},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.name);
        CInstallConfig config = Configured();
        ASSERT_TRUE(ParseVersionXml(WriteVersionXml(c.xml), config.manifest));
        const ReleaseInfo* actual[] = {&config.manifest.fresh_install, &config.manifest.patch_install};
        const ReleaseInfo* expected[] = {&c.fresh, &c.patch};
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(actual[i]->product_version, expected[i]->product_version) << i;
            EXPECT_EQ(actual[i]->min_web_installer_version, expected[i]->min_web_installer_version) << i;
            EXPECT_EQ(actual[i]->web_installer_download_url, expected[i]->web_installer_download_url) << i;
        }
        EXPECT_EQ(config.manifest.standalone_version, c.standalone_version);
    }
}

TEST_F(VersionXml, AFileLargerThanOneMebibyteIsNoReleaseData) {
    const std::string head = "<nvxwebinstaller>" + Release("patch_install", "17.0.0.300", "1", "u") + "<!--";
    const std::string tail = "--></nvxwebinstaller>";
    const size_t limit = 1024 * 1024;
    std::string at_limit = head + std::string(limit - head.size() - tail.size(), 'x') + tail;
    ASSERT_EQ(at_limit.size(), limit);
    CInstallConfig config = Configured();
    EXPECT_TRUE(ParseVersionXml(WriteVersionXml(at_limit), config.manifest));
    EXPECT_EQ(config.manifest.patch_install.product_version, L"17.0.0.300");

    std::string over = head + std::string(limit - head.size() - tail.size() + 1, 'x') + tail;
    CInstallConfig refused = Configured();
    EXPECT_FALSE(ParseVersionXml(WriteVersionXml(over), refused.manifest));
    EXPECT_EQ(refused.manifest.patch_install.product_version, L"old-patch");
}

TEST_F(VersionXml, FailsWithoutChangesWhenTheFileCannotBeRead) {
    const std::wstring paths[] = {
        L"",
        (folder_.path() / "missing.xml").wstring(),
        folder_.wpath(), // a folder
        WriteVersionXml("<nvxwebinstaller>" + Release("patch_install", "9.9.9.9", "1", "u")),
    };
    for (const std::wstring& path : paths) {
        CInstallConfig config = Configured();
        EXPECT_FALSE(ParseVersionXml(path, config.manifest)) << testing::PrintToString(path);
        EXPECT_EQ(config.manifest.patch_install.product_version, L"old-patch");
        EXPECT_EQ(config.manifest.standalone_version, L"17.0.0.100");
    }
}

} // namespace
