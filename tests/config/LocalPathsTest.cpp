// Names of the local folders and downloaded files.
#include "config/LocalPaths.h"

#include <gtest/gtest.h>

namespace {

TEST(ModuleFolderOf, IsTheTextBeforeTheLastBackslash) {
    EXPECT_EQ(ModuleFolderOf(L"C:\\Setup\\web\\webinstaller.exe"), L"C:\\Setup\\web");
    EXPECT_EQ(ModuleFolderOf(L"\\webinstaller.exe"), L"");
    EXPECT_EQ(ModuleFolderOf(L"webinstaller.exe"), std::nullopt);
    EXPECT_EQ(ModuleFolderOf(L""), std::nullopt);
}

struct DownloadCase {
    bool standalone;
    uint32_t tick;
    const wchar_t* name;
    const wchar_t* expected;
};

TEST(FormatDownloadPath, PutsTheTickCountInFrontUnlessStandalone) {
    const DownloadCase cases[] = {
        {false, 12345678, L"version.xml", L"C:\\w\\component\\12345678version.xml"},
        {true, 12345678, L"version.xml", L"C:\\w\\component\\version.xml"},
        {false, 0, L"vc_redist.exe", L"C:\\w\\component\\0vc_redist.exe"},
        // After 24.8 days of uptime the count prints as a negative number.
        {false, 0x80000000u, L"version.xml", L"C:\\w\\component\\-2147483648version.xml"},
        {false, 0xFFFFFFFFu, L"bonjour.msi", L"C:\\w\\component\\-1bonjour.msi"},
    };
    for (const DownloadCase& c : cases)
        EXPECT_EQ(FormatDownloadPath(L"C:\\w\\component\\", c.standalone, c.tick, c.name), c.expected);
}

TEST(LanguagePackFileName, NamesTheLanguage) {
    EXPECT_EQ(LanguagePackFileName(1031), L"language_pack_1031.exe");
    EXPECT_EQ(FormatDownloadPath(L"C:\\w\\component\\", false, 77, LanguagePackFileName(2052)),
              L"C:\\w\\component\\77language_pack_2052.exe");
}

TEST(UpdaterPath, IsAFreshFolderNamedByTheTickCount) {
    std::wstring folder = UpdaterFolderPath(L"C:\\Temp\\", 4242);
    EXPECT_EQ(folder, L"C:\\Temp\\NVXWebInstaller_4242");
    EXPECT_EQ(UpdaterFilePath(folder, L"Lumetra Professional"),
              L"C:\\Temp\\NVXWebInstaller_4242\\Lumetra Professional.exe");
    EXPECT_EQ(UpdaterFolderPath(L"C:\\Temp\\", 0xFFFFFFFEu), L"C:\\Temp\\NVXWebInstaller_-2");
    // A display name that is no file name still gives the updater a file in its folder.
    EXPECT_EQ(UpdaterFilePath(folder, L"Lumetra Photo/Video"),
              L"C:\\Temp\\NVXWebInstaller_4242\\Lumetra Photo_Video.exe");
    EXPECT_EQ(UpdaterFilePath(folder, L"..\\..\\Startup\\x"),
              L"C:\\Temp\\NVXWebInstaller_4242\\____Startup_x.exe");
    EXPECT_EQ(UpdaterFilePath(folder, L"CON"), L"C:\\Temp\\NVXWebInstaller_4242\\webinstaller.exe");
}

} // namespace
