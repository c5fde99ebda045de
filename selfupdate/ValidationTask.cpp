#include "selfupdate/ValidationTask.h"

#include "framework/DesktopLaunch.h"
#include "framework/ExceptionGuard.h"
#include "framework/Handles.h"
#include "framework/UserPrompt.h"
#include "localization/MessageText.h"
#include "selfupdate/VersionCheck.h"

#include <objbase.h>
#include <shlwapi.h>

namespace {

int ShowOwnedMessage(const ValidationTaskContext& context, const std::wstring& text, UINT type) {
    // Hidden first: the message takes the validator's place, also in a silent run.
    ::ShowWindow(context.validator, SW_HIDE);
    return nvx::Prompt(context.validator, text, context.config.manifest.short_name, type);
}

void StartInstalledCopy(const CInstallConfig& config) {
    std::wstring path = config.GetInstalledExecutablePath();
    if (path.empty() || !::PathFileExistsW(path.c_str()))
        return;
    nvx::ComApartmentScope com;
    LaunchAsDesktopUser(path);
}

void ActOnVerdict(const ValidationTaskContext& context, VersionCheckResult verdict) {
    const LanguageContext& language = context.config.language;
    if (verdict == ServerUnreachable) {
        ShowOwnedMessage(context, language.LookupUIString(ui::kErrConnectDownloadServer),
                         MB_OK | MB_ICONERROR);
        context.state.validation_outcome = ValidationOutcome::Stop;
        context.state.check_failed = 1;
    } else if (verdict == VersionCheckResult::AlreadyInstalled) {
        std::wstring text = FillPlaceholder(language.LookupUIString(ui::kErrInstalledAlready),
                                            context.config.manifest.short_name);
        int answer = ShowOwnedMessage(context, text, MB_YESNO | MB_ICONERROR);
        context.state.validation_outcome = ValidationOutcome::Stop;
        if (answer == IDYES)
            StartInstalledCopy(context.config);
    } else if (verdict == VersionCheckResult::ClientTooOld) {
        if (DownloadUpdater(context.config, context.app, context.state))
            context.state.validation_outcome = ValidationOutcome::RunUpdater;
    }
    // Proceed (and anything else): the outcome stays Continue.
}

} // namespace

void ValidationTask(const ValidationTaskContext& context) {
    // No exception may leave the worker, and the validator must close whatever happened:
    // its modal loop holds start-up until then.
    nvx::GuardedCall("ValidationTask", [&context] {
        ::Sleep(kValidationDelayMs);
        ActOnVerdict(context, CheckVersions(context.config, context.app));
    });
    context.finished.store(true, std::memory_order_release);
    ::PostMessageW(context.validator, WM_CLOSE, 0, 0);
}
