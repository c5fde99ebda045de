#include "engine/LayoutActions.h"

#include "config/ManifestWriter.h"
#include "framework/Diagnostics.h"
#include "framework/Handles.h"
#include "framework/PathText.h"

#include <shlobj.h>

namespace {

constexpr int kLanguageTreeDepth = 4; // language\<id>\<dpi>\... is as deep as it goes
constexpr DWORD kModulePathBuffer = 512;

bool EnsureFolder(const std::wstring& folder) {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) == ERROR_SUCCESS;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t backslash = path.rfind(L'\\');
    return backslash == std::wstring::npos ? std::wstring() : path.substr(0, backslash);
}

// Puts a whole working file in its place; a file of that name from an earlier layout goes.
bool Publish(const std::wstring& working, const std::wstring& path) {
    if (::MoveFileExW(working.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    nvx::Diagnose(L"layout",
                  L"cannot put " + path + L" in place (error " + std::to_wstring(::GetLastError()) + L")");
    ::DeleteFileW(working.c_str());
    return false;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    const std::wstring working = LayoutWorkingName(path);
    {
        nvx::UniqueHandle file(::CreateFileW(working.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file ||
            !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            nvx::Diagnose(L"layout", L"cannot write " + working);
            file.reset();
            ::DeleteFileW(working.c_str());
            return false;
        }
    }
    return Publish(working, path);
}

bool CopyWholeFile(const std::wstring& source, const std::wstring& target) {
    const std::wstring working = LayoutWorkingName(target);
    if (!::CopyFileW(source.c_str(), working.c_str(), FALSE)) {
        nvx::Diagnose(L"layout",
                      L"cannot copy " + source + L" (error " + std::to_wstring(::GetLastError()) + L")");
        ::DeleteFileW(working.c_str());
        return false;
    }
    return Publish(working, target);
}

// The folder's files and sub-folders; links and junctions are not followed.
bool CopyTree(const std::wstring& source, const std::wstring& target, int depth) {
    if (depth > kLanguageTreeDepth || !EnsureFolder(target))
        return false;
    WIN32_FIND_DATAW found{};
    nvx::UniqueResource<HANDLE, &::FindClose> search(
        ::FindFirstFileW(JoinPath(source, L"*").c_str(), &found));
    if (!search)
        return true; // an empty or missing folder has nothing to copy
    bool copied = true;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L".." || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        const std::wstring from = JoinPath(source, name);
        const std::wstring to = JoinPath(target, name);
        copied = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CopyTree(from, to, depth + 1) && copied
                                                                     : CopyWholeFile(from, to) && copied;
    } while (::FindNextFileW(search.get(), &found));
    return copied;
}

} // namespace

std::wstring LayoutWorkingName(const std::wstring& path) {
    return path + L".partial";
}

CLayoutActions::CLayoutActions(CInstallConfig& config, const std::wstring& layout_folder,
                               CWindowsInstallActions& downloads)
    : config_(config), folders_(layout_folder), downloads_(downloads) {}

VersionCheckOutcome CLayoutActions::CheckServerVersion() {
    ManifestInfo& manifest = config_.manifest;
    nvx::Diagnose(L"layout", L"offline layout into " + folders_.root);
    // A layout made from a layout keeps the version it was made with.
    if (manifest.standalone || manifest.version_check_url.empty())
        return VersionCheckOutcome::Proceed;
    InstallStep release{
        L"version.xml",    manifest.version_check_url, config_.MakeDownloadPath(L"version.xml"), L"", 1,
        StepKind::External};
    if (!downloads_.DownloadStep(release, [](uint64_t, uint64_t) {}) ||
        !ParseVersionXml(release.local_path, manifest))
        return VersionCheckOutcome::DownloadFailed;
    nvx::Diagnose(L"layout", L"standalone version " + manifest.standalone_version);
    return VersionCheckOutcome::Proceed;
}

bool CLayoutActions::DownloadStep(const InstallStep& step, const DownloadReport& report) {
    if (!EnsureFolder(FolderOf(step.local_path))) {
        nvx::Diagnose(L"layout", L"cannot create the folder of " + step.local_path);
        return false;
    }
    InstallStep working = step;
    working.local_path = LayoutWorkingName(step.local_path);
    // Judged as any file the installation would run (signature, pin), but on its own: nothing
    // of the package's installation goes with it here.
    working.kind = StepKind::External;
    const bool accepted = downloads_.DownloadStep(working, report) && downloads_.CheckStepFile(working);
    downloads_.ReleaseFile(working.local_path);
    if (!accepted) {
        ::DeleteFileW(working.local_path.c_str());
        return false;
    }
    return Publish(working.local_path, step.local_path);
}

bool CLayoutActions::CompleteLayout() {
    wchar_t module_path[kModulePathBuffer];
    const DWORD length = ::GetModuleFileNameW(nullptr, module_path, kModulePathBuffer);
    if (length == 0 || length >= kModulePathBuffer)
        return false;
    const std::wstring installer(module_path, length);
    const std::wstring installer_name = installer.substr(installer.rfind(L'\\') + 1);

    ManifestInfo standalone = config_.manifest;
    standalone.standalone = true;
    const bool complete = CopyWholeFile(installer, JoinPath(folders_.root, installer_name)) &&
                          CopyTree(JoinPath(config_.module_folder, L"language"),
                                   WithoutTrailingBackslash(folders_.language), 0) &&
                          EnsureFolder(WithoutTrailingBackslash(folders_.config)) &&
                          WriteWholeFile(folders_.config + L"manifestPro.xml", ManifestXml(standalone));
    nvx::Diagnose(L"layout",
                  complete ? L"layout complete: " + folders_.root : L"layout incomplete: " + folders_.root);
    return complete;
}
