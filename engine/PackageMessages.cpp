#include "engine/PackageMessages.h"

#include "framework/TextCompare.h"
#include "config/TextRules.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint32_t kKindMask = 0xFF000000u;

// Positions past the end of the text collapse onto the end.
size_t Advance(size_t position, size_t count, size_t size) noexcept {
    return std::min(position + count, size);
}

// Text after a marker the text starts with (in any letter case), trimmed; nothing otherwise.
std::optional<std::wstring_view> AfterMarker(std::wstring_view text, std::wstring_view marker) {
    if (text.size() < marker.size() || !EqualsIgnoringAsciiCase(text.substr(0, marker.size()), marker))
        return std::nullopt;
    return TrimmedOf(text.substr(marker.size()), kCWhiteSpace);
}

int32_t Saturated(int64_t value) noexcept {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

InstallerMessageHandling ClassifyInstallerMessage(uint32_t message_type) noexcept {
    switch (message_type & kKindMask) {
    case 0x00000000: // FATALEXIT
    case 0x01000000: // ERROR
    case 0x07000000: // OUTOFDISKSPACE
        return InstallerMessageHandling::MessageBox;
    case 0x04000000: // INFO
        return InstallerMessageHandling::Info;
    case 0x0A000000: // PROGRESS
        return InstallerMessageHandling::Progress;
    case 0x02000000: // WARNING
    case 0x03000000: // USER
    case 0x08000000: // ACTIONSTART
    case 0x09000000: // ACTIONDATA
    case 0x0B000000: // COMMONDATA
    case 0x0C000000: // INITIALIZE
    case 0x0D000000: // TERMINATE
    case 0x0E000000: // SHOWDIALOG
    case 0x1B000000: // INSTALLEND
        return InstallerMessageHandling::AnswerOk;
    default: // FILESINUSE, RESOLVESOURCE (the installer's own prompt takes over), unknown kinds
        return InstallerMessageHandling::AnswerNone;
    }
}

std::optional<std::wstring> HomepageFromInfoMessage(std::wstring_view text) {
    std::optional<std::wstring_view> property = AfterMarker(text, L"Property(S):");
    if (!property)
        return std::nullopt;
    std::optional<std::wstring_view> address = AfterMarker(*property, L"InstallHomepageURL =");
    if (!address)
        return std::nullopt;
    return std::wstring(*address);
}

void CPackageProgress::ResetForPackage() noexcept {
    base_percent_ = 0;
    total_ticks_ = 0;
    forward_ = true;
    position_ = 0;
}

bool CPackageProgress::OnProgressRecord(std::wstring_view text) {
    if (text.empty() || !ParseRecord(text))
        return false;
    switch (progress_kind_) {
    case 0: // a new range
        total_ticks_ = progress_value2_;
        forward_ = progress_value3_ == 0;
        position_ = forward_ ? 0 : total_ticks_;
        base_percent_ = max_percent_;
        break;
    case 1: // action information: each action data message moves by field 2 when field 3 says so
        if (progress_value3_ != 0)
            AdvanceProgress();
        break;
    case 2: // a step forward
        AdvanceProgress();
        break;
    default: // 3 (the range grows) and anything else: nothing to show
        break;
    }
    return true;
}

int CPackageProgress::AnswerProgressRecord(std::wstring_view text, bool cancelling) {
    constexpr int kOk = 1;
    constexpr int kCancel = 2;
    if (!OnProgressRecord(text))
        return kOk;
    return cancelling ? kCancel : kOk;
}

bool CPackageProgress::ParseRecord(std::wstring_view text) {
    const size_t size = text.size();
    size_t at = 0;
    // The value of the field at `at`: up to the next space or the end of the text.
    auto read_value = [&]() {
        size_t end = std::min(text.find(L' ', at), size);
        int32_t value = DecimalTextToInt(text.substr(at, end - at));
        at = Advance(end, 1, size);
        return value;
    };
    while (at < size) {
        wchar_t field = text[at];
        at = Advance(at, 3, size); // the number, ':' and ' '
        switch (field) {
        case L'1':
            if (at >= size || text[at] < L'0' || text[at] > L'9')
                return false;
            progress_kind_ = text[at] - L'0';
            at = Advance(at, 2, size);
            break;
        case L'2':
            progress_value2_ = read_value();
            if (progress_kind_ == 2 || progress_kind_ == 3)
                return true;
            break;
        case L'3':
            progress_value3_ = read_value();
            if (progress_kind_ == 1)
                return true;
            break;
        case L'4':
            read_value();
            return true;
        default:
            return false;
        }
    }
    return true;
}

void CPackageProgress::AdvanceProgress() {
    int64_t moved = int64_t{position_} + (forward_ ? int64_t{progress_value2_} : -int64_t{progress_value2_});
    position_ = Saturated(moved);
    if (total_ticks_ == 0)
        return;
    float share = static_cast<float>(position_) / static_cast<float>(total_ticks_) *
                  static_cast<float>(100 - base_percent_);
    // Bounded before the conversion: a record may claim any number of ticks.
    share = std::clamp(share, -1.0e9f, 1.0e9f);
    int32_t percent = Saturated(int64_t{base_percent_} + static_cast<int32_t>(share));
    max_percent_ = std::max(max_percent_, percent);
    if (publish_)
        publish_(max_percent_);
}
