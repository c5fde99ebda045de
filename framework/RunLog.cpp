#include "framework/RunLog.h"

#include "framework/NarrowPath.h"

#include <cwchar>
#include <iterator>
#include <mutex>

namespace nvx {
namespace {

std::mutex path_mutex;
std::wstring run_log_path;

} // namespace

std::wstring DefaultRunLogName(const std::tm& local_time, uint32_t process_id) {
    wchar_t name[96];
    std::swprintf(name, std::size(name), L"NVXWebInstaller_%04d%02d%02d_%02d%02d%02d_%u.log",
                  local_time.tm_year + 1900, local_time.tm_mon + 1, local_time.tm_mday, local_time.tm_hour,
                  local_time.tm_min, local_time.tm_sec, static_cast<unsigned>(process_id));
    return name;
}

std::string RunLogBytes(const DiagnosticLine& line) {
    return NarrowPath(FormatDiagnosticLine(line)) + "\r\n";
}

std::wstring RunLogPath() {
    std::lock_guard lock(path_mutex);
    return run_log_path;
}

void SetRunLogPath(const std::wstring& path) {
    std::lock_guard lock(path_mutex);
    run_log_path = path;
}

} // namespace nvx
