#include "selfupdate/ClientValidator.h"

#include "framework/Diagnostics.h"
#include "framework/Handles.h"
#include "resources/resource.h"
#include "selfupdate/ValidationTask.h"

#include <commctrl.h>

namespace {

constexpr COLORREF kWindowBackground = RGB(24, 25, 30); // the theme's window background
constexpr UINT kMarqueeIntervalMs = 10;
constexpr UINT_PTR kDeferredCloseTimer = 1;

} // namespace

CClientValidator::CClientValidator(CInstallConfig& config, const LaunchOptions& app)
    : CNVXDialog(IDD_CLIENT_VALIDATOR), config_(config), app_(app) {}

CClientValidator::~CClientValidator() {
    if (validation_task_.valid())
        validation_task_.wait();
}

BOOL CClientValidator::OnInitDialog() {
    CNVXDialog::OnInitDialog();
    progress_bar_.SubclassDlgItem(IDC_VALIDATOR_PROGRESS, this);
    SetApplicationIcon();

    // Frame: icon and title in the caption, no working caption button.
    show_caption_title = 1;
    for (CaptionButton& button : caption_buttons)
        if (button.id == kCaptionClose || button.id == kCaptionMaximize || button.id == kCaptionMinimize)
            button.disabled = 1;
    RepaintFrame();

    OnClientResized(GetClientRect());
    title = config_.language.LookupUIString(ui::kPreparing);
    SetWindowText(title);
    progress_bar_.SendMessage(PBM_SETMARQUEE, TRUE, kMarqueeIntervalMs);

    check_finished_ = false;
    try {
        validation_task_ =
            StartValidationTask(ValidationTaskContext{GetSafeHwnd(), config_, app_, *this, check_finished_});
    } catch (...) {
        // No thread for the check: nothing would ever close the validator. The run ends as a
        // failed check instead, the way the engine ends when its worker cannot start.
        nvx::Diagnose(L"selfupdate", L"the validation task could not start");
        EndAsFailedCheck();
    }
    if (app_.silent_mode)
        HideFromTaskbar();
    return TRUE;
}

std::future<void> CClientValidator::StartValidationTask(const ValidationTaskContext& context) {
    return std::async(std::launch::async, ValidationTask, context);
}

void CClientValidator::EndAsFailedCheck() {
    validation_outcome = ValidationOutcome::Stop;
    check_failed = 1;
    check_finished_.store(true, std::memory_order_release);
    PostMessage(WM_CLOSE);
}

void CClientValidator::OnClientResized(const RECT& client) {
    if (!progress_bar_.GetSafeHwnd())
        return;
    RECT bar = progress_bar_.GetWindowRect();
    int bar_width = bar.right - bar.left;
    int bar_height = bar.bottom - bar.top;
    int left = (client.right - client.left - bar_width) / 2;
    int top = (client.bottom - client.top - bar_height) / 2;
    ::SetWindowPos(progress_bar_.GetSafeHwnd(), nullptr, left, top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CClientValidator::PreTranslateMessage(MSG* msg) {
    return msg->message == WM_KEYDOWN;
}

// Only the check ends the validator, and a visible window stays up at least as long as the
// check's delay, so that it never merely flashes.
bool CClientValidator::OnCloseRequest() {
    if (!check_finished_.load(std::memory_order_acquire))
        return false;
    if (shown_at_ && ::IsWindowVisible(GetSafeHwnd())) {
        auto shown_for = std::chrono::steady_clock::now() - *shown_at_;
        auto remaining = std::chrono::milliseconds(kValidationDelayMs) -
                         std::chrono::duration_cast<std::chrono::milliseconds>(shown_for);
        if (remaining.count() > 0) {
            ::SetTimer(GetSafeHwnd(), kDeferredCloseTimer, static_cast<UINT>(remaining.count()) + 1, nullptr);
            return false;
        }
    }
    EndDialog(IDCANCEL);
    return true;
}

LRESULT CClientValidator::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT client = GetClientRect();
        nvx::UniqueBrush brush(::CreateSolidBrush(kWindowBackground));
        ::FillRect(reinterpret_cast<HDC>(wparam), &client, brush.get());
        return TRUE;
    }
    case WM_CLOSE:
        OnCloseRequest();
        return 0;
    case WM_TIMER:
        if (wparam != kDeferredCloseTimer)
            break;
        ::KillTimer(GetSafeHwnd(), kDeferredCloseTimer);
        OnCloseRequest();
        return 0;
    case WM_WINDOWPOSCHANGING:
        // The dialog manager shows a modal dialog once it is idle; a silent run keeps it hidden.
        if (app_.silent_mode)
            reinterpret_cast<WINDOWPOS*>(lparam)->flags &= ~SWP_SHOWWINDOW;
        break;
    case WM_WINDOWPOSCHANGED:
        if ((reinterpret_cast<const WINDOWPOS*>(lparam)->flags & SWP_SHOWWINDOW) && !shown_at_)
            shown_at_ = std::chrono::steady_clock::now();
        break;
    default:
        break;
    }
    return CNVXDialog::WindowProc(msg, wparam, lparam);
}
