// Download benchmark under Wine: throughput, CPU and peak memory of RunDownloadJob, where the
// time of the read loop goes, how long a cancel takes to end a job, and what a paused job costs.
//
//   net_bench download URL FILE          one job; prints bytes, seconds, CPU, peak memory
//   net_bench profile URL FILE           the same request and loop with each step timed
//   net_bench cancel URL FILE            signal cancel_event mid-transfer, 5 times
//   net_bench pause URL FILE [PID]       hold a job paused for 5 s; PID: wineserver, whose CPU
//                                        is read from /proc as well
// Results are printed as "key value" lines for scripts/bench.d/net.sh.
#include "framework/File.h"
#include "net/CancelRequest.h"
#include "net/FileBatchWriter.h"
#include "net/HttpRules.h"
#include "net/HttpRequest.h"
#include "net/InternetSession.h"
#include "net/RunDownloadJob.h"
#include "net/TransferLoop.h"
#include "net/WinInetSource.h"
#include "tests/net/CancelEvents.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double FileTimeSeconds(const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

struct Cpu {
    double user = 0;
    double kernel = 0;
    double Total() const { return user + kernel; }
};

Cpu ProcessCpu() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    return {FileTimeSeconds(user), FileTimeSeconds(kernel)};
}

// CPU seconds of a Linux process (utime + stime of /proc/PID/stat), read through Wine's Z: drive.
double LinuxProcessCpu(const std::string& pid) {
    if (pid.empty())
        return 0;
    std::ifstream in("Z:\\proc\\" + pid + "\\stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::vector<std::string> fields;
    size_t pos = close + 2;
    while (pos < text.size()) {
        size_t next = text.find(' ', pos);
        fields.push_back(text.substr(pos, next - pos));
        if (next == std::string::npos)
            break;
        pos = next + 1;
    }
    // Fields after the name start at "state" (3rd field); utime and stime are the 14th and 15th.
    if (fields.size() < 13)
        return 0;
    return (std::stod(fields[11]) + std::stod(fields[12])) / 100.0;
}

void PrintMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("peak_working_set_mib %.1f\n", counters.PeakWorkingSetSize / 1048576.0);
    std::printf("peak_private_mib %.1f\n", counters.PeakPagefileUsage / 1048576.0);
}

std::wstring Wide(const char* text) {
    std::string s(text);
    return std::wstring(s.begin(), s.end());
}

int Download(const std::wstring& url, const std::wstring& path) {
    CCancelEvents events;
    CDownloadJob job(url, path);
    // The start report comes before the size probe, the first report with bytes after it.
    Clock::time_point start = Clock::now(), first_bytes{}, end{};
    Cpu before = ProcessCpu();
    bool ok = RunDownloadJob(job, &events.query, [&](const DownloadStatusInfo& s) {
        if (s.received > 0 && first_bytes == Clock::time_point{})
            first_bytes = Clock::now();
        if (s.state == DownloadState::Ended)
            end = Clock::now();
    });
    double seconds = Seconds(Clock::now() - start);
    Cpu after = ProcessCpu();
    std::printf("ok %d\nbytes %lld\nseconds %.3f\n", ok ? 1 : 0, static_cast<long long>(job.size), seconds);
    std::printf("mib_per_s %.1f\n", job.size / 1048576.0 / seconds);
    std::printf("probe_seconds %.3f\ntransfer_seconds %.3f\n", Seconds(first_bytes - start),
                Seconds(end - first_bytes));
    std::printf("cpu_user %.3f\ncpu_kernel %.3f\n", after.user - before.user, after.kernel - before.kernel);
    PrintMemory();
    return ok ? 0 : 1;
}

// --------------------------------------------------------------------------- profile

struct StepTime {
    Clock::duration time{};
    uint64_t calls = 0;
    void Add(Clock::duration d) {
        time += d;
        ++calls;
    }
};

class CTimedSource final : public IByteSource {
public:
    explicit CTimedSource(IByteSource& inner) : inner_(inner) {}
    bool QueryDataAvailable(uint32_t& available) override {
        Clock::time_point t = Clock::now();
        bool ok = inner_.QueryDataAvailable(available);
        query.Add(Clock::now() - t);
        max_available = std::max(max_available, available);
        return ok;
    }
    bool Read(uint8_t* buffer, uint32_t size, uint32_t& read_bytes) override {
        Clock::time_point t = Clock::now();
        bool ok = inner_.Read(buffer, size, read_bytes);
        read.Add(Clock::now() - t);
        return ok;
    }
    uint32_t LastError() const override { return inner_.LastError(); }

    StepTime query, read;
    uint32_t max_available = 0;

private:
    IByteSource& inner_;
};

// The product's batch writer with its writes and flushes timed apart.
class CTimedWriter final : public IBatchWriter {
public:
    explicit CTimedWriter(CFile& file) : inner_(file) {}
    void WriteBatch(uint64_t offset, const uint8_t* data, size_t size) override {
        Clock::time_point t = Clock::now();
        inner_.WriteBatch(offset, data, size);
        write.Add(Clock::now() - t);
    }
    void Flush() override {
        Clock::time_point t = Clock::now();
        inner_.Flush();
        flush.Add(Clock::now() - t);
    }
    StepTime write, flush;

private:
    CFileBatchWriter inner_;
};

class CCountingSink final : public IDownloadCallback {
public:
    void OnDownloadStatus(DownloadStatusInfo&) override { ++reports; }
    uint64_t reports = 0;
};

int Profile(const std::wstring& url, const std::wstring& path) {
    SentRequest sent = SendHttpRequest(url, kFileRequest);
    if (!sent)
        return 1;
    CFile file;
    if (!file.Open(path,
                   CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::osRandomAccess))
        return 1;
    CWinInetSource wininet(sent.request.get());
    CTimedSource source(wininet);
    CTimedWriter writer(file);
    CancelRequest never;
    CCountingSink sink;
    DownloadStatusInfo status;
    Clock::time_point start = Clock::now();
    RunFileReadLoop(source, writer, never, sink, status, [] { ::Sleep(kPauseRecheckMs); });
    double total = Seconds(Clock::now() - start);
    double accounted = Seconds(source.query.time + source.read.time + writer.write.time + writer.flush.time);
    auto step = [&](const char* name, const StepTime& s) {
        std::printf("%s_seconds %.3f\n%s_share %.1f\n%s_calls %llu\n", name, Seconds(s.time), name,
                    100.0 * Seconds(s.time) / total, name, static_cast<unsigned long long>(s.calls));
    };
    std::printf("bytes %llu\nseconds %.3f\nmib_per_s %.1f\n",
                static_cast<unsigned long long>(status.received), total, status.received / 1048576.0 / total);
    step("query", source.query);
    step("read", source.read);
    step("write", writer.write);
    step("flush", writer.flush);
    std::printf("other_seconds %.3f\nother_share %.1f\n", total - accounted,
                100.0 * (total - accounted) / total);
    std::printf("max_available %u\nreports %llu\n", source.max_available,
                static_cast<unsigned long long>(sink.reports));
    return 0;
}

// --------------------------------------------------------------------------- cancel and pause

// A job on a worker thread, as the engine runs it; the main thread plays the UI thread.
class CBackgroundJob {
public:
    CBackgroundJob(const std::wstring& url, const std::wstring& path) : job_(url, path) {
        worker_ = std::thread([this] {
            result = RunDownloadJob(job_, &events.query, [this](const DownloadStatusInfo& s) {
                received.store(s.received);
                if (s.state == DownloadState::Cancelled || s.state == DownloadState::Ended)
                    final_report_at = Clock::now();
                else
                    last_progress_at = Clock::now();
            });
            done.store(true);
        });
    }
    ~CBackgroundJob() {
        if (worker_.joinable())
            worker_.join();
    }
    void WaitForBytes(uint64_t bytes) {
        while (received.load() < bytes && !done.load())
            ::Sleep(1);
    }
    void Join() { worker_.join(); }

    CCancelEvents events;
    std::atomic<uint64_t> received{0};
    std::atomic<bool> done{false};
    Clock::time_point final_report_at;
    Clock::time_point last_progress_at;
    bool result = false;

private:
    CDownloadJob job_;
    std::thread worker_;
};

int Cancel(const std::wstring& url, const std::wstring& path) {
    std::vector<double> latencies, loop_exits;
    for (int i = 0; i < 5; ++i) {
        CBackgroundJob job(url, path);
        job.WaitForBytes(8u << 20);
        Clock::time_point signalled = Clock::now();
        ::SetEvent(job.events.cancel_event.get());
        job.Join();
        // The last progress report marks the loop's last read; after it come closing the
        // request, the half-second pause and the final report.
        double exit_ms = std::max(0.0, 1000.0 * Seconds(job.last_progress_at - signalled));
        double final_ms = 1000.0 * Seconds(job.final_report_at - signalled);
        loop_exits.push_back(exit_ms);
        latencies.push_back(final_ms);
        std::printf("cancel_run %d last_read_ms %.1f final_report_ms %.1f\n", i + 1, exit_ms, final_ms);
    }
    std::sort(latencies.begin(), latencies.end());
    std::sort(loop_exits.begin(), loop_exits.end());
    std::printf("cancel_median_ms %.1f\ncancel_min_ms %.1f\ncancel_max_ms %.1f\n", latencies[2],
                latencies.front(), latencies.back());
    std::printf("cancel_last_read_median_ms %.1f\n", loop_exits[2]);
    return 0;
}

int Pause(const std::wstring& url, const std::wstring& path, const std::string& wineserver_pid) {
    CBackgroundJob job(url, path);
    job.WaitForBytes(16u << 20);
    ::ResetEvent(job.events.resume_gate.get());
    ::Sleep(200); // let the read under way finish
    uint64_t bytes_at_start = job.received.load();
    Cpu before = ProcessCpu();
    double server_before = LinuxProcessCpu(wineserver_pid);
    ::Sleep(5000);
    Cpu after = ProcessCpu();
    double server_after = LinuxProcessCpu(wineserver_pid);
    uint64_t bytes_at_end = job.received.load();
    ::SetEvent(job.events.cancel_event.get());
    ::SetEvent(job.events.resume_gate.get());
    job.Join();
    std::printf("paused_seconds 5.0\npaused_cpu_seconds %.3f\n", after.Total() - before.Total());
    if (!wineserver_pid.empty())
        std::printf(
            "wineserver_cpu_before %.2f\nwineserver_cpu_after %.2f\npaused_wineserver_cpu_seconds %.3f\n",
            server_before, server_after, server_after - server_before);
    std::printf("bytes_read_while_paused %llu\n",
                static_cast<unsigned long long>(bytes_at_end - bytes_at_start));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: net_bench download|profile|cancel|pause URL FILE [WINESERVER_PID]\n");
        return 2;
    }
    CInternetSessionOwner session;
    std::string mode = argv[1];
    std::wstring url = Wide(argv[2]);
    std::wstring path = Wide(argv[3]);
    int status = 2;
    if (mode == "download")
        status = Download(url, path);
    else if (mode == "profile")
        status = Profile(url, path);
    else if (mode == "cancel")
        status = Cancel(url, path);
    else if (mode == "pause")
        status = Pause(url, path, argc > 4 ? argv[4] : "");
    std::fflush(stdout);
    return status;
}
