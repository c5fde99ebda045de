// The diagnostic channel: every line carries its time and component, reaches every output in
// force, and stays one line whatever the text holds.
#include "framework/Diagnostics.h"
#include "tests/support/DiagnosticRecorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

TEST(Diagnostics, LinesAreFormattedWithUtcTimeAndComponent) {
    using namespace std::chrono;
    // 2026-12-11 06:20:01.123 UTC
    const system_clock::time_point time{milliseconds(1796970001123LL)};
    EXPECT_EQ(nvx::FormatDiagnosticLine({time, L"engine", L"plan: product.msi"}),
              L"2026-12-11T06:20:01.123Z [engine] plan: product.msi");
}

TEST(Diagnostics, EveryOutputInForceGetsTheLineOnce) {
    CDiagnosticRecorder outer;
    {
        CDiagnosticRecorder inner;
        nvx::Diagnose(L"net", L"one");
        EXPECT_EQ(inner.Texts(), std::vector<std::wstring>{L"one"});
    }
    nvx::Diagnose(L"net", L"two");
    EXPECT_EQ(outer.Texts(L"net"), (std::vector<std::wstring>{L"one", L"two"}));
    EXPECT_TRUE(outer.Texts(L"msi").empty());
}

TEST(Diagnostics, ControlCharactersFromOutsideCannotStartALineOfTheirOwn) {
    CDiagnosticRecorder recorder;
    // A server's status text or a file name could carry a line end and a forged line.
    nvx::Diagnose(L"net\r\n", L"status 200\r\n2026-01-01T00:00:00.000Z [engine] installed\r\n");
    const std::vector<nvx::DiagnosticLine> lines = recorder.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].component, L"net");
    EXPECT_EQ(lines[0].text, L"status 200  2026-01-01T00:00:00.000Z [engine] installed");
    EXPECT_EQ(nvx::FormatDiagnosticLine(lines[0]).find_first_of(L"\r\n"), std::wstring::npos);
}

TEST(Diagnostics, LinesFromManyThreadsArriveWhole) {
    CDiagnosticRecorder recorder;
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
                nvx::Diagnose(L"t" + std::to_wstring(t), std::wstring(50, static_cast<wchar_t>(L'a' + t)));
        });
    for (std::thread& writer : writers)
        writer.join();
    const std::vector<nvx::DiagnosticLine> lines = recorder.Lines();
    ASSERT_EQ(lines.size(), 800u);
    for (const nvx::DiagnosticLine& line : lines)
        EXPECT_EQ(line.text, std::wstring(50, static_cast<wchar_t>(L'a' + (line.component[1] - L'0'))));
}
