#pragma once
// Owner of a WinINet handle (session, connection or request).
#include "framework/Handles.h"

#include <wininet.h>

namespace nvx {

using UniqueInternetHandle = UniqueResource<HINTERNET, &::InternetCloseHandle>;

} // namespace nvx
