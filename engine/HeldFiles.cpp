#include "engine/HeldFiles.h"

#include "framework/Cng.h"

#include <windows.h>

bool CHeldFiles::Hold(const std::wstring& path) {
    if (IsHeld(path))
        return true;
    // No delete access of our own: Windows Installer opens a package sharing it for reading
    // only, which a handle with delete access would refuse.
    nvx::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    files_.emplace(path, std::move(file));
    return true;
}

bool CHeldFiles::Digest(const std::wstring& path, Sha256Digest& digest) const {
    auto held = files_.find(path);
    return held != files_.end() && nvx::cng::Sha256OfFile(held->second.get(), digest);
}

namespace {

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return ::GetFileInformationByHandle(a, &first) && ::GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

} // namespace

bool CHeldFiles::StillAtItsPath(const std::wstring& path) const {
    auto held = files_.find(path);
    if (held == files_.end())
        return false;
    nvx::UniqueHandle again(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    return again && SameFile(held->second.get(), again.get());
}

void CHeldFiles::Discard(const std::wstring& path) {
    Release(path);
    ::DeleteFileW(path.c_str());
}
