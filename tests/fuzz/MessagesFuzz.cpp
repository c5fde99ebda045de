// Feeds arbitrary text to what the engine makes of Windows Installer's messages: each line is
// one message, answered as a progress record (every other one while cancelling) and searched
// for the home page; an empty line starts the next package. The first four bytes are also
// classified as a message type.
#include "framework/TextCompare.h"
#include "engine/PackageMessages.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 4) {
        uint32_t type = 0;
        std::memcpy(&type, data, sizeof type);
        ClassifyInstallerMessage(type);
    }
    // Bytes as characters: the installer's messages are text, the markers plain ASCII.
    std::wstring text(data, data + size);

    int32_t published = 0;
    CPackageProgress progress([&published](int32_t percent) {
        // Only ever the highest percent so far.
        FuzzCheck(percent >= published);
        published = percent;
    });
    bool cancelling = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = std::min(text.find(L'\n', start), text.size());
        std::wstring_view line = std::wstring_view(text).substr(start, end - start);
        start = end + 1;
        int32_t before = progress.max_percent();
        if (line.empty()) {
            progress.ResetForPackage();
        } else {
            int answer = progress.AnswerProgressRecord(line, cancelling);
            FuzzCheck(answer == 1 || (answer == 2 && cancelling));
        }
        FuzzCheck(progress.max_percent() >= before);
        FuzzCheck(progress.max_percent() == published);
        cancelling = !cancelling;

        if (std::optional<std::wstring> homepage = HomepageFromInfoMessage(line)) {
            constexpr std::wstring_view kMarker = L"Property(S):";
            FuzzCheck(homepage->size() + kMarker.size() <= line.size());
            FuzzCheck(EqualsIgnoringAsciiCase(line.substr(0, kMarker.size()), kMarker));
            FuzzCheck(line.find(*homepage) != std::wstring_view::npos);
        }
    }
    return 0;
}
