#include "tests/selfupdate/SelfUpdateFixture.h"

#include "app/SingleInstance.h"
#include "tests/net/NetServers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace selfupdatetest {

namespace {

// The manifest and release texts are ASCII.
std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::wstring CurrentTestName() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    return std::wstring(name.begin(), name.end());
}

std::wstring StartRecorderPath() {
    return nvxtest::BuildFolder() + L"\\start_recorder.exe";
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1];
    DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    return std::wstring(path, length);
}

} // namespace

CInstallerCopy::CInstallerCopy(const ManifestSpec& spec) {
    exe_path_ = folder_.wpath() + L"\\webinstaller.exe";
    EXPECT_TRUE(::CopyFileW(nvxtest::InstallerExePath().c_str(), exe_path_.c_str(), FALSE));
    std::ostringstream manifest;
    manifest << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<nvxwebinstaller>"
             << "<web_installer_version>" << Narrow(spec.web_installer_version) << "</web_installer_version>"
             << "<product_code>" << Narrow(spec.product_code) << "</product_code><product>"
             << "<pid>LUMPRO17EN</pid><full_name>" << Narrow(kFullName) << "</full_name>"
             << "<short_name>" << Narrow(kShortName) << "</short_name>"
             << "<registry>" << Narrow(kProductKey) << "</registry>"
             << "<standalone>" << (spec.standalone ? "true" : "false") << "</standalone>"
             << "<standalone_version>17.0.0.101</standalone_version>"
             << "<version_check_url>" << Narrow(spec.version_check_url) << "</version_check_url>"
             << "<main_component><name>LumetraProfessional.msi</name>"
             << "<full_url>http://127.0.0.1:1/msi/LumetraProfessional.msi</full_url></main_component>";
    if (!spec.publisher.empty())
        manifest << "<publisher>" << Narrow(spec.publisher) << "</publisher>";
    manifest << "</product></nvxwebinstaller>\n";
    folder_.Write("config/manifestPro.xml", manifest.str());
}

std::string VersionXml(const Release& fresh, const Release& patch) {
    auto section = [](const char* name, const Release& release) {
        return std::string("<") + name + "><product_version>" + Narrow(release.product_version) +
               "</product_version><min_web_installer_version>" + Narrow(release.min_web_installer_version) +
               "</min_web_installer_version><web_installer_download_url>" + Narrow(release.download_url) +
               "</web_installer_download_url></" + name + ">";
    };
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<nvxwebinstaller><product_code>" +
           Narrow(kAbsentProductCode) + "</product_code>" + section("fresh_install", fresh) +
           section("patch_install", patch) + "</nvxwebinstaller>\n";
}

std::wstring Publish(const std::wstring& name, const std::string& bytes) {
    std::wstring relative = L"selfupdate\\" + CurrentTestName();
    std::filesystem::path folder = std::filesystem::path(nettest::ServersFolder() + L"\\www\\" + relative);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
    return nettest::ServerUrl(L"http", L"/selfupdate/" + CurrentTestName() + L"/" + name);
}

std::string SignedFixtureBytes(const std::wstring& name) {
    std::string bytes = nettest::ReadWholeFile(SignedFixturePath(name));
    EXPECT_FALSE(bytes.empty()) << "no signed fixture " << testing::PrintToString(name);
    return bytes;
}

std::wstring SignedFixturePath(const std::wstring& name) {
    const std::string folder = NVX_SIGNED_FIXTURES;
    return L"Z:" + std::wstring(folder.begin(), folder.end()) + L"/" + name;
}

std::string StartRecorderBytes() {
    return nettest::ReadWholeFile(StartRecorderPath());
}

bool CopyStartRecorder(const std::wstring& path) {
    return ::CopyFileW(StartRecorderPath().c_str(), path.c_str(), FALSE) != FALSE;
}

std::set<std::wstring> UpdaterFolders() {
    std::set<std::wstring> folders;
    std::wstring temp = TempFolder();
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((temp + L"NVXWebInstaller_*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return folders;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            folders.insert(temp + found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return folders;
}

std::vector<std::wstring> CNewUpdaterFolders::Now() const {
    std::vector<std::wstring> added;
    for (const std::wstring& folder : UpdaterFolders())
        if (!before_.count(folder))
            added.push_back(folder);
    return added;
}

CNewUpdaterFolders::~CNewUpdaterFolders() {
    for (const std::wstring& folder : Now()) {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    }
}

std::optional<std::map<std::wstring, std::wstring>> ReadStartRecord(const std::wstring& program) {
    std::ifstream in(std::filesystem::path(program + L".start.txt"), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::map<std::wstring, std::wstring> record;
    std::wistringstream lines(text);
    for (std::wstring line; std::getline(lines, line);) {
        size_t equals = line.find(L'=');
        if (equals != std::wstring::npos)
            record[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return record;
}

std::optional<std::map<std::wstring, std::wstring>> WaitForStartRecord(const std::wstring& program,
                                                                       DWORD timeout_ms) {
    std::optional<std::map<std::wstring, std::wstring>> record;
    nvxtest::WaitUntil([&] { return (record = ReadStartRecord(program)).has_value(); }, timeout_ms);
    return record;
}

CWindowEventLog::CWindowEventLog(DWORD process_id) : thread_([this, process_id] { Watch(process_id); }) {}

CWindowEventLog::~CWindowEventLog() {
    stop_ = true;
    thread_.join();
}

void CWindowEventLog::Watch(DWORD process_id) {
    struct Search {
        DWORD pid;
        std::map<HWND, bool> visible;
    };
    std::map<HWND, bool> known; // window -> visible
    DWORD previous_start = ::GetTickCount();
    while (!stop_) {
        const DWORD start = ::GetTickCount();
        Search now{process_id, {}};
        ::EnumWindows(
            [](HWND hwnd, LPARAM param) -> BOOL {
                auto* search = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(hwnd, &pid);
                if (pid == search->pid)
                    search->visible[hwnd] = ::IsWindowVisible(hwnd) != FALSE;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&now));
        DWORD time_ms = ::GetTickCount();
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [hwnd, visible] : now.visible) {
            auto before = known.find(hwnd);
            bool was_visible = before != known.end() && before->second;
            if (visible != was_visible)
                events_.push_back({static_cast<DWORD>(visible ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE), hwnd,
                                   time_ms, nvxtest::WindowText(hwnd), nvxtest::ClassName(hwnd),
                                   previous_start});
        }
        for (const auto& [hwnd, visible] : known)
            if (!now.visible.count(hwnd))
                events_.push_back({EVENT_OBJECT_DESTROY, hwnd, time_ms, L"", L"", previous_start});
        known = std::move(now.visible);
        previous_start = start;
        ::Sleep(1);
    }
}

std::vector<CWindowEventLog::Event> CWindowEventLog::Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

std::optional<CWindowEventLog::Event> CWindowEventLog::FirstShown(const std::wstring& title) const {
    for (const Event& e : Events())
        if (e.event == EVENT_OBJECT_SHOW && e.title.find(title) != std::wstring::npos)
            return e;
    return std::nullopt;
}

std::optional<CWindowEventLog::Event> CWindowEventLog::FirstGone(HWND hwnd, DWORD after_ms) const {
    for (const Event& e : Events())
        if (e.hwnd == hwnd && e.event != EVENT_OBJECT_SHOW && static_cast<LONG>(e.time_ms - after_ms) >= 0)
            return e;
    return std::nullopt;
}

HWND WaitForWizard(const nvxtest::CInstallerProcess& installer, DWORD timeout_ms) {
    HWND wizard = installer.WaitForWindow(kInstallerWindowClass, kFullName, timeout_ms);
    if (wizard && !nvxtest::WaitUntil([&] { return ::IsWindowVisible(wizard) != FALSE; }, timeout_ms))
        return nullptr;
    return wizard;
}

HWND FindValidator(const nvxtest::CInstallerProcess& installer) {
    for (HWND hwnd : installer.TopLevelWindows())
        if (nvxtest::ClassName(hwnd) == kInstallerWindowClass && nvxtest::WindowText(hwnd) == kValidatorTitle)
            return hwnd;
    return nullptr;
}

HWND WaitForShownMessageBox(const nvxtest::CInstallerProcess& installer, DWORD timeout_ms) {
    HWND found = nullptr;
    nvxtest::WaitUntil(
        [&] {
            for (HWND hwnd : installer.TopLevelWindows()) {
                if (nvxtest::ClassName(hwnd) == L"#32770" && ::IsWindowVisible(hwnd) &&
                    (nvxtest::FindChildByText(hwnd, L"OK") || nvxtest::FindChildByText(hwnd, L"Yes"))) {
                    found = hwnd;
                    return true;
                }
            }
            return !installer.IsRunning();
        },
        timeout_ms);
    return found;
}

bool Answer(HWND box, const std::wstring& button) {
    HWND control = nvxtest::FindChildByText(box, button);
    if (!control)
        return false;
    nvxtest::PressButton(control);
    return true;
}

} // namespace selfupdatetest
