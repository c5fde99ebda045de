#pragma once
// WinINet (wininet.dll), loaded from the system folder on first use (see SystemLibrary.h).
// The functions the installer uses, with the system's signatures. When the DLL or the
// entry point is missing, a handle function answers null and a BOOL function FALSE, with
// the reason in the thread's last error.
#include <windows.h>
#include <wininet.h>

namespace nvx::wininet {

HINTERNET InternetOpenW(LPCWSTR agent, DWORD access_type, LPCWSTR proxy, LPCWSTR proxy_bypass, DWORD flags);
BOOL InternetCloseHandle(HINTERNET handle);
BOOL InternetSetOptionW(HINTERNET handle, DWORD option, LPVOID buffer, DWORD buffer_length);
BOOL InternetCrackUrlW(LPCWSTR url, DWORD url_length, DWORD flags, LPURL_COMPONENTSW components);
HINTERNET InternetConnectW(HINTERNET session, LPCWSTR server_name, INTERNET_PORT server_port,
                           LPCWSTR user_name, LPCWSTR password, DWORD service, DWORD flags,
                           DWORD_PTR context);
HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR object_name, LPCWSTR version,
                           LPCWSTR referrer, LPCWSTR* accept_types, DWORD flags, DWORD_PTR context);
BOOL HttpAddRequestHeadersW(HINTERNET request, LPCWSTR headers, DWORD headers_length, DWORD modifiers);
BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headers_length, LPVOID optional,
                      DWORD optional_length);
BOOL HttpQueryInfoW(HINTERNET request, DWORD info_level, LPVOID buffer, LPDWORD buffer_length, LPDWORD index);
BOOL InternetQueryDataAvailable(HINTERNET file, LPDWORD bytes_available, DWORD flags, DWORD_PTR context);
BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD bytes_to_read, LPDWORD bytes_read);

} // namespace nvx::wininet
