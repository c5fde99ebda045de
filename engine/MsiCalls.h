#pragma once
// Every Windows Installer call of the engine, in one place: the one seam where msi.dll is
// reached, so that the way it is loaded can change without touching the callers.
#include <windows.h>
#include <msi.h>

#include <string>

namespace msi {

INSTALLUILEVEL SetInternalUI(INSTALLUILEVEL level) noexcept;
INSTALLUI_HANDLERW SetExternalUI(INSTALLUI_HANDLERW handler, DWORD message_filter, void* context) noexcept;
UINT InstallProduct(const std::wstring& package_path, const std::wstring& properties) noexcept;
// Windows Installer's own verbose log of the installations that follow, to `path` (replaced).
UINT EnableVerboseLog(const std::wstring& path) noexcept;

} // namespace msi
