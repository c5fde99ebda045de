// The run log's portable parts: the default file name, the bytes of a line, and the answers a
// quiet run gives in place of the user.
#include "framework/QuietAnswer.h"
#include "framework/RunLog.h"

#include <gtest/gtest.h>

namespace {

TEST(RunLog, DefaultNameCarriesTheLocalStartTimeAndTheProcess) {
    std::tm start{};
    start.tm_year = 2026 - 1900;
    start.tm_mon = 0; // January
    start.tm_mday = 5;
    start.tm_hour = 7;
    start.tm_min = 3;
    start.tm_sec = 9;
    EXPECT_EQ(nvx::DefaultRunLogName(start, 4242), L"NVXWebInstaller_20260105_070309_4242.log");
    EXPECT_EQ(nvx::DefaultRunLogName(start, 4294967295u), L"NVXWebInstaller_20260105_070309_4294967295.log");
}

TEST(RunLog, ALineIsUtf8EndedByCrLfWhateverItsText) {
    nvx::DiagnosticLine line{std::chrono::system_clock::time_point(std::chrono::milliseconds(1796973601123)),
                             L"prompt",
                             std::wstring(L"\"Lumetra\": Gr\u00FC\u00DFe \u4E2D ") + L"\U0001F600"};
    const std::string bytes = nvx::RunLogBytes(line);
    EXPECT_EQ(bytes, "2026-12-11T07:20:01.123Z [prompt] \"Lumetra\": Gr\xC3\xBC\xC3\x9F"
                     "e \xE4\xB8\xAD \xF0\x9F\x98\x80\r\n");
}

TEST(QuietAnswer, EachButtonSetGetsTheAnswerThatEndsOrContinuesSafely) {
    // Button sets and answers as the system numbers them (MB_*, ID*).
    const struct {
        unsigned style;
        int answer;
        const wchar_t* name;
    } cases[] = {
        {0x00000000 | 0x10, 1, L"OK"},     // MB_OK | MB_ICONERROR: an error box is acknowledged
        {0x00000001 | 0x10, 1, L"OK"},     // MB_OKCANCEL: the engine's version messages
        {0x00000002, 3, L"Abort"},         // MB_ABORTRETRYIGNORE: a retry would wait for ever
        {0x00000003, 7, L"No"},            // MB_YESNOCANCEL
        {0x00000004 | 0x10, 7, L"No"},     // MB_YESNO: the installed-copy question
        {0x00000005 | 0x30, 2, L"Cancel"}, // MB_RETRYCANCEL | MB_ICONWARNING: the running applications
        {0x00000006, 2, L"Cancel"},        // MB_CANCELTRYCONTINUE
        {0x00000104, 7, L"No"},            // MB_YESNO | MB_DEFBUTTON2: the default button is not asked
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nvx::QuietAnswer(c.style), c.answer) << std::hex << c.style;
        EXPECT_EQ(nvx::ButtonName(nvx::QuietAnswer(c.style)), c.name) << std::hex << c.style;
    }
    EXPECT_EQ(nvx::ButtonName(0), L"0") << "no box could be shown";
}

} // namespace
