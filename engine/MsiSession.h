#pragma once
// The product's package installed in-process by Windows Installer, its own user interface off:
// the session's handler answers the installer's questions (message boxes through the prompt
// port), turns its progress records into the step's percent, delivers the user's cancel and
// picks the home page out of the property dump.
// windows.h first: its MessageBox macro must rename the handling's name everywhere alike.
#include <windows.h>

#include "engine/PackageMessages.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

class CMsiSession {
public:
    using PublishPercent = std::function<void(int32_t percent)>;

    // `cancel_requested` is the engine's: once set, the next progress record is answered with a
    // cancel. The installer's boxes are owned by `prompt_owner` and captioned `caption`.
    CMsiSession(const std::atomic<bool>& cancel_requested, PublishPercent publish);
    CMsiSession(const CMsiSession&) = delete;
    CMsiSession& operator=(const CMsiSession&) = delete;

    void SetPrompt(HWND owner, std::wstring caption);

    // Installs the package with the property string; Windows Installer's result (0, 3010,
    // 1602, 1603, ...). Worker thread only.
    [[nodiscard]] UINT Install(const std::wstring& package_path, const std::wstring& properties);

    // The product's home page seen during an installation; empty until then.
    const std::wstring& captured_homepage_url() const noexcept { return captured_homepage_url_; }

private:
    static INT CALLBACK OnInstallerMessage(LPVOID context, UINT message_type, LPCWSTR text);
    int HandleInstallerMessage(UINT message_type, const wchar_t* text);
    int OnInfoMessage(const wchar_t* text);
    // Windows Installer's own log goes beside the run's log, when there is one.
    static void EnableVerboseLog();

    const std::atomic<bool>& cancel_requested_;
    CPackageProgress package_progress_;
    HWND prompt_owner_ = nullptr;
    std::wstring caption_;
    bool first_message_ = true;
    std::wstring captured_homepage_url_;
};
