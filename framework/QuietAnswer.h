#pragma once
// The answer a quiet run gives in place of the user: the button that ends or continues the run
// safely, never one that waits for something to change (Retry, Try Again) or that starts
// something (Yes). Portable: the button sets and answers are the system's message box values.
#include <string>

namespace nvx {

// MB_OK and MB_OKCANCEL: OK (an error box is acknowledged); MB_ABORTRETRYIGNORE: Abort;
// MB_YESNO and MB_YESNOCANCEL: No; MB_RETRYCANCEL and MB_CANCELTRYCONTINUE: Cancel.
int QuietAnswer(unsigned style) noexcept;

// "OK", "Cancel", "No", ... for a button id; the number for any other value.
std::wstring ButtonName(int answer);

} // namespace nvx
