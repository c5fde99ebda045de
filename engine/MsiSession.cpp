#include "engine/MsiSession.h"

#include "engine/MsiCalls.h"
#include "framework/Diagnostics.h"
#include "framework/ExceptionGuard.h"
#include "framework/RunLog.h"
#include "framework/UserPrompt.h"

#include <chrono>

namespace {

// Every kind but FILESINUSE: fatal exit, error, warning, user, info, resolve source, out of
// disk space, action start and data, progress, common data, initialize, terminate, show dialog
// and install end.
constexpr DWORD kInstallerMessageFilter = 0x08007FDF;
// Nothing of the installer's own but a prompt for a missing source.
constexpr auto kSilentUiLevel =
    static_cast<INSTALLUILEVEL>(INSTALLUILEVEL_NONE | INSTALLUILEVEL_SOURCERESONLY);
constexpr UINT kStyleBits = 0x00FFFFFF;

} // namespace

CMsiSession::CMsiSession(const std::atomic<bool>& cancel_requested, PublishPercent publish)
    : cancel_requested_(cancel_requested), package_progress_(std::move(publish)) {}

void CMsiSession::SetPrompt(HWND owner, std::wstring caption) {
    prompt_owner_ = owner;
    caption_ = std::move(caption);
}

UINT CMsiSession::Install(const std::wstring& package_path, const std::wstring& properties) {
    package_progress_.ResetForPackage();
    first_message_ = true;
    msi::SetInternalUI(kSilentUiLevel);
    msi::SetExternalUI(&CMsiSession::OnInstallerMessage, kInstallerMessageFilter, this);
    EnableVerboseLog();
    nvx::Diagnose(L"msi", L"installing " + package_path + L" with " + properties);
    const auto start = std::chrono::steady_clock::now();
    const UINT result = msi::InstallProduct(package_path, properties);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    // The handler's context is this session: no later installation in the process may call it.
    msi::SetExternalUI(nullptr, 0, nullptr);
    if (result != ERROR_SUCCESS)
        nvx::Diagnose(L"msi", L"ZUPEL_DEBUG: MSI Installation failed. Error Code: " +
                                  std::to_wstring(static_cast<int>(result)));
    nvx::Diagnose(L"msi", L"the package's result: " + std::to_wstring(result) + L" after " +
                              std::to_wstring(elapsed.count()) + L" ms");
    return result;
}

void CMsiSession::EnableVerboseLog() {
    const std::wstring run_log = nvx::RunLogPath();
    if (run_log.empty())
        return;
    const std::wstring path = run_log + L".msi.log";
    const UINT enabled = msi::EnableVerboseLog(path);
    nvx::Diagnose(L"msi", enabled == ERROR_SUCCESS ? L"Windows Installer's verbose log: " + path
                                                   : L"Windows Installer's verbose log cannot be enabled (" +
                                                         std::to_wstring(enabled) + L"): " + path);
}

INT CALLBACK CMsiSession::OnInstallerMessage(LPVOID context, UINT message_type, LPCWSTR text) {
    auto* session = static_cast<CMsiSession*>(context);
    // An exception means the message was not handled (0): the installer decides.
    return nvx::GuardedCall(
        "CMsiSession::OnInstallerMessage",
        [&] { return session->HandleInstallerMessage(message_type, text); }, 0);
}

int CMsiSession::HandleInstallerMessage(UINT message_type, const wchar_t* text) {
    if (first_message_) {
        msi::SetInternalUI(INSTALLUILEVEL_BASIC);
        first_message_ = false;
    }
    if (!text)
        return 0;
    const InstallerMessageHandling handling = ClassifyInstallerMessage(message_type);
    // Progress records come by the thousand and say nothing a log needs; action data is a line
    // per file copied or registry value written, which Windows Installer's own log keeps.
    const bool action_data = (message_type & 0xFF000000) == INSTALLMESSAGE_ACTIONDATA;
    if (handling != InstallerMessageHandling::Progress && !action_data)
        nvx::Diagnose(L"msi", text);
    switch (handling) {
    case InstallerMessageHandling::MessageBox:
        // The installer's own text and buttons; the answer goes back to it.
        return nvx::Prompt(prompt_owner_, text, caption_, message_type & kStyleBits);
    case InstallerMessageHandling::Info:
        return OnInfoMessage(text);
    case InstallerMessageHandling::Progress:
        return package_progress_.AnswerProgressRecord(text, cancel_requested_);
    case InstallerMessageHandling::AnswerOk:
        return IDOK;
    case InstallerMessageHandling::AnswerNone:
        break;
    }
    return 0;
}

int CMsiSession::OnInfoMessage(const wchar_t* text) {
    // The first address seen wins.
    if (captured_homepage_url_.empty()) {
        if (std::optional<std::wstring> homepage = HomepageFromInfoMessage(text))
            captured_homepage_url_ = std::move(*homepage);
    }
    return IDOK;
}
