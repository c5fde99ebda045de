#include "app/WindowsSwitchKey.h"

#include <windows.h>

std::string WindowsSwitchKey(const std::wstring& token) {
    std::wstring lower = token;
    if (!lower.empty())
        ::CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    int length = ::WideCharToMultiByte(CP_THREAD_ACP, 0, lower.data(), static_cast<int>(lower.size()),
                                       nullptr, 0, nullptr, nullptr);
    std::string key(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_THREAD_ACP, 0, lower.data(), static_cast<int>(lower.size()), key.data(),
                              length, nullptr, nullptr);
    return key;
}
