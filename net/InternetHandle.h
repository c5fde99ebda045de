#pragma once
// Owner of a WinINet handle (session, connection or request).
#include "framework/Handles.h"
#include "framework/WinInet.h"

namespace nvx {

using UniqueInternetHandle = UniqueResource<HINTERNET, &nvx::wininet::InternetCloseHandle>;

} // namespace nvx
