// The installation sequence with scripted actions that fail, vanish or cancel on cue: which
// actions run in which order, what the progress record shows, and the final state.
#include "engine/InstallSequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

InstallStep Step(const wchar_t* name, StepKind kind, uint32_t download = 1) {
    return {name, std::wstring(L"http://h/") + name, std::wstring(L"C:\\f\\") + name, L"", download, kind};
}

std::vector<InstallStep> FullPlan() {
    return {Step(L"vc_redist.exe", StepKind::External), Step(L"Lumetra.msi", StepKind::Package),
            Step(L"1031.mst", StepKind::Transform), Step(L"language_pack_1031.exe", StepKind::External)};
}

// Actions that log what they are asked, answer as scripted, and can run a hook at any call.
class CScriptedActions final : public IInstallActions {
public:
    VersionCheckOutcome version = VersionCheckOutcome::Proceed;
    std::set<std::wstring> failing_downloads;
    std::set<std::wstring> missing_files;
    std::set<std::wstring> refused_files; // their check before use fails
    bool package_succeeds = true;
    bool layout_completes = true;
    // Called with each logged entry, after it is logged: the place to cancel or throw.
    std::function<void(const std::wstring&)> on_call;
    std::vector<std::wstring> log;
    std::vector<std::pair<InstallState, int32_t>> states_seen; // at each install call

    explicit CScriptedActions(InstallProgress& progress) : progress_(progress) {}

    VersionCheckOutcome CheckServerVersion() override {
        Log(L"check");
        return version;
    }
    bool DownloadStep(const InstallStep& step, const DownloadReport& report) override {
        Log(L"download " + step.name);
        report(0, 0);
        report(50, 200);
        if (failing_downloads.count(step.name))
            return false;
        report(200, 200);
        return true;
    }
    bool FileExists(const std::wstring& path) override {
        for (const std::wstring& missing : missing_files) {
            if (path.ends_with(missing))
                return false;
        }
        return true;
    }
    bool CheckStepFile(const InstallStep& step) override {
        if (!refused_files.count(step.name))
            return true;
        Log(L"refused " + step.name);
        return false;
    }
    bool InstallPackage(const InstallStep& step, int32_t install_index) override {
        Log(L"package " + step.name + L" #" + std::to_wstring(install_index));
        Seen();
        return package_succeeds;
    }
    void RunExternalInstaller(const InstallStep& step) override {
        Log(L"run " + step.name);
        Seen();
    }
    void WriteProductSettings() override { Log(L"settings"); }
    void PublishHomepage() override { Log(L"homepage"); }
    void ShowDownloadFailure() override { Log(L"connection box"); }
    bool CompleteLayout() override {
        Log(L"complete layout");
        return layout_completes;
    }

private:
    void Log(const std::wstring& entry) {
        log.push_back(entry);
        if (on_call)
            on_call(entry);
    }
    void Seen() { states_seen.push_back({progress_.State(), progress_.step_index.load()}); }

    InstallProgress& progress_;
};

// One sequence over a plan, with its record, flags and actions.
struct SequenceRun {
    std::vector<InstallStep> steps;
    InstallProgress progress;
    std::atomic<bool> cancel_requested{false};
    CScriptedActions actions{progress};
    CInstallSequence sequence;

    explicit SequenceRun(std::vector<InstallStep> plan, SequenceMode mode = SequenceMode::Install)
        : steps(std::move(plan)), sequence(steps, progress, cancel_requested, actions, mode) {}

    // What the UI thread does when the user confirms cancelling.
    void Cancel() {
        progress.BeginCancelling();
        cancel_requested = true;
    }
    InstallState Run() {
        sequence.Run();
        return progress.State();
    }
};

using Log = std::vector<std::wstring>;

} // namespace

TEST(InstallSequence, RunsEveryPhaseAndFinishes) {
    SequenceRun run(FullPlan());
    EXPECT_EQ(run.Run(), InstallState::Finished);
    EXPECT_EQ(run.actions.log,
              (Log{L"check", L"download vc_redist.exe", L"download Lumetra.msi", L"download 1031.mst",
                   L"download language_pack_1031.exe", L"run vc_redist.exe", L"package Lumetra.msi #1",
                   L"run language_pack_1031.exe", L"settings", L"homepage"}));
    // Each step is reported at its own index: the transform counts, but is never installed.
    using P = std::pair<InstallState, int32_t>;
    EXPECT_EQ(run.actions.states_seen, (std::vector<P>{{InstallState::Installing, 0},
                                                       {InstallState::Installing, 1},
                                                       {InstallState::Installing, 3}}));
    EXPECT_EQ(run.sequence.install_index(), 4);
    EXPECT_EQ(run.progress.step_index, -1);
}

TEST(InstallSequence, DownloadReportsBecomeThePercentOfTheDownloadedStep) {
    std::vector<InstallStep> plan = {Step(L"a.exe", StepKind::External, 0), Step(L"b.msi", StepKind::Package),
                                     Step(L"c.exe", StepKind::External)};
    SequenceRun run(plan);
    std::vector<std::tuple<int32_t, int32_t, int32_t>> seen; // state, index, percent after each report
    run.actions.on_call = [&](const std::wstring& entry) {
        if (entry == L"download c.exe")
            seen.emplace_back(run.progress.state.load(), run.progress.step_index.load(),
                              run.progress.step_percent.load());
    };
    EXPECT_TRUE(run.sequence.DownloadAll());
    // The download counter skips steps that are not downloaded: c.exe is download number 1.
    EXPECT_EQ(run.actions.log, (Log{L"download b.msi", L"download c.exe"}));
    EXPECT_EQ(seen, (std::vector<std::tuple<int32_t, int32_t, int32_t>>{{2, 0, 100}}));
    EXPECT_EQ(run.progress.State(), InstallState::Downloading);
    EXPECT_EQ(run.progress.step_index, 1);
    EXPECT_EQ(run.progress.step_percent, 100);
}

TEST(InstallSequence, FailuresEndAsFailedWithTheConnectionBoxOnlyForDownloads) {
    struct Case {
        const char* name;
        std::function<void(CScriptedActions&)> script;
        Log tail; // the log after "check"
        bool download_failed;
    };
    const Case cases[] = {
        {"version data unreachable",
         [](CScriptedActions& a) { a.version = VersionCheckOutcome::DownloadFailed; },
         {L"connection box"},
         true},
        {"already installed or installer too old",
         [](CScriptedActions& a) { a.version = VersionCheckOutcome::Refused; },
         {},
         false},
        {"a step's download fails",
         [](CScriptedActions& a) { a.failing_downloads = {L"Lumetra.msi"}; },
         {L"download vc_redist.exe", L"download Lumetra.msi", L"connection box"},
         true},
        {"the package fails",
         [](CScriptedActions& a) { a.package_succeeds = false; },
         {L"download vc_redist.exe", L"download Lumetra.msi", L"download 1031.mst",
          L"download language_pack_1031.exe", L"run vc_redist.exe", L"package Lumetra.msi #1"},
         false},
        {"a prerequisite's file is refused before it runs",
         [](CScriptedActions& a) { a.refused_files = {L"vc_redist.exe"}; },
         {L"download vc_redist.exe", L"download Lumetra.msi", L"download 1031.mst",
          L"download language_pack_1031.exe", L"refused vc_redist.exe"},
         false},
        {"the package's file is refused before it is installed",
         [](CScriptedActions& a) { a.refused_files = {L"Lumetra.msi"}; },
         {L"download vc_redist.exe", L"download Lumetra.msi", L"download 1031.mst",
          L"download language_pack_1031.exe", L"run vc_redist.exe", L"refused Lumetra.msi"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequenceRun run(FullPlan());
        c.script(run.actions);
        EXPECT_EQ(run.Run(), InstallState::Failed);
        Log expected{L"check"};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(run.actions.log, expected);
        EXPECT_EQ(run.sequence.download_failed(), c.download_failed);
    }
}

TEST(InstallSequence, MissingFilesAreSkippedButAMissingMainPackageFails) {
    {
        SCOPED_TRACE("a missing prerequisite and transform: skipped, the next step takes the index");
        SequenceRun run(FullPlan());
        run.actions.missing_files = {L"vc_redist.exe", L"1031.mst"};
        EXPECT_EQ(run.Run(), InstallState::Finished);
        EXPECT_EQ(run.actions.states_seen,
                  (std::vector<std::pair<InstallState, int32_t>>{{InstallState::Installing, 0},
                                                                 {InstallState::Installing, 1}}));
        EXPECT_EQ(run.sequence.install_index(), 2);
    }
    {
        SCOPED_TRACE("the main package missing: the sequence fails and writes nothing");
        SequenceRun run(FullPlan());
        run.actions.missing_files = {L"Lumetra.msi"};
        EXPECT_EQ(run.Run(), InstallState::Failed);
        EXPECT_TRUE(run.sequence.main_package_missing());
        EXPECT_FALSE(run.sequence.download_failed());
        EXPECT_EQ(run.actions.log.back(), L"run vc_redist.exe");
    }
}

TEST(InstallSequence, ACancelAtAnyPointEndsCancelledWithoutAConnectionBox) {
    struct Case {
        const char* name;
        const wchar_t* cancel_at; // the logged call during which the user cancels; null: before start
        bool download_fails_then; // the running download reports failure because of the cancel
        Log log;
    };
    const Case cases[] = {
        {"before the start: the version check sees it (its download aborts)", nullptr, false, {L"check"}},
        {"during a download",
         L"download Lumetra.msi",
         true,
         {L"check", L"download vc_redist.exe", L"download Lumetra.msi"}},
        {"during an external installer: it runs to its end",
         L"run vc_redist.exe",
         false,
         {L"check", L"download vc_redist.exe", L"download Lumetra.msi", L"download 1031.mst",
          L"download language_pack_1031.exe", L"run vc_redist.exe"}},
        {"after the last step: everything is in place, still Cancelled",
         L"settings",
         false,
         {L"check", L"download vc_redist.exe", L"download Lumetra.msi", L"download 1031.mst",
          L"download language_pack_1031.exe", L"run vc_redist.exe", L"package Lumetra.msi #1",
          L"run language_pack_1031.exe", L"settings", L"homepage"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequenceRun run(FullPlan());
        if (!c.cancel_at) {
            run.Cancel();
            run.actions.version = VersionCheckOutcome::DownloadFailed;
        }
        run.actions.on_call = [&](const std::wstring& entry) {
            if (c.cancel_at && entry == c.cancel_at) {
                run.Cancel();
                if (c.download_fails_then)
                    run.actions.failing_downloads.insert(L"Lumetra.msi");
            }
        };
        EXPECT_EQ(run.Run(), InstallState::Cancelled);
        EXPECT_EQ(run.actions.log, c.log);
        EXPECT_EQ(run.progress.step_index, -1);
    }
}

TEST(InstallSequence, ACancelDuringThePackageEndsCancelledWhenThePackageGivesUp) {
    SequenceRun run(FullPlan());
    run.actions.on_call = [&](const std::wstring& entry) {
        if (entry.starts_with(L"package")) {
            run.Cancel();
            run.actions.package_succeeds = false; // the installer answered IDCANCEL: 1602
        }
    };
    EXPECT_EQ(run.Run(), InstallState::Cancelled);
    EXPECT_EQ(run.actions.log.back(), L"package Lumetra.msi #1");
}

TEST(InstallSequence, AFaultEndsFailedOrCancelled) {
    for (bool cancelling : {false, true}) {
        SequenceRun run(FullPlan());
        run.actions.on_call = [&](const std::wstring& entry) {
            if (entry == L"run vc_redist.exe") {
                if (cancelling)
                    run.Cancel();
                throw std::runtime_error("installer vanished");
            }
        };
        EXPECT_THROW(run.sequence.Run(), std::runtime_error);
        run.sequence.EndAfterFault();
        EXPECT_EQ(run.progress.State(), cancelling ? InstallState::Cancelled : InstallState::Failed);
    }
}

TEST(InstallSequence, DownloadPercentOfAReport) {
    struct Case {
        uint64_t received;
        uint64_t total;
        int32_t percent;
    };
    const Case cases[] = {
        {0, 0, 0},
        {500, 0, 0},
        {0, 1000, 0},
        {999, 1000, 99},
        {1000, 1000, 100},
        {1, 3, 33},
        {3000, 1000, 300}, // a server sending more than announced
        {~0ull, 1, 2147483647},
        {~0ull, ~0ull, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DownloadPercent(c.received, c.total), c.percent) << c.received << " of " << c.total;
}

TEST(InstallSequence, ALayoutDownloadsEverythingAndInstallsNothing) {
    const Log downloads{L"check", L"download vc_redist.exe", L"download Lumetra.msi", L"download 1031.mst",
                        L"download language_pack_1031.exe"};
    {
        SCOPED_TRACE("complete: finished, no installer run, no settings");
        SequenceRun run(FullPlan(), SequenceMode::Layout);
        EXPECT_EQ(run.Run(), InstallState::Finished);
        Log expected = downloads;
        expected.push_back(L"complete layout");
        EXPECT_EQ(run.actions.log, expected);
        EXPECT_TRUE(run.actions.states_seen.empty());
    }
    {
        SCOPED_TRACE("the layout cannot be completed: failed, without the connection box");
        SequenceRun run(FullPlan(), SequenceMode::Layout);
        run.actions.layout_completes = false;
        EXPECT_EQ(run.Run(), InstallState::Failed);
        EXPECT_EQ(run.actions.log.back(), L"complete layout");
        EXPECT_FALSE(run.sequence.download_failed());
    }
    {
        SCOPED_TRACE("a download fails: the layout is not completed");
        SequenceRun run(FullPlan(), SequenceMode::Layout);
        run.actions.failing_downloads = {L"1031.mst"};
        EXPECT_EQ(run.Run(), InstallState::Failed);
        EXPECT_EQ(run.actions.log.back(), L"connection box");
        EXPECT_EQ(std::count(run.actions.log.begin(), run.actions.log.end(), L"complete layout"), 0);
    }
    {
        SCOPED_TRACE("cancelled during the last download: cancelled, not completed");
        SequenceRun run(FullPlan(), SequenceMode::Layout);
        run.actions.on_call = [&run](const std::wstring& entry) {
            if (entry == L"download language_pack_1031.exe")
                run.Cancel();
        };
        EXPECT_EQ(run.Run(), InstallState::Cancelled);
        EXPECT_EQ(run.actions.log, downloads);
    }
}
