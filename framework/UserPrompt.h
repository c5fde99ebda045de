#pragma once
// Every message box of the program goes through this one port. The caller chooses the owner
// window and the caption; the port shows the box (or hands it to the answerer a test put in
// place) and writes the text and the answer to the diagnostic channel.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace nvx {

struct PromptRequest {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT style = MB_OK;
};

// Answers a prompt in place of the user: the button id (IDOK, IDYES, IDCANCEL, ...).
using PromptAnswerer = std::function<int(const PromptRequest& request)>;

// Shows the box and answers the button pressed (0 when no box could be shown). Any thread.
int Prompt(HWND owner, std::wstring_view text, std::wstring_view caption, UINT style);

// Answers every prompt at once, without a box, with the button that ends or continues the run
// safely (QuietAnswer): for a run where nobody may be there to press one.
PromptAnswerer QuietAnswerer();

// Puts an answerer in place of the user for one scope (the one before it comes back on scope
// exit). Prompts on other threads meet it too.
class CPromptAnswererScope {
public:
    explicit CPromptAnswererScope(PromptAnswerer answerer);
    ~CPromptAnswererScope();
    CPromptAnswererScope(const CPromptAnswererScope&) = delete;
    CPromptAnswererScope& operator=(const CPromptAnswererScope&) = delete;

private:
    PromptAnswerer previous_;
};

} // namespace nvx
