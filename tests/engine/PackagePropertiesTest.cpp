// The property string of the product's package and the folder spellings behind it.
#include "engine/PackageProperties.h"

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
         {false, false, L"C:\\Program Files\\NVX Systems", true, 1033, transforms, 0},
         L" SHELL_INTEGRATION_LEVEL=\"All\""},
        {"first installation into an existing folder, German from several, level 1",
         {false, true, L"C:\\Program Files\\NVX Systems\\", true, 1031, transforms, 1},
         L"INSTALLDIR=\"C:\\Program Files\\NVX Systems\" TRANSFORMS=\"C:\\web\\transform\\1031.mst\" "
         L"SHELL_INTEGRATION_LEVEL=\"Free\""},
        {"update, German from several, level 2",
         {true, true, L"C:\\Program Files\\NVX Systems", true, 1031, transforms, 2},
         L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress "
         L"TRANSFORMS=\"C:\\web\\transform\\1031.mst\" "
         L"SHELL_INTEGRATION_LEVEL=\"None\""},
        {"update in English",
         {true, false, L"", true, 1033, transforms, 0},
         L"REINSTALL=ALL REINSTALLMODE=vomus REBOOT=ReallySuppress SHELL_INTEGRATION_LEVEL=\"All\""},
        {"German as the only language: no transform part",
         {false, true, L"D:\\Apps", false, 1031, transforms, 0},
         L"INSTALLDIR=\"D:\\Apps\" SHELL_INTEGRATION_LEVEL=\"All\""},
        {"no folder, French: leading space before the transform",
         {false, false, L"D:\\x", true, 1036, transforms, 1},
         L" TRANSFORMS=\"C:\\web\\transform\\1036.mst\" SHELL_INTEGRATION_LEVEL=\"Free\""},
        {"a level outside the table gives an empty word",
         {false, true, L"D:\\x\\\\", true, 1033, transforms, 3},
         L"INSTALLDIR=\"D:\\x\" SHELL_INTEGRATION_LEVEL=\"\""},
        {"negative level",
         {false, true, L"D:\\x", true, 1033, transforms, -1},
         L"INSTALLDIR=\"D:\\x\" SHELL_INTEGRATION_LEVEL=\"\""},
        {"a drive root keeps its backslash",
         {false, true, L"E:\\", true, 1033, transforms, 0},
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
