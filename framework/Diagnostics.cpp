#include "framework/Diagnostics.h"

#include <cstdio>
#include <ctime>
#include <mutex>
#include <utility>
#include <vector>

namespace nvx {
namespace {

struct Channel {
    std::recursive_mutex mutex; // an output that writes a line of its own must not deadlock
    std::vector<std::pair<uint64_t, DiagnosticOutput>> outputs;
    uint64_t next_id = 1;
};

Channel& TheChannel() {
    static Channel channel;
    return channel;
}

std::wstring Sanitized(std::wstring_view text) {
    std::wstring clean(text);
    for (wchar_t& ch : clean) {
        if (ch < 0x20 || ch == 0x7F)
            ch = L' ';
    }
    // Callers often end their text with a line end of their own.
    while (!clean.empty() && clean.back() == L' ')
        clean.pop_back();
    return clean;
}

} // namespace

std::wstring FormatDiagnosticLine(const DiagnosticLine& line) {
    using namespace std::chrono;
    const auto since_epoch = line.time.time_since_epoch();
    const std::time_t seconds =
        static_cast<std::time_t>(duration_cast<std::chrono::seconds>(since_epoch).count());
    const auto millis = duration_cast<milliseconds>(since_epoch).count() % 1000;
    std::tm utc{};
#ifdef _WIN32
    ::gmtime_s(&utc, &seconds);
#else
    ::gmtime_r(&seconds, &utc);
#endif
    wchar_t stamp[40];
    std::swprintf(stamp, std::size(stamp), L"%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(millis));
    return std::wstring(stamp) + L" [" + line.component + L"] " + line.text;
}

void Diagnose(std::wstring_view component, std::wstring_view text) noexcept {
    try {
        DiagnosticLine line{std::chrono::system_clock::now(), Sanitized(component), Sanitized(text)};
        Channel& channel = TheChannel();
        std::lock_guard lock(channel.mutex);
        WriteToDebugger(FormatDiagnosticLine(line) + L"\r\n");
        for (const auto& [id, output] : channel.outputs) {
            try {
                output(line);
            } catch (...) {
                // One failing output must not keep the line from the others.
            }
        }
    } catch (...) {
        // Out of memory: nothing left to tell it with.
    }
}

CDiagnosticOutputScope::CDiagnosticOutputScope(DiagnosticOutput output) {
    Channel& channel = TheChannel();
    std::lock_guard lock(channel.mutex);
    id_ = channel.next_id++;
    channel.outputs.emplace_back(id_, std::move(output));
}

CDiagnosticOutputScope::~CDiagnosticOutputScope() {
    Channel& channel = TheChannel();
    std::lock_guard lock(channel.mutex);
    std::erase_if(channel.outputs, [this](const auto& entry) { return entry.first == id_; });
}

} // namespace nvx
