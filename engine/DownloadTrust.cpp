#include "engine/DownloadTrust.h"

#include "framework/Authenticode.h"
#include "framework/Diagnostics.h"
#include "framework/Handles.h"
#include "framework/UserPrompt.h"
#include "localization/MessageText.h"

#include <windows.h>
#include <shlwapi.h>

namespace {

// Programs and Windows Installer packages carry Authenticode signatures; a transform is
// applied by its package and checked as part of nothing here.
bool CarriesSignatures(const std::wstring& path) {
    const wchar_t* extension = ::PathFindExtensionW(path.c_str());
    return ::lstrcmpiW(extension, L".exe") == 0 || ::lstrcmpiW(extension, L".msi") == 0;
}

nvx::SignatureVerdict Judge(const InstallStep& step, const std::wstring& publisher) {
    nvx::UniqueHandle file(::CreateFileW(step.local_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {false, L"it cannot be opened for the check"};
    return nvx::JudgeDownload(nvx::ReadFileSignature(file.get(), step.local_path),
                              step.kind == StepKind::Package ? publisher : std::wstring());
}

} // namespace

bool AcceptDownloadedFile(const InstallStep& step, const CInstallConfig& config) {
    if (!CarriesSignatures(step.local_path))
        return true;
    const nvx::SignatureVerdict verdict = Judge(step, config.manifest.publisher);
    if (verdict.accepted)
        return true;
    nvx::Diagnose(L"engine", L"refused " + step.local_path + L" from " + step.url + L": " + verdict.reason);
    ::DeleteFileW(step.local_path.c_str());
    const std::wstring name =
        step.name.empty() ? std::wstring(::PathFindFileNameW(step.local_path.c_str())) : step.name;
    // No owner, as for the other download failures: the wizard may be gone from the screen.
    nvx::Prompt(nullptr, FillPlaceholder(config.language.LookupUIString(ui::kErrFileNotTrusted), name),
                config.manifest.short_name, MB_ICONERROR);
    return false;
}
