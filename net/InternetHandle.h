#pragma once
// Owner of a WinINet handle (session, connection or request).
#include "framework/Handles.h"
#include "framework/WinInet.h"

namespace nvx {

struct InternetHandleTraits {
    using handle_type = HINTERNET;
    static handle_type invalid() noexcept { return nullptr; }
    static bool valid(handle_type h) noexcept { return h != nullptr; }
    static void close(handle_type h) noexcept { nvx::wininet::InternetCloseHandle(h); }
};
using UniqueInternetHandle = UniqueResource<InternetHandleTraits>;

} // namespace nvx
