// Attacks on the files the engine downloads and runs with the installer's rights, tried under
// Wine against the real engine: files that are not what the manifest pins, files replaced
// between their download and their use, transforms nobody planned, names that climb out of
// their folders, and folders that are links to somewhere else.
#include "config/Sha256Pin.h"
#include "framework/Cng.h"
#include "framework/Handles.h"
#include "framework/PathText.h"
#include "localization/UIStrings.h"
#include "tests/engine/EngineDriver.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/net/NetServers.h"
#include "tests/support/ProcessRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <iostream>
#include <optional>

using namespace enginetest;

namespace {

constexpr wchar_t kFixtureExe[] = L"engine_fixture_installer.exe";

// The SHA-256 of a file as 64 hexadecimal digits; empty when it cannot be read.
std::wstring FileSha256(const std::wstring& path) {
    nvx::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    std::array<uint8_t, 32> digest{};
    if (!file || !nvx::cng::Sha256OfFile(file.get(), digest))
        return {};
    return Sha256Text(digest);
}

std::wstring FixtureSha256(const std::wstring& fixture) {
    return FileSha256(FixturePath(fixture));
}

// Files in a folder whose names end with `end`.
std::vector<std::wstring> FilesEndingWith(const std::wstring& folder, const std::wstring& end) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry{};
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return found;
    do {
        std::wstring name = entry.cFileName;
        if (name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0)
            found.push_back(name);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return found;
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& part) {
    return std::any_of(texts.begin(), texts.end(),
                       [&part](const std::wstring& text) { return text.find(part) != std::wstring::npos; });
}

// An installer that checks the served version file and downloads the package.
ManifestInfo DownloadingManifest(CServedFolder& served) {
    ManifestInfo manifest = BaseManifest();
    manifest.version_check_url = served.ServeText(VersionXml(), L"version.xml");
    manifest.main_component_url = served.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
    return manifest;
}

// A downloading installer in German with a prerequisite, the package, its German transform and
// the German language pack, every file pinned to what the maker built.
ManifestInfo PinnedManifest(CServedFolder& served) {
    ManifestInfo manifest = DownloadingManifest(served);
    manifest.main_component_sha256 = FixtureSha256(L"LumetraEngineTest.msi");
    manifest.transforms = {
        {1031, L"de.mst", served.Serve(L"1031.mst", L"de.mst"), FixtureSha256(L"1031.mst")}};
    manifest.language_packs = {{1031, L"LUMPRO17DE", L"language_pack_1031.exe",
                                served.Serve(kFixtureExe, L"language_pack_1031.exe"),
                                FixtureSha256(kFixtureExe)}};
    manifest.dependencies = {{L"vc_redist.exe", served.Serve(kFixtureExe, L"vc_redist.exe"), L"/install",
                              FixtureSha256(kFixtureExe)}};
    return manifest;
}

} // namespace

TEST(EngineSecurity, AFileThatIsNotWhatTheManifestPinsIsDeletedAndEndsTheInstallation) {
    // What the server sends in place of the maker's file: another program, another package.
    const std::wstring other = FixtureSha256(L"bonjour.msi");
    ASSERT_EQ(other.size(), 64u);
    struct Case {
        const char* name;
        std::function<void(ManifestInfo&)> tamper;
        const wchar_t* refused; // the step named in the box; null: nothing refused
        bool product_installed;
    };
    const Case cases[] = {
        {"every file as pinned, the pins in capitals",
         [](ManifestInfo& m) {
             for (wchar_t& c : *m.main_component_sha256)
                 c = static_cast<wchar_t>(std::towupper(c));
         },
         nullptr, true},
        {"the prerequisite", [&](ManifestInfo& m) { m.dependencies[0].sha256 = other; }, L"vc_redist.exe",
         false},
        {"the package", [&](ManifestInfo& m) { m.main_component_sha256 = other; }, L"LumetraEngineTest.msi",
         false},
        {"the package under a malformed pin", [](ManifestInfo& m) { m.main_component_sha256 = L"12ab"; },
         L"LumetraEngineTest.msi", false},
        {"the transform", [&](ManifestInfo& m) { m.transforms[0].sha256 = other; }, L"de.mst", false},
        {"the language pack", [&](ManifestInfo& m) { m.language_packs[0].sha256 = other; },
         L"language_pack_1031.exe", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCleanMachine machine;
        CFixtureLog log;
        CServedFolder served;
        CInstallerFolder installer;
        ManifestInfo manifest = PinnedManifest(served);
        c.tamper(manifest);
        installer.WriteManifest(manifest);

        CEngineDriver driver(installer.module_path());
        driver.Choose(1031, ChosenInstallFolder(), 0);
        const InstallState end = driver.Run();
        EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), c.product_installed ? L"17.0.0.100" : L"");
        if (!c.refused) {
            EXPECT_EQ(end, InstallState::Finished);
            EXPECT_TRUE(driver.BoxTexts().empty()) << testing::PrintToString(driver.BoxTexts());
            EXPECT_NE(log.CommandLineOf(L"vc_redist.exe"), L"");
            EXPECT_TRUE(driver.SawDebugLine(L"Property(S): TRANSFORMS = " + driver.config.transform_folder +
                                            L"1031.mst"));
            continue;
        }
        EXPECT_EQ(end, InstallState::Failed);
        // One box, naming the file; the file is gone and was never run.
        const std::vector<std::wstring> boxes = driver.BoxTexts();
        ASSERT_EQ(boxes.size(), 1u) << testing::PrintToString(boxes);
        EXPECT_NE(boxes[0].find(c.refused), std::wstring::npos) << testing::PrintToString(boxes[0]);
        EXPECT_NE(boxes[0].find(L"is not the one its publisher released"), std::wstring::npos);
        EXPECT_EQ(log.CommandLineOf(c.refused), L"");
        std::wstring refused(c.refused);
        const std::wstring folder = refused == L"de.mst"                  ? driver.config.transform_folder
                                    : refused == L"LumetraEngineTest.msi" ? driver.config.msi_folder
                                                                          : driver.config.component_folder;
        EXPECT_EQ(FilesEndingWith(folder, refused == L"de.mst" ? L"1031.mst" : refused),
                  std::vector<std::wstring>{});
        EXPECT_TRUE(Contains(driver.DebugLines(), L"the manifest pins"));
    }
}

TEST(EngineSecurity, ADownloadedFileCannotBeReplacedBeforeItsStepRuns) {
    CCleanMachine machine;
    CFixtureLog log;
    CHoldPoint hold;
    CServedFolder served;
    CInstallerFolder installer;
    ManifestInfo manifest = DownloadingManifest(served);
    manifest.dependencies = {
        {L"vc_redist.exe", served.Serve(kFixtureExe, L"vc_redist.exe"), L"/install /hold"}};
    installer.WriteManifest(manifest);

    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    driver.Start();
    // The prerequisite runs; the package has been downloaded and waits for its turn.
    ASSERT_TRUE(hold.WaitUntilHolding());
    const std::wstring package = driver.config.msi_folder + L"LumetraEngineTest.msi";
    const std::wstring genuine = FixtureSha256(L"LumetraEngineTest.msi");
    ASSERT_EQ(FileSha256(package), genuine);

    // Another process tries to put another package in its place, to delete it and to move it.
    const std::wstring cmd = L"cmd.exe /c ";
    const std::wstring other = FixturePath(L"LumetraEngineTest-update.msi");
    nvxtest::RunAndWait(cmd + L"copy /y \"" + other + L"\" \"" + package + L"\"");
    EXPECT_EQ(FileSha256(package), genuine) << "overwritten";
    nvxtest::RunAndWait(cmd + L"del /f \"" + package + L"\"");
    EXPECT_TRUE(FileExists(package)) << "deleted";
    nvxtest::RunAndWait(cmd + L"move /y \"" + package + L"\" \"" + driver.config.msi_folder + L"moved.msi\"");
    EXPECT_TRUE(FileExists(package)) << "moved away";
    EXPECT_FALSE(FileExists(driver.config.msi_folder + L"moved.msi"));

    // The folder around it: Windows refuses to rename a folder with a file open in it without
    // delete sharing; what Wine does is recorded here (and put back, so the run can go on).
    const std::wstring folder = WithoutTrailingBackslash(driver.config.msi_folder);
    const std::wstring moved_folder = installer.module_folder() + L"\\msi-moved";
    const bool folder_moved = ::MoveFileW(folder.c_str(), moved_folder.c_str()) != FALSE;
    RecordProperty("folder_rename_allowed", folder_moved ? "yes" : "no");
    std::cout << "renaming the folder of a held file: " << (folder_moved ? "allowed" : "refused")
              << std::endl;
    if (folder_moved) {
        ASSERT_TRUE(::MoveFileW(moved_folder.c_str(), folder.c_str()));
    }

    hold.Release();
    EXPECT_EQ(driver.WaitForEnd(), InstallState::Finished);
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"17.0.0.100"); // the genuine package
    EXPECT_TRUE(driver.BoxTexts().empty()) << testing::PrintToString(driver.BoxTexts());
}

TEST(EngineSecurity, ATransformNobodyPlannedIsNeverNamed) {
    CCleanMachine machine;
    CInstallerFolder installer;
    // A standalone German installation whose manifest has no German transform, and a transform
    // that someone without administrator rights left in the transform folder.
    ManifestInfo manifest = BaseManifest();
    manifest.standalone = true;
    manifest.language_packs = {{1031, L"LUMPRO17DE", L"language_pack_1031.exe", L""}};
    ASSERT_TRUE(
        CopyFixture(L"LumetraEngineTest.msi", installer.module_folder() + L"\\msi\\LumetraEngineTest.msi"));
    ASSERT_TRUE(CopyFixture(L"1031.mst", installer.module_folder() + L"\\transform\\1031.mst"));
    installer.WriteManifest(manifest);

    CEngineDriver driver(installer.module_path());
    ASSERT_EQ(driver.config.languages.size(), 2u);
    driver.Choose(1031, ChosenInstallFolder(), 0);
    EXPECT_EQ(driver.Run(), InstallState::Finished);
    EXPECT_TRUE(driver.SawDebugLine(L"Property(S): SHELL_INTEGRATION_LEVEL = All"));
    EXPECT_FALSE(Contains(driver.DebugLines(), L"Property(S): TRANSFORMS ="))
        << "the planted transform was named";
}

TEST(EngineSecurity, NamesThatClimbOutOfTheirFoldersWriteNothingThere) {
    CCleanMachine machine;
    CFixtureLog log;
    CServedFolder served;
    CInstallerFolder installer;
    ManifestInfo manifest = BaseManifest();
    manifest.version_check_url = served.ServeText(VersionXml(), L"version.xml");
    manifest.main_component_name = L"..\\LumetraEngineTest.msi";
    manifest.main_component_url = served.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
    manifest.dependencies = {{L"\\..\\..\\evil.exe", served.Serve(kFixtureExe, L"evil.exe"), L""}};
    installer.WriteManifest(manifest);

    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    EXPECT_EQ(driver.Run(), InstallState::Finished);
    // Nothing beside the folders: the package went into msi\ under a safe name, the program
    // with the climbing name was neither stored nor run.
    EXPECT_FALSE(FileExists(installer.module_folder() + L"\\LumetraEngineTest.msi"));
    EXPECT_FALSE(FileExists(installer.module_folder() + L"\\evil.exe"));
    EXPECT_TRUE(FileExists(driver.config.msi_folder + L"__LumetraEngineTest.msi"));
    EXPECT_EQ(log.CommandLineOf(L"evil.exe"), L"");
    EXPECT_EQ(InstalledVersion(NVX_ENGINE_PRODUCT_CODE), L"17.0.0.100");
    EXPECT_TRUE(Contains(driver.DebugLines(),
                         L"dependency \"\\..\\..\\evil.exe\" refused: the name contains a path separator"));
}

TEST(EngineSecurity, AFolderThatIsALinkIsNotWrittenThrough) {
    CCleanMachine machine;
    CServedFolder served;
    CInstallerFolder installer;
    // The package folder is a junction to a folder elsewhere.
    const std::wstring elsewhere = installer.scratch() + L"\\elsewhere";
    ASSERT_TRUE(::CreateDirectoryW(elsewhere.c_str(), nullptr));
    const std::wstring link = installer.module_folder() + L"\\msi";
    nvxtest::RunAndWait(L"cmd.exe /c mklink /j \"" + link + L"\" \"" + elsewhere + L"\"");
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        // Wine 8's mklink makes no junction (nor a symbolic link to a folder): there is no link
        // to walk through, and nothing this test could show.
        GTEST_SKIP() << "this system made no junction at " << testing::PrintToString(link);
    }
    ManifestInfo manifest = DownloadingManifest(served);
    installer.WriteManifest(manifest);

    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    EXPECT_EQ(driver.Run(), InstallState::Finished);
    EXPECT_EQ(FilesEndingWith(elsewhere + L"\\", L".msi"), std::vector<std::wstring>{});
    EXPECT_EQ(::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_TRUE(FileExists(link + L"\\LumetraEngineTest.msi"));
}

TEST(EngineSecurity, AnEndlessVersionFileStopsAtOneMebibyteAndFailsTheCheck) {
    CCleanMachine machine;
    CInstallerFolder installer;
    ManifestInfo manifest = BaseManifest();
    // Announced and sent: 3 MB.
    manifest.version_check_url = nettest::ServerUrl(L"fault", L"/drip?len=3000000&chunk=65536&delay=0");
    installer.WriteManifest(manifest);

    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    EXPECT_EQ(driver.Run(), InstallState::Failed);
    EXPECT_TRUE(driver.engine().download_failed());
    EXPECT_TRUE(Contains(driver.DebugLines(), L"is larger than 1048576 bytes"));
    // Nothing of it is kept.
    EXPECT_EQ(FilesEndingWith(driver.config.component_folder, L"version.xml"), std::vector<std::wstring>{});
    ASSERT_EQ(driver.BoxTexts().size(), 1u);
    EXPECT_EQ(driver.BoxTexts()[0], ui::kErrConnectDownloadServer.default_text);
}
