#include "framework/SystemLibrary.h"

namespace nvx {

bool RestrictDllSearchToSystemFolder() noexcept {
    return ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

CSystemLibrary::CSystemLibrary(const wchar_t* file_name) noexcept
    : module_(::LoadLibraryExW(file_name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    if (!module_) {
        DWORD error = ::GetLastError();
        load_error_ = error != ERROR_SUCCESS ? error : ERROR_MOD_NOT_FOUND;
    }
}

CSystemLibrary::~CSystemLibrary() {
    if (module_)
        ::FreeLibrary(module_);
}

FARPROC CSystemLibrary::FindAddress(const char* name) const noexcept {
    return module_ ? ::GetProcAddress(module_, name) : nullptr;
}

} // namespace nvx
