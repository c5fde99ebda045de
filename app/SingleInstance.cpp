#include "app/SingleInstance.h"

bool ClaimSingleInstance(nvx::UniqueHandle& semaphore) noexcept {
    semaphore.reset(::CreateSemaphoreW(nullptr, 0, 1, kInstanceSemaphoreName));
    if (!semaphore || ::GetLastError() != ERROR_ALREADY_EXISTS)
        return true;
    if (HWND first_copy = ::FindWindowW(kInstallerWindowClass, nullptr)) {
        if (::IsIconic(first_copy))
            ::ShowWindow(first_copy, SW_RESTORE);
        ::SetForegroundWindow(first_copy);
    }
    return false;
}

bool RegisterInstallerWindowClass() noexcept {
    WNDCLASSW dialog_class{};
    if (!::GetClassInfoW(nullptr, WC_DIALOG, &dialog_class))
        return false;
    dialog_class.lpszClassName = kInstallerWindowClass;
    // Dialog templates of this module name the class, so it must belong to this module.
    dialog_class.hInstance = ::GetModuleHandleW(nullptr);
    return ::RegisterClassW(&dialog_class) != 0;
}
