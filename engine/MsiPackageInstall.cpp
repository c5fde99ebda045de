// The product's package installed in-process by Windows Installer, its own user interface off:
// the engine's handler answers the installer's questions, turns its progress records into the
// step's percent, delivers the user's cancel and picks the home page out of the property dump.
#include "framework/ExceptionGuard.h"
#include "engine/EngineMessageBox.h"
#include "engine/InstallEngine.h"
#include "engine/MsiCalls.h"
#include "engine/PackageProperties.h"

#include <shlwapi.h>

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

bool CInstallEngine::InstallPackage(const InstallStep& step, int32_t install_index) {
    package_step_index_ = install_index;
    return InstallMsiPackage(step);
}

bool CInstallEngine::InstallMsiPackage(const InstallStep& step) {
    package_progress_.ResetForPackage();
    first_message_ = true;
    installer_cancel_ = false;
    msi::SetInternalUI(kSilentUiLevel);
    msi::SetExternalUI(&CInstallEngine::OnInstallerMessage, kInstallerMessageFilter, this);

    PackagePropertyInputs inputs;
    inputs.product_installed = app_.product_installed != 0;
    inputs.install_folder_exists = ::PathFileExistsW(config_.install_folder.c_str()) != FALSE;
    inputs.install_folder = config_.install_folder;
    inputs.language_choice_enabled = config_.language_choice_enabled != 0;
    inputs.language_id = config_.language.language_id;
    inputs.transform_folder = config_.transform_folder;
    inputs.file_association = config_.file_association;
    UINT result = msi::InstallProduct(step.local_path, BuildPackageProperties(inputs));
    // The handler's context is this engine: no later installation in the process may call it.
    msi::SetExternalUI(nullptr, 0, nullptr);
    main_package_result_ = result;

    if (result == ERROR_SUCCESS)
        return true;
    Debug(L"ZUPEL_DEBUG: MSI Installation failed. Error Code: " + std::to_wstring(static_cast<int>(result)) +
          L"\r\n");
    return result == ERROR_SUCCESS_REBOOT_REQUIRED;
}

INT CALLBACK CInstallEngine::OnInstallerMessage(LPVOID context, UINT message_type, LPCWSTR text) {
    auto* engine = static_cast<CInstallEngine*>(context);
    // An exception means the message was not handled (0): the installer decides.
    return nvx::GuardedCall(
        "CInstallEngine::OnInstallerMessage",
        [&] { return engine->HandleInstallerMessage(message_type, text); }, 0);
}

int CInstallEngine::HandleInstallerMessage(UINT message_type, const wchar_t* text) {
    if (first_message_) {
        msi::SetInternalUI(INSTALLUILEVEL_BASIC);
        first_message_ = false;
    }
    if (!text)
        return 0;
    Debug(L"\r\n " + std::wstring(text));
    switch (ClassifyInstallerMessage(message_type)) {
    case InstallerMessageHandling::MessageBox:
        return ShowInstallerMessageBox(message_type, text);
    case InstallerMessageHandling::Info:
        return OnInfoMessage(text);
    case InstallerMessageHandling::Progress:
        return OnProgressMessage(text);
    case InstallerMessageHandling::AnswerOk:
        return IDOK;
    case InstallerMessageHandling::AnswerNone:
        break;
    }
    return 0;
}

int CInstallEngine::ShowInstallerMessageBox(UINT message_type, const wchar_t* text) {
    // The installer's own text and buttons; the answer goes back to it.
    return ::MessageBoxW(GuideWindow(), text, config_.manifest.short_name.c_str(), message_type & kStyleBits);
}

int CInstallEngine::OnProgressMessage(const wchar_t* text) {
    // The sequence's own flag too: a cancel confirmed while this package was being set up (after
    // the step's check, around the reset above) must still reach the installer.
    return package_progress_.AnswerProgressRecord(text, installer_cancel_ || cancel_requested);
}

int CInstallEngine::OnInfoMessage(const wchar_t* text) {
    // The first address seen wins.
    if (captured_homepage_url_.empty()) {
        if (std::optional<std::wstring> homepage = HomepageFromInfoMessage(text))
            captured_homepage_url_ = std::move(*homepage);
    }
    return IDOK;
}
