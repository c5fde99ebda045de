// A newer installer is started only when it is signed as this installer is: the system's
// reading of each kind of signature, the download held open until the start, and the real
// installer (signed by the test publisher) facing updaters signed in every way that matters.
#include "framework/Authenticode.h"
#include "framework/Handles.h"
#include "selfupdate/UpdaterStart.h"
#include "selfupdate/UpdaterTrust.h"
#include "selfupdate/VersionCheck.h"
#include "tests/net/NetServers.h"
#include "tests/selfupdate/SelfUpdateFixture.h"
#include "tests/support/DiagnosticRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace nvxtest;
using namespace selfupdatetest;

namespace {

constexpr DWORD kTimeout = 30000;
constexpr wchar_t kTestPublisher[] = L"NVX Systems Test Publisher";
constexpr wchar_t kNewerInstaller[] = L"Lumetra Professional.exe";

nvx::FileSignature ReadSignature(const std::wstring& path) {
    nvx::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file) << testing::PrintToString(path);
    return nvx::ReadFileSignature(file.get(), path);
}

bool AnyContains(const std::vector<std::wstring>& texts, const std::wstring& part) {
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::wstring& text) { return text.find(part) != std::wstring::npos; });
}

struct ReadCase {
    const wchar_t* fixture;
    nvx::SignatureState state;
    const wchar_t* subject_part; // in the subject read, when there is one
    const wchar_t* problem_part; // in the problem, for a Broken signature
};

// Wine's WinVerifyTrust answers success for the untrusted, orphan and look-alike signers; the
// chain check after it is what finds them.
TEST(UpdaterSignature, SystemReadsEachKindOfSignature) {
    const ReadCase cases[] = {
        {L"start_recorder-publisher.exe", nvx::SignatureState::Verified, L"CN=NVX Systems Test Publisher",
         L""},
        {L"start_recorder-other.exe", nvx::SignatureState::Verified, L"Other Maker", L""},
        {L"start_recorder-untrusted.exe", nvx::SignatureState::Broken, L"CN=NVX Systems Test Publisher",
         L"chain"},
        {L"start_recorder-orphan.exe", nvx::SignatureState::Broken, L"CN=NVX Systems Test Publisher",
         L"chain"},
        {L"start_recorder-lookalike.exe", nvx::SignatureState::Broken, L"CN=NVX Systems Test Publisher",
         L"chain"},
        {L"start_recorder-tampered.exe", nvx::SignatureState::Broken, L"", L"0x80096010"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.fixture)));
        nvx::FileSignature signature = ReadSignature(SignedFixturePath(c.fixture));
        EXPECT_EQ(signature.state, c.state) << testing::PrintToString(signature.problem);
        EXPECT_NE(signature.subject.find(c.subject_part), std::wstring::npos)
            << testing::PrintToString(signature.subject);
        EXPECT_NE(signature.problem.find(c.problem_part), std::wstring::npos)
            << testing::PrintToString(signature.problem);
    }
    nvx::FileSignature unsigned_program = ReadSignature(BuildFolder() + L"\\start_recorder.exe");
    EXPECT_EQ(unsigned_program.state, nvx::SignatureState::Unsigned);
    EXPECT_TRUE(unsigned_program.subject.empty());
}

// This test program is not signed: it stands for a development build of the installer.
TEST(UpdaterSignature, UnsignedInstallerSaysSoAndJudgesOnlyWhatTheManifestAsks) {
    ASSERT_EQ(nvx::OwnSignature().state, nvx::SignatureState::Unsigned);
    auto accept = [](const wchar_t* fixture, const std::wstring& publisher) {
        const std::wstring path = SignedFixturePath(fixture);
        nvx::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return AcceptUpdater(file.get(), path, publisher);
    };
    CDiagnosticRecorder recorder;
    EXPECT_TRUE(accept(L"start_recorder-other.exe", L""));
    EXPECT_TRUE(AnyContains(recorder.Texts(L"selfupdate"), L"not signed (a development build)"));
    EXPECT_TRUE(accept(L"start_recorder-publisher.exe", kTestPublisher));
    EXPECT_FALSE(accept(L"start_recorder-other.exe", kTestPublisher));
    EXPECT_TRUE(AnyContains(recorder.Texts(L"selfupdate"), L"not by the manifest's publisher"));
    EXPECT_FALSE(accept(L"start_recorder-tampered.exe", L""));
    EXPECT_TRUE(AnyContains(recorder.Texts(L"selfupdate"), L"signature does not verify"));
}

// The download, in this process: from the end of the transfer until the start, nobody can
// write, delete or rename the file; once started, it is let go.
TEST(UpdaterSignature, DownloadedUpdaterIsHeldUntilItIsStarted) {
    CNewUpdaterFolders updater_folders;
    CInstallConfig config;
    config.manifest.full_name = kFullName;
    config.manifest.fresh_install.web_installer_download_url =
        Publish(L"webinstaller.exe", SignedFixtureBytes(L"start_recorder-publisher.exe"));
    LaunchOptions app;
    ValidationState state;
    ASSERT_TRUE(DownloadUpdater(config, app, state));
    state.validation_outcome = ValidationOutcome::RunUpdater;
    const std::wstring path = state.updater_path;
    ASSERT_TRUE(state.updater_file);

    nvx::UniqueHandle writer(::CreateFileW(path.c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(writer) << "the held updater could be opened for writing";
    EXPECT_FALSE(::DeleteFileW(path.c_str())) << "the held updater could be deleted";
    EXPECT_FALSE(::MoveFileW(path.c_str(), (path + L".moved").c_str()))
        << "the held updater could be renamed";

    ASSERT_TRUE(StartDownloadedUpdater(state, L""));
    EXPECT_FALSE(state.updater_file) << "the updater is still held after its start";
    auto record = WaitForStartRecord(path, kTimeout);
    ASSERT_TRUE(record) << "the updater was not started";
    EXPECT_EQ((*record)[L"args"], L"/n");
}

struct UpdaterCase {
    const char* name;
    std::string updater; // the bytes published as the newer installer
    std::wstring publisher;
    bool started;
};

// The real installer, signed by the test publisher, is told it is too old and fetches the
// newer installer: only one signed by its own publisher (and by the manifest's, when named)
// is started; any other is deleted and the wizard runs as after a failed download.
TEST(UpdaterSignature, RealInstallerStartsOnlyAnUpdaterOfItsOwnPublisher) {
    ASSERT_EQ(ReadSignature(InstallerExePath()).state, nvx::SignatureState::Verified)
        << "webinstaller.exe is not signed by the test publisher";
    const UpdaterCase cases[] = {
        {"same publisher", SignedFixtureBytes(L"start_recorder-publisher.exe"), L"", true},
        {"same publisher, named by the manifest", SignedFixtureBytes(L"start_recorder-publisher.exe"),
         kTestPublisher, true},
        {"unsigned", StartRecorderBytes(), L"", false},
        {"other publisher of a trusted CA", SignedFixtureBytes(L"start_recorder-other.exe"), L"", false},
        {"the publisher's name from an untrusted root", SignedFixtureBytes(L"start_recorder-untrusted.exe"),
         L"", false},
        {"the publisher's name from a CA that is nowhere", SignedFixtureBytes(L"start_recorder-orphan.exe"),
         L"", false},
        {"the publisher's name, self-signed", SignedFixtureBytes(L"start_recorder-lookalike.exe"), L"",
         false},
        {"a byte changed after signing", SignedFixtureBytes(L"start_recorder-tampered.exe"), L"", false},
        {"same publisher, the manifest names another", SignedFixtureBytes(L"start_recorder-publisher.exe"),
         L"Other Maker", false},
    };
    for (const UpdaterCase& c : cases) {
        SCOPED_TRACE(c.name);
        CNewUpdaterFolders updater_folders;
        Release fresh;
        fresh.min_web_installer_version = L"1.0.0.6";
        fresh.download_url = Publish(L"webinstaller.exe", c.updater);
        CInstallerCopy copy({.version_check_url = Publish(L"version.xml", VersionXml(fresh, Release{})),
                             .publisher = c.publisher});
        CInstallerProcess installer;
        ASSERT_TRUE(installer.Start(L"", copy.ExePath()));
        if (c.started) {
            DWORD exit_code = 1;
            ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code)) << "the wizard opened";
            EXPECT_EQ(exit_code, 0u);
            std::vector<std::wstring> folders = updater_folders.Now();
            ASSERT_EQ(folders.size(), 1u);
            auto record = WaitForStartRecord(folders[0] + L"\\" + kNewerInstaller, kTimeout);
            ASSERT_TRUE(record) << "the newer installer was not started";
            EXPECT_EQ((*record)[L"args"], L"/n");
            continue;
        }
        HWND wizard = WaitForWizard(installer, kTimeout);
        ASSERT_TRUE(wizard) << "the refused updater did not let the wizard run";
        // Refused and deleted before the wizard: nothing is left to start at exit.
        EXPECT_TRUE(updater_folders.Now().empty());
        ASSERT_TRUE(CloseWizardConfirming(installer, wizard, kTimeout));
        ASSERT_TRUE(installer.WaitForExit(kTimeout));
        EXPECT_TRUE(updater_folders.Now().empty());
    }
}

} // namespace
