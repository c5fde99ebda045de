#pragma once
// What the self-update tests set up around a real installer: a copy of webinstaller.exe in a
// folder of its own with a manifest written for the test, release documents and programs
// published on the loopback nginx, the temporary folders that newer installers land in, the
// records the start-recorder fixture program leaves, and a log of the installer's top-level
// windows appearing and going.
#include "tests/support/ScratchFolder.h"
#include "tests/support/InstallerProcess.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace selfupdatetest {

inline constexpr wchar_t kFullName[] = L"Lumetra Professional";
inline constexpr wchar_t kShortName[] = L"Lumetra";
inline constexpr wchar_t kValidatorTitle[] = L"Preparing...";
// The package of tests/selfupdate/data, installed by the suites that need an installed copy.
inline constexpr wchar_t kInstalledProductCode[] = L"{5B7E2C19-8A4D-4F63-B0E1-3C9D7A2F6E48}";
inline constexpr wchar_t kAbsentProductCode[] = L"{2C4E6A80-1B3D-4F57-9A8C-0E2F4A6C8E01}";
inline constexpr wchar_t kProductKey[] = L"SOFTWARE\\NVX Systems Test\\SelfUpdate";

struct ManifestSpec {
    bool standalone = false;
    std::wstring version_check_url;
    std::wstring product_code = kAbsentProductCode;
    std::wstring web_installer_version = L"1.0.0.5";
    std::wstring publisher = L""; // the manifest's "publisher"; none when empty
};

// A copy of the real installer with the manifest of `spec` next to it.
class CInstallerCopy {
public:
    explicit CInstallerCopy(const ManifestSpec& spec);
    const std::wstring& ExePath() const noexcept { return exe_path_; }

private:
    ScratchFolder folder_{"nvx-selfupdate"};
    std::wstring exe_path_;
};

struct Release {
    std::wstring product_version = L"17.0.0.101";
    std::wstring min_web_installer_version = L"1.0.0.5";
    std::wstring download_url;
};
std::string VersionXml(const Release& fresh, const Release& patch);

// Publishes bytes on nginx for the current test; answers the URL.
std::wstring Publish(const std::wstring& name, const std::string& bytes);
// A file of the signed fixtures (the start recorder as start_recorder-<signer>.exe, see
// tests/selfupdate/CMakeLists.txt), its path and its bytes.
std::wstring SignedFixturePath(const std::wstring& name);
std::string SignedFixtureBytes(const std::wstring& name);
// The start-recorder program's bytes, for publishing as a newer installer.
std::string StartRecorderBytes();
// Copies the start-recorder program to `path`.
bool CopyStartRecorder(const std::wstring& path);

// The "NVXWebInstaller_*" folders of the temporary folder.
std::set<std::wstring> UpdaterFolders();
// Removes the folders that appeared since `before` (with their files), when the test ends.
class CNewUpdaterFolders {
public:
    CNewUpdaterFolders() : before_(UpdaterFolders()) {}
    ~CNewUpdaterFolders();
    CNewUpdaterFolders(const CNewUpdaterFolders&) = delete;
    CNewUpdaterFolders& operator=(const CNewUpdaterFolders&) = delete;
    std::vector<std::wstring> Now() const;

private:
    std::set<std::wstring> before_;
};

// The record the start recorder left next to `program`; nothing while there is none.
std::optional<std::map<std::wstring, std::wstring>> ReadStartRecord(const std::wstring& program);
std::optional<std::map<std::wstring, std::wstring>> WaitForStartRecord(const std::wstring& program,
                                                                       DWORD timeout_ms);

// Top-level windows of one process appearing and going, with their titles when shown,
// watched from a thread of its own every millisecond from construction on. (Wine delivers no
// out-of-context window events from other processes, so the windows are looked at instead.)
class CWindowEventLog {
public:
    struct Event {
        DWORD event; // EVENT_OBJECT_SHOW, EVENT_OBJECT_HIDE, EVENT_OBJECT_DESTROY
        HWND hwnd;
        DWORD time_ms;
        std::wstring title; // at the time of the event (empty once destroyed)
        std::wstring class_name;
        // When the look before this one began: the change happened between since_ms and time_ms
        // (far apart when the watching thread was held up on a busy machine).
        DWORD since_ms = 0;
    };
    explicit CWindowEventLog(DWORD process_id);
    ~CWindowEventLog();
    CWindowEventLog(const CWindowEventLog&) = delete;
    CWindowEventLog& operator=(const CWindowEventLog&) = delete;

    std::vector<Event> Events() const;
    // The first showing of a window whose title contains `title`.
    std::optional<Event> FirstShown(const std::wstring& title) const;
    // The first hiding or destruction of `hwnd` at or after `after_ms`.
    std::optional<Event> FirstGone(HWND hwnd, DWORD after_ms) const;

private:
    void Watch(DWORD process_id);
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Event> events_;
    std::thread thread_;
};

// Watches a started installer: its wizard, validator and message boxes.
HWND WaitForWizard(const nvxtest::CInstallerProcess& installer, DWORD timeout_ms);
HWND FindValidator(const nvxtest::CInstallerProcess& installer);
// Waits for a visible standard message box of the installer with its buttons in place.
HWND WaitForShownMessageBox(const nvxtest::CInstallerProcess& installer, DWORD timeout_ms);
// Presses the button with that text in a message box; false when there is none.
bool Answer(HWND box, const std::wstring& button);

} // namespace selfupdatetest
