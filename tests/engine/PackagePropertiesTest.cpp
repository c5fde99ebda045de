// The property string of the product's package and the folder spellings behind it.
#include "engine/PackageProperties.h"
#include "framework/PathText.h"

#include <gtest/gtest.h>

TEST(PackageProperties, FollowTheInstallationAndTheChoicesMade) {
    struct Case {
        const char* name;
        PackagePropertyInputs inputs;
        const wchar_t* expected;
    };
    const std::wstring transforms = L"C:\\web\\transform\\";
    const Case cases[] = {
        {"nothing installed, no folder yet, English, level 0",
         {{1033, true, L"C:\\Program Files\\NVX Systems", 0, false}, false, transforms},
         L" SHELL_INTEGRATION_LEVEL=\"All\""},
        {"first installation into an existing folder, German from several, level 1",
         {{1031, true, L"C:\\Program Files\\NVX Systems\\", 1, false}, true, transforms, true},
         L"INSTALLDIR=\"C:\\Program Files\\NVX Systems\" TRANSFORMS=\"C:\\web\\transform\\1031.mst\" "
         L"SHELL_INTEGRATION_LEVEL=\"Free\""},
        {"update, German from several, level 2",
         {{1031, true, L"C:\\Program Files\\NVX Systems", 2, true}, true, transforms, true},
         L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress "
         L"TRANSFORMS=\"C:\\web\\transform\\1031.mst\" "
         L"SHELL_INTEGRATION_LEVEL=\"None\""},
        {"update in English",
         {{1033, true, L"", 0, true}, false, transforms},
         L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress SHELL_INTEGRATION_LEVEL=\"All\""},
        {"German as the only language: no transform part",
         {{1031, false, L"D:\\Apps", 0, false}, true, transforms, true},
         L"INSTALLDIR=\"D:\\Apps\" SHELL_INTEGRATION_LEVEL=\"All\""},
        {"no folder, French: leading space before the transform",
         {{1036, true, L"D:\\x", 1, false}, false, transforms, true},
         L" TRANSFORMS=\"C:\\web\\transform\\1036.mst\" SHELL_INTEGRATION_LEVEL=\"Free\""},
        {"German from several, but no transform of this run: nothing in the folder is named",
         {{1031, true, L"D:\\x", 1, false}, true, transforms, false},
         L"INSTALLDIR=\"D:\\x\" SHELL_INTEGRATION_LEVEL=\"Free\""},
        {"an update in German without a transform of this run",
         {{1031, true, L"", 2, true}, false, transforms, false},
         L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress SHELL_INTEGRATION_LEVEL=\"None\""},
        {"a level outside the table gives an empty word",
         {{1033, true, L"D:\\x\\\\", 3, false}, true, transforms},
         L"INSTALLDIR=\"D:\\x\" SHELL_INTEGRATION_LEVEL=\"\""},
        {"negative level",
         {{1033, true, L"D:\\x", -1, false}, true, transforms},
         L"INSTALLDIR=\"D:\\x\" SHELL_INTEGRATION_LEVEL=\"\""},
        {"a drive root keeps its backslash",
         {{1033, true, L"E:\\", 0, false}, true, transforms},
         L"INSTALLDIR=\"E:\\\" SHELL_INTEGRATION_LEVEL=\"All\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildPackageProperties(c.inputs), c.expected) << c.name;
}

TEST(PackageProperties, FoldersAndNamesJoinWithOneBackslash) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* without;
        const wchar_t* joined;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\NVX Systems", L"C:\\Program Files\\NVX Systems",
         L"C:\\Program Files\\NVX Systems\\Lumetra.exe"},
        {L"C:\\Program Files\\NVX Systems\\", L"C:\\Program Files\\NVX Systems",
         L"C:\\Program Files\\NVX Systems\\Lumetra.exe"},
        {L"C:\\a\\\\", L"C:\\a", L"C:\\a\\Lumetra.exe"},
        {L"C:\\", L"C:\\", L"C:\\Lumetra.exe"},
        {L"C:", L"C:\\", L"C:\\Lumetra.exe"},
        {L"", L"", L"\\Lumetra.exe"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithoutTrailingBackslash(c.folder), c.without) << testing::PrintToString(c.folder);
        EXPECT_EQ(JoinPath(c.folder, L"Lumetra.exe"), c.joined) << testing::PrintToString(c.folder);
    }
}
