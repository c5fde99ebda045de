#include "engine/DiskSpaceMessage.h"

#include "localization/MessageText.h"
#include "net/RetryRules.h"

std::wstring VolumeOfPath(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':')
        return path.substr(0, 2);
    if (path.rfind(L"\\\\", 0) == 0) {
        size_t server_end = path.find(L'\\', 2);
        if (server_end == std::wstring::npos)
            return path;
        size_t share_end = path.find(L'\\', server_end + 1);
        return share_end == std::wstring::npos ? path : path.substr(0, share_end);
    }
    return path;
}

uint64_t MegabytesNeeded(uint64_t length) noexcept {
    constexpr uint64_t kMiB = 1ull << 20;
    const uint64_t bytes = length + kFreeSpaceMarginBytes;
    return bytes / kMiB + (bytes % kMiB != 0 ? 1 : 0);
}

std::wstring DiskSpaceMessage(std::wstring_view text, const std::wstring& path, uint64_t length) {
    std::wstring with_drive = FillPlaceholder(text, VolumeOfPath(path));
    return FillPlaceholder(with_drive, std::to_wstring(MegabytesNeeded(length)));
}
