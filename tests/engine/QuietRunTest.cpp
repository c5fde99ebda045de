// The run's log and quiet runs, with the real installer under Wine. A quiet run meets each
// message box a run can meet, answers it at once without showing it and ends by itself with the
// exit code that says what happened; the box's text and the answer are in the log. A silent
// installation's log holds what support needs to follow it.
#include "app/SingleInstance.h"
#include "localization/UIStrings.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/selfupdate/SelfUpdateFixture.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <regex>
#include <sstream>

using namespace enginetest;
using namespace nvxtest;

namespace {

constexpr DWORD kTimeout = 120000;
constexpr wchar_t kFixtureExe[] = L"engine_fixture_installer.exe";

std::string FileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::wstring FromUtf8(const std::string& bytes) {
    if (bytes.empty())
        return {};
    const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                          text.data(), size);
    return text;
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// The release section with a newer installer for a fresh installation at `download_url`.
std::string VersionXmlAskingForANewerInstaller(const std::wstring& download_url) {
    std::string xml = VersionXml(L"17.0.0.101", L"1.0.0.6");
    const std::string none = "http://127.0.0.1/none.exe";
    const std::string url(download_url.begin(), download_url.end());
    for (size_t at = xml.find(none); at != std::string::npos; at = xml.find(none, at + url.size()))
        xml.replace(at, none.size(), url);
    return xml;
}

enum class Before { Nothing, Installed, AppRunning };
// What the server's version.xml says, or that there is no server.
enum class Release { Default, Unreachable, UpToDate, NewerInstallerNeeded, NewerInstallerServed };

struct QuietCase {
    const char* name;
    Before before;
    bool skip_version_check; // "/n": the engine checks the versions instead of the validator
    Release release;
    const wchar_t* package;      // the served main package; null: not served at all
    const wchar_t* product_code; // null: the test product's
    DWORD exit_code;
    const wchar_t* box_text;
    const wchar_t* answer;
};

void PrintTo(const QuietCase& c, std::ostream* out) {
    *out << c.name;
}

// A copy of the installer with a manifest of the test's, the served product and a clean machine.
class InstallerRun : public testing::Test {
protected:
    void SetUp() override {
        manifest_ = BaseManifest();
        ASSERT_TRUE(::CopyFileW(InstallerExePath().c_str(), folder_.module_path().c_str(), FALSE));
    }

    // Runs the installer with `arguments` to its end; false when it did not end by itself.
    bool Run(const std::wstring& arguments, DWORD& exit_code) {
        CInstallerProcess installer;
        if (!installer.Start(arguments, folder_.module_path()))
            return false;
        return installer.WaitForExit(kTimeout, &exit_code);
    }

    std::wstring LogPath() const { return folder_.scratch() + L"\\logs here\\quiet run.log"; }

    CCleanMachine machine_;
    CServedFolder served_;
    CInstallerFolder folder_;
    ManifestInfo manifest_;
};

class QuietRun : public InstallerRun, public testing::WithParamInterface<QuietCase> {};

TEST_P(QuietRun, EveryBoxIsAnsweredWithoutWaitingAndKeptInTheLog) {
    const QuietCase& c = GetParam();
    manifest_.version_check_url = served_.ServeText(VersionXml(), L"version.xml");
    manifest_.main_component_url = served_.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
    folder_.WriteManifest(manifest_);
    DWORD exit_code = 1;
    if (c.before == Before::Installed) {
        ASSERT_TRUE(Run(L"/n /quiet", exit_code));
        ASSERT_EQ(exit_code, 0u) << "the earlier installation failed";
    }
    nvx::UniqueHandle running;
    if (c.before == Before::AppRunning) {
        running.reset(::CreateSemaphoreW(nullptr, 0, 1, L"TODO"));
        ASSERT_TRUE(running);
    }

    switch (c.release) {
    case Release::Default:
        break;
    case Release::Unreachable:
        manifest_.version_check_url = L"http://127.0.0.1:1/version.xml";
        break;
    case Release::UpToDate:
        manifest_.version_check_url = served_.ServeText(VersionXml(L"17.0.0.100"), L"version.xml");
        break;
    case Release::NewerInstallerNeeded:
        manifest_.version_check_url =
            served_.ServeText(VersionXml(L"17.0.0.101", L"1.0.0.6"), L"version.xml");
        break;
    case Release::NewerInstallerServed: {
        // A whole download, signed by the installer's own publisher, that is no program.
        const std::wstring newer =
            served_.ServeText(selfupdatetest::SignedFixtureBytes(L"library-publisher.exe"), L"newer.exe");
        manifest_.version_check_url =
            served_.ServeText(VersionXmlAskingForANewerInstaller(newer), L"version.xml");
        break;
    }
    }
    manifest_.main_component_url =
        c.package ? served_.Serve(c.package, L"main.msi") : served_.Url(L"not-served.msi");
    if (c.product_code)
        manifest_.product_code = c.product_code;
    folder_.WriteManifest(manifest_);
    std::filesystem::create_directories(std::filesystem::path(LogPath()).parent_path());

    ASSERT_TRUE(Run(std::wstring(c.skip_version_check ? L"/n " : L"") + L"/quiet /log " + Quoted(LogPath()),
                    exit_code))
        << "the run waited";
    EXPECT_EQ(exit_code, c.exit_code);
    const std::wstring log = FromUtf8(FileBytes(LogPath()));
    EXPECT_NE(log.find(c.box_text), std::wstring::npos) << "the box's text is not in the log:\n"
                                                        << testing::PrintToString(log);
    const size_t quiet = log.find(L"[prompt] quiet run: answered without showing the box");
    EXPECT_NE(quiet, std::wstring::npos);
    EXPECT_NE(log.find(std::wstring(L"[prompt] answer ") + c.answer, quiet), std::wstring::npos);
    EXPECT_NE(log.find(L"[app] exit code " + std::to_wstring(c.exit_code)), std::wstring::npos);
}

const QuietCase kQuietCases[] = {
    {"ServerUnreachableBeforeTheWizard", Before::Nothing, false, Release::Unreachable,
     L"LumetraEngineTest.msi", nullptr, 1603, L"Unable to contact the download server", L"OK"},
    {"InstalledCopyIsUpToDate", Before::Installed, false, Release::UpToDate, L"LumetraEngineTest.msi",
     nullptr, 0, L"Lumetra is already installed. Would you like to launch it?", L"No"},
    {"NewerInstallerCannotBeStarted", Before::Nothing, false, Release::NewerInstallerServed,
     L"LumetraEngineTest.msi", nullptr, 1603, L"The updater cannot be launched!", L"OK"},
    {"InstalledProductCannotBeAskedFor", Before::Nothing, true, Release::Unreachable,
     L"LumetraEngineTest.msi", L"not-a-guid", 1603, L"Failed to get installed product info, error code: ",
     L"OK"},
    {"EngineCannotReachTheServer", Before::Nothing, true, Release::Unreachable, L"LumetraEngineTest.msi",
     nullptr, 1603, L"Unable to contact the download server", L"OK"},
    {"PackageNotServed", Before::Nothing, true, Release::Default, nullptr, nullptr, 1603,
     L"Unable to contact the download server", L"OK"},
    {"EngineFindsTheProductInstalled", Before::Installed, true, Release::UpToDate,
     L"LumetraEngineTest-update.msi", nullptr, 1603,
     L"Lumetra is already installed. Would you like to launch it?", L"OK"},
    {"EngineFindsThisInstallerTooOld", Before::Nothing, true, Release::NewerInstallerNeeded,
     L"LumetraEngineTest.msi", nullptr, 1603, L"The version of your client is too old", L"OK"},
    {"PackageReportsAnError", Before::Nothing, true, Release::Default, L"EngineFailing.msi", nullptr, 1603,
     L"The engine test package failed on purpose.", L"OK"},
    {"ApplicationStillRunning", Before::AppRunning, true, Release::Default, L"LumetraEngineTest.msi", nullptr,
     1602, L"The following applications should be closed before continuing the installation:", L"Cancel"},
};

INSTANTIATE_TEST_SUITE_P(Boxes, QuietRun, testing::ValuesIn(kQuietCases),
                         [](const testing::TestParamInfo<QuietCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

namespace {

using InstallerLog = InstallerRun;

// A first installation like the demo's (a prerequisite, the German transform and language pack)
// leaves a log that tells every stage, each line with its time and component, and Windows
// Installer's own log beside it.
TEST_F(InstallerLog, SilentInstallationLogTellsEveryStage) {
    manifest_.version_check_url = served_.ServeText(VersionXml(), L"version.xml");
    manifest_.main_component_url = served_.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
    manifest_.transforms = {{1031, L"de.mst", served_.Serve(L"1031.mst", L"de.mst")}};
    manifest_.language_packs = {{1031, L"LUMPRO17DE", L"language_pack_1031.exe",
                                 served_.Serve(kFixtureExe, L"language_pack_1031.exe")}};
    manifest_.dependencies = {
        {L"vc_redist.exe", served_.Serve(kFixtureExe, L"vc_redist.exe"), L"/install /quiet /norestart"}};
    folder_.WriteManifest(manifest_);
    std::filesystem::create_directories(std::filesystem::path(LogPath()).parent_path());

    DWORD exit_code = 1;
    ASSERT_TRUE(Run(L"/s /lang 1031 /log " + Quoted(LogPath()), exit_code));
    EXPECT_EQ(exit_code, 0u);
    const std::string bytes = FileBytes(LogPath());
    const std::wstring log = FromUtf8(bytes);
    ASSERT_FALSE(log.empty()) << "no log, or not UTF-8";
    const std::wstring msi_log = LogPath() + L".msi.log";
    const std::wstring expected[] = {
        L"[app] installer " + folder_.module_path() + L", file version 1.0.0.0",
        L"[app] command line: ",
        L"[app] Windows ",
        L"[app] elevated: ",
        L"[config] manifest " + folder_.module_folder() + L"\\config\\manifestPro.xml",
        L"[config] product Lumetra",
        L"[config] prerequisite vc_redist.exe from ",
        L"[config] transform 1031 de.mst from ",
        L"[config] language pack 1031 language_pack_1031.exe from ",
        L"[detect] product " + manifest_.product_code + L": not installed",
        L"[config] release for a fresh installation: product 17.0.0.100, minimum installer 1.0.0.1",
        L"[config] version verdict: proceed: nothing installed; the fresh installation's minimum installer "
        L"version against this installer's: 1.0.0.1 is not newer than 1.0.0.5: the fourth number is not "
        L"higher",
        L"[selfupdate] the validator lets the wizard run",
        L"[detect] prerequisite vc_redist.exe: missing",
        L"[engine] plan: vc_redist.exe from ",
        L"[engine] plan: LumetraEngineTest.msi from ",
        L"install weight ",
        L"[engine] running \"",
        L"vc_redist.exe\" /install /quiet /norestart",
        L"[engine] the installer ended with 0 after ",
        L"[msi] Windows Installer's verbose log: " + msi_log,
        L"[msi] installing ",
        L"TRANSFORMS=",
        L"[msi] the package's result: 0 after ",
        L"[settings] HKLM\\",
        L"[engine] the installation ended: finished; the product package's result 0",
        L"[app] exit code 0",
    };
    for (const std::wstring& part : expected)
        EXPECT_NE(log.find(part), std::wstring::npos) << "missing: " << testing::PrintToString(part);
    // The order a reader follows: start, configuration, verdict, plan, steps, end.
    EXPECT_LT(log.find(L"[app] installer "), log.find(L"[config] manifest "));
    EXPECT_LT(log.find(L"[config] version verdict"), log.find(L"[engine] plan: "));
    EXPECT_LT(log.find(L"[msi] the package's result"), log.find(L"[engine] the installation ended"));
    EXPECT_LT(log.find(L"[engine] the installation ended"), log.find(L"[app] exit code 0"));

    // Every line carries its UTC time and component.
    const std::wregex line_format(LR"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z \[[a-z]+\] .*)");
    std::wistringstream lines(log);
    size_t count = 0;
    for (std::wstring line; std::getline(lines, line); ++count) {
        ASSERT_FALSE(line.empty() || line.back() != L'\r')
            << "not ended by CR LF: " << testing::PrintToString(line);
        line.pop_back();
        EXPECT_TRUE(std::regex_match(line, line_format)) << testing::PrintToString(line);
    }
    EXPECT_GT(count, 30u);
    // A few hundred kilobytes at most, however many chunks the downloads took.
    EXPECT_LT(bytes.size(), 300u * 1024u);
    EXPECT_FALSE(FileBytes(msi_log).empty()) << "no Windows Installer log beside the run's log";
}

// Without "/log" the log is a new file in the temporary folder named by the start time and the
// process, and it is complete when the process has ended.
TEST_F(InstallerLog, WithoutAPathTheLogGoesToTheTemporaryFolder) {
    manifest_.version_check_url = L"http://127.0.0.1:1/version.xml";
    manifest_.main_component_url = served_.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
    folder_.WriteManifest(manifest_);
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/quiet", folder_.module_path()));
    DWORD exit_code = 0;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 1603u);

    const std::wregex name(L"NVXWebInstaller_\\d{8}_\\d{6}_" + std::to_wstring(installer.ProcessId()) +
                           L"\\.log");
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
        if (std::regex_match(entry.path().filename().wstring(), name))
            found.push_back(entry.path());
    }
    ASSERT_EQ(found.size(), 1u);
    const std::wstring log = FromUtf8(FileBytes(found[0].wstring()));
    std::filesystem::remove(found[0]);
    EXPECT_NE(log.find(L"Unable to contact the download server"), std::wstring::npos);
    EXPECT_NE(log.find(L"[app] exit code 1603"), std::wstring::npos);
}

} // namespace
