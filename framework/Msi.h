#pragma once
// Windows Installer (msi.dll), loaded from the system folder on first use (see
// SystemLibrary.h). The functions the installer uses, with the system's signatures. When the
// DLL or the entry point is missing, the UINT functions answer the reason
// (ERROR_MOD_NOT_FOUND, ERROR_PROC_NOT_FOUND), MsiSetInternalUI INSTALLUILEVEL_NOCHANGE and
// MsiSetExternalUIW null, with the reason in the thread's last error.
#include <windows.h>
#include <msi.h>

namespace nvx::msi {

UINT MsiGetProductInfoW(LPCWSTR product, LPCWSTR attribute, LPWSTR value, DWORD* value_length);
INSTALLUILEVEL MsiSetInternalUI(INSTALLUILEVEL ui_level, HWND* window);
INSTALLUI_HANDLERW MsiSetExternalUIW(INSTALLUI_HANDLERW handler, DWORD message_filter, LPVOID context);
UINT MsiInstallProductW(LPCWSTR package_path, LPCWSTR command_line);
UINT MsiEnableLogW(DWORD log_mode, LPCWSTR log_file, DWORD log_attributes);

} // namespace nvx::msi
