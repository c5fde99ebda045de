#include "selfupdate/UpdaterTrust.h"

#include "framework/Authenticode.h"
#include "framework/Diagnostics.h"

bool AcceptUpdater(HANDLE file, const std::wstring& path, const std::wstring& publisher) {
    const nvx::FileSignature& own = nvx::OwnSignature();
    if (own.state == nvx::SignatureState::Unsigned)
        nvx::Diagnose(L"selfupdate",
                      L"this installer is not signed (a development build): the newer installer "
                      L"is not required to come from the same publisher");
    const nvx::SignatureVerdict verdict =
        nvx::JudgeUpdater(nvx::ReadFileSignature(file, path), own, publisher);
    if (!verdict.accepted)
        nvx::Diagnose(L"selfupdate", L"the newer installer " + path + L" is refused: " + verdict.reason);
    return verdict.accepted;
}

void DiscardUpdater(const std::wstring& path) {
    ::DeleteFileW(path.c_str());
    const size_t folder_end = path.find_last_of(L'\\');
    if (folder_end != std::wstring::npos)
        ::RemoveDirectoryW(path.substr(0, folder_end).c_str()); // only when empty
}
