#include "framework/UserPrompt.h"

#include "framework/Diagnostics.h"
#include "framework/QuietAnswer.h"

#include <mutex>
#include <utility>

namespace nvx {
namespace {

static_assert(MB_OKCANCEL == 1 && MB_ABORTRETRYIGNORE == 2 && MB_YESNOCANCEL == 3 && MB_YESNO == 4 &&
              MB_RETRYCANCEL == 5 && MB_CANCELTRYCONTINUE == 6 && MB_TYPEMASK == 0x0F);
static_assert(IDOK == 1 && IDCANCEL == 2 && IDABORT == 3 && IDRETRY == 4 && IDIGNORE == 5 && IDYES == 6 &&
              IDNO == 7);

std::mutex answerer_mutex;
PromptAnswerer current_answerer; // empty: the user answers

PromptAnswerer ExchangeAnswerer(PromptAnswerer answerer) {
    std::lock_guard lock(answerer_mutex);
    std::swap(current_answerer, answerer);
    return answerer;
}

PromptAnswerer CurrentAnswerer() {
    std::lock_guard lock(answerer_mutex);
    return current_answerer;
}

} // namespace

int Prompt(HWND owner, std::wstring_view text, std::wstring_view caption, UINT style) {
    PromptRequest request{owner, std::wstring(text), std::wstring(caption), style};
    Diagnose(L"prompt", L"\"" + request.caption + L"\": " + request.text);
    // The answerer is called outside the lock: it may wait for something that prompts itself.
    const PromptAnswerer answerer = CurrentAnswerer();
    const int answer = answerer ? answerer(request)
                                : ::MessageBoxW(owner, request.text.c_str(), request.caption.c_str(), style);
    Diagnose(L"prompt", L"answer " + ButtonName(answer));
    return answer;
}

PromptAnswerer QuietAnswerer() {
    return [](const PromptRequest& request) {
        Diagnose(L"prompt", L"quiet run: answered without showing the box");
        return QuietAnswer(request.style);
    };
}

CPromptAnswererScope::CPromptAnswererScope(PromptAnswerer answerer)
    : previous_(ExchangeAnswerer(std::move(answerer))) {}

CPromptAnswererScope::~CPromptAnswererScope() {
    ExchangeAnswerer(std::move(previous_));
}

} // namespace nvx
