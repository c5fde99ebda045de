// Names from the manifest as file names: which are refused and why, the safe names made for
// the updater and the package, and what a manifest keeps after the refusals.
#include "config/FileNameRules.h"
#include "tests/support/DiagnosticRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(FileNameRules, RefusesNamesThatLeaveTheirFolderOrOpenADevice) {
    struct Case {
        std::wstring name;
        const wchar_t* reason; // a part of the reason; null: safe
    };
    const Case cases[] = {
        {L"vc_redist.exe", nullptr},
        {L"Lumetra Professional 17.msi", nullptr},
        {L"language_pack_1031.exe", nullptr},
        {L"con.msi.bak", L"device"}, // the device name is the part before the first dot
        {L"console.exe", nullptr},
        {L"COM10.exe", nullptr},
        {L"a.b.c", nullptr},
        {L"", L"empty"},
        {L"..\\..\\Start Menu\\Programs\\Startup\\x.exe", L"separator"},
        {L"../x.exe", L"separator"},
        {L"msi\\x.msi", L"separator"},
        {L"..", L"\"..\""},
        {L"x..msi", L"\"..\""},
        {L"C:x.exe", L"colon"},
        {L"x.exe:stream", L"colon"},
        {L"x\tname.exe", L"control"},
        {std::wstring(L"x\0y.exe", 7), L"control"},
        {L"x\x7F.exe", L"control"},
        {L"what?.exe", L"does not allow"},
        {L"a*.msi", L"does not allow"},
        {L"x.exe.", L"ends with"},
        {L"x.exe ", L"ends with"},
        {L" x.exe", L"begins with"},
        {L"CON", L"device"},
        {L"nul.txt", L"device"},
        {L"Aux", L"device"},
        {L"prn .msi", L"device"},
        {L"COM1.exe", L"device"},
        {L"lpt9", L"device"},
        {L"COM\xB9.exe", L"device"},
        {L"CONIN$", L"device"},
    };
    for (const Case& c : cases) {
        const std::wstring reason = UnsafeFileNameReason(c.name);
        if (!c.reason)
            EXPECT_EQ(reason, L"") << testing::PrintToString(c.name);
        else
            EXPECT_NE(reason.find(c.reason), std::wstring::npos)
                << testing::PrintToString(c.name) << " " << testing::PrintToString(reason);
    }
}

TEST(FileNameRules, SafeNamesKeepWhatTheyCanAndAreAlwaysSafe) {
    struct Case {
        const wchar_t* name;
        const wchar_t* safe;
    };
    const Case cases[] = {
        {L"Lumetra Professional", L"Lumetra Professional"},
        {L"Lumetra Photo/Video", L"Lumetra Photo_Video"},
        {L"..\\..\\x", L"____x"},
        {L"C:\\Windows\\evil", L"C__Windows_evil"},
        {L"A|B<C>\"D\"?*", L"A_B_C__D___"},
        {L" name. . ", L"name"},
        {L"...", L"_"},
        {L"", L"fallback"},
        {L"NUL", L"fallback"},
        {L"com1.msi", L"fallback"},
    };
    for (const Case& c : cases) {
        const std::wstring safe = SafeFileName(c.name, L"fallback");
        EXPECT_EQ(safe, c.safe) << testing::PrintToString(std::wstring(c.name));
        EXPECT_EQ(UnsafeFileNameReason(safe), L"") << testing::PrintToString(safe);
    }
}

TEST(FileNameRules, AManifestKeepsItsSafeEntriesAndTellsWhyTheOthersWentAway) {
    ManifestInfo manifest;
    manifest.main_component_name = L"..\\..\\Lumetra.msi";
    manifest.dependencies = {
        {L"vc_redist.exe", L"u1", L"/q"}, {L"..\\evil.exe", L"u2", L""}, {L"", L"u3", L""}};
    manifest.transforms = {{1031, L"de.mst", L"u4"}, {1036, L"fr:stream.mst", L"u5"}};
    manifest.language_packs = {{1031, L"P", L"LPT1", L"u6"}, {1036, L"P", L"language_pack_1036.exe", L"u7"}};
    CDiagnosticRecorder diagnostics;
    RefuseUnsafeNames(manifest);

    EXPECT_EQ(manifest.main_component_name, L"____Lumetra.msi");
    ASSERT_EQ(manifest.dependencies.size(), 2u);
    EXPECT_EQ(manifest.dependencies[0].name, L"vc_redist.exe");
    EXPECT_EQ(manifest.dependencies[1].full_url, L"u3"); // no name: not this rule's to judge
    ASSERT_EQ(manifest.transforms.size(), 1u);
    EXPECT_EQ(manifest.transforms[0].lang_id, 1031);
    ASSERT_EQ(manifest.language_packs.size(), 1u);
    EXPECT_EQ(manifest.language_packs[0].lang_id, 1036);

    const std::vector<std::wstring> lines = diagnostics.Texts();
    const wchar_t* expected[] = {L"dependency \"..\\evil.exe\" refused: the name contains a path separator",
                                 L"transform \"fr:stream.mst\" refused: the name contains a colon",
                                 L"language pack \"LPT1\" refused: the name is a reserved device name",
                                 L"main component name \"..\\..\\Lumetra.msi\" refused"};
    for (const wchar_t* text : expected) {
        EXPECT_TRUE(
            std::any_of(lines.begin(), lines.end(),
                        [text](const std::wstring& line) { return line.find(text) != std::wstring::npos; }))
            << testing::PrintToString(std::wstring(text)) << " not in " << testing::PrintToString(lines);
    }
}

} // namespace
