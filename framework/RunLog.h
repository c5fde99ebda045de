#pragma once
// The log of one run: every line of the diagnostic channel from the moment it is opened, in a
// UTF-8 file that deployment tools and support can read after the run. Each line is handed to
// the system as soon as it is written, so a run that crashes or is ended leaves everything up
// to that point. Old logs are never collected: each run has its own file.
#include "framework/Diagnostics.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

namespace nvx {

// "NVXWebInstaller_20261211_072001_4242.log" for a run started at that local time by that
// process.
std::wstring DefaultRunLogName(const std::tm& local_time, uint32_t process_id);

// One line as the file holds it: UTF-8, ended by CR LF.
std::string RunLogBytes(const DiagnosticLine& line);

// The full path of the open run log, empty when there is none. Other logs of the run go beside
// it under its name (Windows Installer's as "<log>.msi.log").
std::wstring RunLogPath();

// The open log file, added to the diagnostic channel for its lifetime.
class CRunLog {
public:
    // Creates (or empties) the file at `path`, made absolute; null when it cannot be created.
    static std::unique_ptr<CRunLog> Open(const std::wstring& path);
    // `requested` when given and it can be created, otherwise a new file in the temporary folder
    // under DefaultRunLogName; null when neither can be created.
    static std::unique_ptr<CRunLog> OpenForRun(const std::wstring& requested);
    ~CRunLog();
    CRunLog(const CRunLog&) = delete;
    CRunLog& operator=(const CRunLog&) = delete;

    const std::wstring& path() const noexcept { return path_; }

private:
    struct File;
    CRunLog(std::wstring path, std::unique_ptr<File> file);

    std::wstring path_;
    std::unique_ptr<File> file_;
    std::unique_ptr<CDiagnosticOutputScope> output_;
};

// Set while a run log is open; read by whoever names a log of its own beside it.
void SetRunLogPath(const std::wstring& path);

} // namespace nvx
