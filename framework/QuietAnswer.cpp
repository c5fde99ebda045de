#include "framework/QuietAnswer.h"

namespace nvx {
namespace {

// The system's values (winuser.h), checked against it where it is available.
enum ButtonSet : unsigned {
    kOk = 0,
    kOkCancel = 1,
    kAbortRetryIgnore = 2,
    kYesNoCancel = 3,
    kYesNo = 4,
    kRetryCancel = 5,
    kCancelTryContinue = 6,
};
constexpr unsigned kButtonSetBits = 0x0000000F;
enum Answer : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdAbort = 3,
    kIdRetry = 4,
    kIdIgnore = 5,
    kIdYes = 6,
    kIdNo = 7
};

} // namespace

int QuietAnswer(unsigned style) noexcept {
    switch (style & kButtonSetBits) {
    case kAbortRetryIgnore:
        return kIdAbort;
    case kYesNo:
    case kYesNoCancel:
        return kIdNo;
    case kRetryCancel:
    case kCancelTryContinue:
        return kIdCancel;
    case kOk:
    case kOkCancel:
    default:
        return kIdOk;
    }
}

std::wstring ButtonName(int answer) {
    switch (answer) {
    case kIdOk:
        return L"OK";
    case kIdCancel:
        return L"Cancel";
    case kIdAbort:
        return L"Abort";
    case kIdRetry:
        return L"Retry";
    case kIdIgnore:
        return L"Ignore";
    case kIdYes:
        return L"Yes";
    case kIdNo:
        return L"No";
    default:
        return std::to_wstring(answer);
    }
}

} // namespace nvx
