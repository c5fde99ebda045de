// The run log's file on Windows: written straight through to the system (no buffer of the
// program's own), readable by others while the run goes on.
#include "framework/Handles.h"
#include "framework/RunLog.h"

#include <windows.h>

#include <ctime>
#include <vector>

namespace nvx {

struct CRunLog::File {
    UniqueHandle handle;
};

namespace {

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::vector<wchar_t> buffer(needed);
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
    return length > 0 && length < needed ? std::wstring(buffer.data(), length) : path;
}

std::wstring DefaultRunLogPath() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return {};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_s(&local, &now);
    return std::wstring(folder, length) + DefaultRunLogName(local, ::GetCurrentProcessId());
}

} // namespace

CRunLog::CRunLog(std::wstring path, std::unique_ptr<File> file)
    : path_(std::move(path)), file_(std::move(file)) {
    HANDLE handle = file_->handle.get();
    output_ = std::make_unique<CDiagnosticOutputScope>([handle](const DiagnosticLine& line) {
        const std::string bytes = RunLogBytes(line);
        DWORD written = 0;
        ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    });
    SetRunLogPath(path_);
}

CRunLog::~CRunLog() {
    SetRunLogPath(L"");
    output_.reset();
}

std::unique_ptr<CRunLog> CRunLog::Open(const std::wstring& path) {
    if (path.empty())
        return nullptr;
    std::wstring full = FullPath(path);
    auto file = std::make_unique<File>();
    file->handle.reset(::CreateFileW(full.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                     nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file->handle)
        return nullptr;
    return std::unique_ptr<CRunLog>(new CRunLog(std::move(full), std::move(file)));
}

std::unique_ptr<CRunLog> CRunLog::OpenForRun(const std::wstring& requested) {
    if (std::unique_ptr<CRunLog> log = Open(requested))
        return log;
    std::unique_ptr<CRunLog> log = Open(DefaultRunLogPath());
    if (log && !requested.empty())
        Diagnose(L"log", L"the log cannot be written to " + requested + L": written here instead");
    return log;
}

} // namespace nvx
