// Prerequisite and language-pack installers started as the engine starts them: programs with
// their arguments and a quoted path, ".msi" files through msiexec.
#include "engine/ExternalInstaller.h"
#include "engine/Prerequisites.h"
#include "framework/Handles.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/ScopedSettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <thread>

using namespace enginetest;

namespace {

// An installer downloaded into a component folder whose path has a space, and a program
// planted at the prefix of that path that ends at the space.
struct PlantedPrefix {
    CInstallerFolder folder{L"Some Name"};
    std::wstring planted = folder.scratch() + L"\\Some.exe";
    InstallStep step{L"vc_redist.exe",
                     L"",
                     folder.module_folder() + L"\\component\\12345vc_redist.exe",
                     L"/install /quiet /norestart",
                     1,
                     StepKind::External};

    PlantedPrefix() {
        EXPECT_TRUE(CopyFixture(L"engine_fixture_installer.exe", planted));
        EXPECT_TRUE(CopyFixture(L"engine_fixture_installer.exe", step.local_path));
    }
};

} // namespace

TEST(ExternalInstaller, APathWithSpacesIsQuotedSoAPlantedPrefixProgramNeverRuns) {
    CCleanMachine machine;
    PlantedPrefix setup;
    {
        // The fault being guarded against: the same command line without quotes starts the
        // planted program instead of the installer.
        CFixtureLog log;
        ASSERT_EQ(nvxtest::RunAndWait(setup.step.local_path + L" " + setup.step.command_line), 0u);
        EXPECT_NE(log.CommandLineOf(L"Some.exe"), L"")
            << "the unquoted path did not reach the planted program; lines: "
            << testing::PrintToString(log.Lines());
    }
    CFixtureLog log;
    EXPECT_TRUE(RunExternalInstaller(setup.step));
    EXPECT_EQ(log.CommandLineOf(L"Some.exe"), L"");
    EXPECT_EQ(log.CommandLineOf(L"12345vc_redist.exe"),
              L"\"" + setup.step.local_path + L"\" /install /quiet /norestart");
    // The installer ran to its end before the call returned.
    EXPECT_TRUE(IsPrerequisiteInstalled(L"vc_redist.exe"));
}

TEST(ExternalInstaller, WaitsForAProgramEvenWhenItsExitCodeIsStillActive) {
    CInstallerFolder folder;
    InstallStep step{L"tool.exe",      L"", folder.module_folder() + L"\\component\\tool.exe",
                     L"/exitcode=259", 1,   StepKind::External};
    ASSERT_TRUE(CopyFixture(L"engine_fixture_installer.exe", step.local_path));
    // Run on a thread of its own: a wait that never ends must fail the test, not hang it.
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread([step, done] {
        RunExternalInstaller(step);
        *done = true;
    }).detach();
    DWORD start = ::GetTickCount();
    while (!*done && ::GetTickCount() - start < 30000)
        ::Sleep(20);
    EXPECT_TRUE(*done) << "RunExternalInstaller did not return for a program that exited with 259";
}

TEST(ExternalInstaller, AnMsiRunsThroughMsiexecWithItsArguments) {
    CCleanMachine machine;
    CInstallerFolder folder(L"Some Name");
    InstallStep step{L"bonjour.msi", L"", folder.module_folder() + L"\\component\\777bonjour.msi",
                     L"/qn",         1,   StepKind::External};
    ASSERT_TRUE(CopyFixture(L"bonjour.msi", step.local_path));
    ASSERT_FALSE(IsPrerequisiteInstalled(L"bonjour.msi"));
    EXPECT_TRUE(RunExternalInstaller(step));
    EXPECT_TRUE(IsPrerequisiteInstalled(L"bonjour.msi"));
    EXPECT_EQ(InstalledVersion(kBonjourProductCode), L"3.1.0.1");
}

TEST(ExternalInstaller, AMissingProgramIsNotStarted) {
    InstallStep step{L"gone.exe", L"", L"C:\\nowhere at all\\gone.exe", L"/s", 1, StepKind::External};
    EXPECT_FALSE(RunExternalInstaller(step));
}

namespace {

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length);
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

} // namespace

TEST(ExternalInstaller, AProgramStartsInTheSystemFolderAskingForSystemDllsFirst) {
    CCleanMachine machine;
    CInstallerFolder folder;
    InstallStep step{L"vc_redist.exe", L"", folder.module_folder() + L"\\component\\99vc_redist.exe",
                     L"/where",        1,   StepKind::External};
    ASSERT_TRUE(CopyFixture(L"engine_fixture_installer.exe", step.local_path));
    // The test's own current folder is the installer's: what lies there must not be found.
    nvxtest::CScopedCurrentDirectory here(folder.module_folder());
    CFixtureLog log;
    ASSERT_TRUE(RunExternalInstaller(step));
    const std::wstring where = log.CommandLineOf(L".where");
    const size_t bar = where.find(L'|');
    ASSERT_NE(bar, std::wstring::npos) << testing::PrintToString(log.Lines());
    EXPECT_TRUE(SameFolder(where.substr(0, bar), SystemFolder())) << testing::PrintToString(where);
    // The policy as the started program sees it: Windows says "prefer-system32"; Wine 8 takes
    // the attribute and ignores it. Recorded, for the reader of the results.
    const std::wstring policy = where.substr(bar + 1);
    RecordProperty("image_load_policy", std::string(policy.begin(), policy.end()));
    std::cout << "image load policy seen by the started program: "
              << std::string(policy.begin(), policy.end()) << std::endl;
    EXPECT_NE(policy, L"") << testing::PrintToString(where);
}

TEST(ExternalInstaller, MsiexecIsTheSystemsEvenWithAnotherOneNearer) {
    CCleanMachine machine;
    CInstallerFolder folder;
    // A program named msiexec in the current folder and registered for the user under App
    // Paths: the two places a search by bare name looks before the system folder.
    const std::wstring planted = folder.module_folder() + L"\\Msiexec.exe";
    ASSERT_TRUE(CopyFixture(L"engine_fixture_installer.exe", planted));
    nvxtest::CScopedRegistryValue app_path(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Msiexec.exe", L"");
    ASSERT_TRUE(app_path.SetString(planted));
    nvxtest::CScopedCurrentDirectory here(folder.module_folder());
    InstallStep step{L"bonjour.msi", L"", folder.module_folder() + L"\\component\\778bonjour.msi",
                     L"/qn",         1,   StepKind::External};
    ASSERT_TRUE(CopyFixture(L"bonjour.msi", step.local_path));
    CFixtureLog log;
    EXPECT_TRUE(RunExternalInstaller(step));
    EXPECT_EQ(log.CommandLineOf(L"Msiexec.exe"), L"") << "the planted msiexec ran";
    EXPECT_TRUE(IsPrerequisiteInstalled(L"bonjour.msi"));
    EXPECT_EQ(MsiexecPath(L"C:\\windows\\system32"), L"C:\\windows\\system32\\msiexec.exe");
}
