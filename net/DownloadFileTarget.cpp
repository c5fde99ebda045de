#include "net/DownloadFileTarget.h"

#include "framework/Diagnostics.h"
#include "net/RetryRules.h"

#include <windows.h>

namespace {

constexpr unsigned kCreateForDownload =
    CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary | CFile::osRandomAccess;

bool SystemFreeSpace(const std::wstring& folder, uint64_t& free_bytes) {
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr))
        return false;
    free_bytes = available.QuadPart;
    return true;
}

} // namespace

FreeSpaceQuery free_space_query = SystemFreeSpace;

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".\\") : path.substr(0, slash + 1);
}

TargetReady CDownloadFileTarget::Prepare(uint64_t length) {
    uint64_t free_bytes = 0;
    // A volume that cannot say how much room it has is tried: the writes will tell.
    if (free_space_query && free_space_query(FolderOf(path_), free_bytes)) {
        nvx::Diagnose(L"download", L"free space at " + FolderOf(path_) + L": " + std::to_wstring(free_bytes) +
                                       L" bytes for " + std::to_wstring(length));
        if (!HasRoomFor(free_bytes, length))
            return TargetReady::NoRoom;
    }
    if (!file_.Open(path_, kCreateForDownload))
        return TargetReady::CannotCreate;
    created_ = true;
    return TargetReady::Ready;
}
