// Engine benchmark under Wine, printed as "key value" lines for scripts/bench.d/engine.sh:
//
//   engine_bench install FIXTURES ROUNDS
//       installs the test product through the engine (a standalone package: no download) and
//       through a bare "msiexec /i ... /qn" of the same package, alternating, each followed by
//       an uninstall; prints the median seconds of each and their ratio
//   engine_bench plan ROUNDS
//       the UI thread's time in StartInstall (the plan with all three prerequisite detectors,
//       the session check, the worker's start) and in the plan alone, against the same
//       registry reads done bare (open, query, close of the detectors' keys and values; once
//       with one query a value, once with the size query the registry holder makes first for
//       text), and the start of an empty worker; median microseconds and the ratios
#include "engine/InstallEngine.h"
#include "engine/Prerequisites.h"
#include "framework/Handles.h"
#include "net/InternetSession.h"
#include "tests/support/ProcessRun.h"

#include <windows.h>
#include <msi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kProductCode[] = L"{FAC345AC-DF6B-4585-A554-175CA2632A57}";
constexpr wchar_t kProductKey[] = L"SOFTWARE\\NVX Systems Test\\EngineBench";

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

bool Uninstall() {
    return nvxtest::RunAndWait(std::wstring(L"msiexec.exe /x ") + kProductCode + L" /qn") == 0;
}

std::wstring TempFolder(const wchar_t* name) {
    wchar_t path[MAX_PATH + 1];
    DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    std::wstring folder = std::wstring(path, length) + name;
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    ::SHCreateDirectoryExW(nullptr, (folder + L"\\msi").c_str(), nullptr);
    ::SHCreateDirectoryExW(nullptr, (folder + L"\\config").c_str(), nullptr);
    return folder;
}

// A standalone installer folder with the package, and its configuration as start-up loads it.
void PrepareStandalone(const std::wstring& folder, const std::wstring& package, CInstallConfig& config,
                       LaunchOptions& app, bool with_prerequisites) {
    ::CopyFileW(package.c_str(), (folder + L"\\msi\\LumetraEngineTest.msi").c_str(), FALSE);
    std::string dependencies;
    if (with_prerequisites)
        dependencies = "<dependency><name>webview2.exe</name></dependency>"
                       "<dependency><name>vc_redist.exe</name></dependency>"
                       "<dependency><name>bonjour.msi</name></dependency>";
    std::string manifest =
        "<nvxwebinstaller><web_installer_version>1.0.0.5</web_installer_version>"
        "<product_code>{FAC345AC-DF6B-4585-A554-175CA2632A57}</product_code><product>"
        "<pid>LUMPRO17EN</pid><full_name>Lumetra Engine Test</full_name>"
        "<short_name>Lumetra</short_name><registry>SOFTWARE\\NVX Systems Test\\EngineBench</registry>"
        "<standalone>true</standalone><standalone_version>17.0.0.100</standalone_version>"
        "<main_component><name>LumetraEngineTest.msi</name><executable>Lumetra.exe</executable>"
        "<full_url>http://127.0.0.1/unused.msi</full_url></main_component>" +
        dependencies + "</product></nvxwebinstaller>";
    std::ofstream(std::filesystem::path(folder + L"\\config\\manifestPro.xml"), std::ios::binary) << manifest;
    config.LoadConfigurationFor(folder + L"\\webinstaller.exe", app);
}

double EngineInstallSeconds(const std::wstring& folder, const std::wstring& package) {
    CInstallConfig config;
    LaunchOptions app;
    PrepareStandalone(folder, package, config, app, false);
    InstallProgress progress;
    CInstallEngine engine(config, app, progress);
    Clock::time_point start = Clock::now();
    engine.StartInstall();
    engine.WaitForSequence();
    double seconds = Seconds(Clock::now() - start);
    if (progress.State() != InstallState::Finished)
        std::printf("error engine_state %d\n", static_cast<int>(progress.State()));
    return seconds;
}

double MsiexecInstallSeconds(const std::wstring& package) {
    Clock::time_point start = Clock::now();
    DWORD result = nvxtest::RunAndWait(L"msiexec.exe /i \"" + package + L"\" /qn");
    double seconds = Seconds(Clock::now() - start);
    if (result != 0)
        std::printf("error msiexec_result %lu\n", static_cast<unsigned long>(result));
    return seconds;
}

int Install(const std::wstring& fixtures, int rounds) {
    std::wstring package = fixtures + L"\\LumetraEngineTest.msi";
    std::wstring folder = TempFolder(L"nvx-engine-bench");
    Uninstall();
    std::vector<double> engine_seconds;
    std::vector<double> msiexec_seconds;
    for (int round = 0; round < rounds; ++round) {
        engine_seconds.push_back(EngineInstallSeconds(folder, package));
        Uninstall();
        msiexec_seconds.push_back(MsiexecInstallSeconds(package));
        Uninstall();
    }
    double engine = Median(engine_seconds);
    double msiexec = Median(msiexec_seconds);
    std::printf("rounds %d\nengine_install_seconds %.3f\nmsiexec_install_seconds %.3f\ninstall_ratio %.3f\n",
                rounds, engine, msiexec, engine / msiexec);
    return 0;
}

// The reads the three detectors make, without the engine: open, query, close. With
// `sized_strings`, text values are read the way the registry holder reads them: their size
// first, then the data.
void BareDetectorReads(bool sized_strings) {
    struct Read {
        HKEY root;
        const wchar_t* key;
        bool text;
        std::vector<const wchar_t*> values;
    };
    const Read reads[] = {
        {HKEY_LOCAL_MACHINE, kWebView2MachineKey, true, {L"pv"}},
        {HKEY_CURRENT_USER, kWebView2UserKey, true, {L"pv"}},
        {HKEY_LOCAL_MACHINE, kVcRuntimeKey, false, {L"Major", L"Minor", L"Bld"}},
        {HKEY_LOCAL_MACHINE, kBonjourKey, true, {L"Version"}},
    };
    for (const Read& read : reads) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(read.root, read.key, 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        for (const wchar_t* value : read.values) {
            BYTE data[512];
            DWORD size = sizeof(data);
            if (read.text && sized_strings)
                ::RegQueryValueExW(key, value, nullptr, nullptr, nullptr, &size);
            ::RegQueryValueExW(key, value, nullptr, nullptr, data, &size);
        }
        ::RegCloseKey(key);
    }
}

template <typename Action> double Microseconds(Action action) {
    Clock::time_point start = Clock::now();
    action();
    return Seconds(Clock::now() - start) * 1e6;
}

void WriteDetectedComponents() {
    auto set = [](HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* data,
                  DWORD size) {
        HKEY key = nullptr;
        ::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
    };
    const wchar_t pv[] = L"120.0.2210.91";
    const wchar_t version[] = L"3.1.0.1";
    DWORD major = 14, minor = 38, bld = 33130;
    set(HKEY_LOCAL_MACHINE, kWebView2MachineKey, L"pv", REG_SZ, pv, sizeof(pv));
    set(HKEY_CURRENT_USER, kWebView2UserKey, L"pv", REG_SZ, pv, sizeof(pv));
    set(HKEY_LOCAL_MACHINE, kVcRuntimeKey, L"Major", REG_DWORD, &major, 4);
    set(HKEY_LOCAL_MACHINE, kVcRuntimeKey, L"Minor", REG_DWORD, &minor, 4);
    set(HKEY_LOCAL_MACHINE, kVcRuntimeKey, L"Bld", REG_DWORD, &bld, 4);
    set(HKEY_LOCAL_MACHINE, kBonjourKey, L"Version", REG_SZ, version, sizeof(version));
}

void RemoveDetectedComponents() {
    for (const wchar_t* key : {kWebView2MachineKey, kVcRuntimeKey, kBonjourKey})
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWebView2UserKey);
}

int Plan(int rounds) {
    std::wstring folder = TempFolder(L"nvx-engine-bench-plan");
    CInstallConfig config;
    LaunchOptions app;
    PrepareStandalone(folder, L"", config, app, true);
    CInternetSessionOwner session;
    WriteDetectedComponents();
    std::vector<double> start_us, plan_us, bare_us, sized_us, worker_us;
    // Round 0 warms up: it opens the session and loads what stays loaded; it is not counted.
    for (int round = 0; round <= rounds; ++round) {
        InstallProgress progress;
        double start = 0, plan = 0, bare = 0, sized = 0, worker = 0;
        {
            CInstallEngine engine(config, app, progress);
            // Cancelled before it starts, the sequence ends at once; its end is not timed.
            engine.RequestCancel();
            start = Microseconds([&] { engine.StartInstall(); });
        }
        {
            CInstallEngine engine(config, app, progress);
            plan = Microseconds([&] { engine.BuildInstallPlan(); });
        }
        bare = Microseconds([] { BareDetectorReads(false); });
        sized = Microseconds([] { BareDetectorReads(true); });
        std::future<void> task;
        worker = Microseconds([&] { task = std::async(std::launch::async, [] {}); });
        task.wait();
        if (round == 0)
            continue;
        start_us.push_back(start);
        plan_us.push_back(plan);
        bare_us.push_back(bare);
        sized_us.push_back(sized);
        worker_us.push_back(worker);
    }
    RemoveDetectedComponents();
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProductKey);
    double bare = Median(bare_us);
    std::printf("rounds %d\nstart_install_us %.1f\nbuild_plan_us %.1f\nbare_reads_us %.1f\n"
                "bare_reads_sized_us %.1f\nworker_start_us %.1f\nstart_ratio %.3f\nplan_ratio %.3f\n",
                rounds, Median(start_us), Median(plan_us), bare, Median(sized_us), Median(worker_us),
                Median(start_us) / bare, Median(plan_us) / bare);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"install" && argc > 3)
        return Install(argv[2], _wtoi(argv[3]));
    if (mode == L"plan" && argc > 2)
        return Plan(_wtoi(argv[2]));
    std::fprintf(stderr, "usage: engine_bench install FIXTURES ROUNDS | plan ROUNDS\n");
    return 2;
}
