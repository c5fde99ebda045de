#include "framework/WinInet.h"

#include "framework/SystemLibrary.h"

namespace nvx::wininet {

namespace {

constexpr wchar_t kFileName[] = L"wininet.dll";
using WinInetDll = CProcessWideLibrary<kFileName>;

} // namespace

HINTERNET InternetOpenW(LPCWSTR agent, DWORD access_type, LPCWSTR proxy, LPCWSTR proxy_bypass, DWORD flags) {
    static const auto entry = WinInetDll::Entry<decltype(::InternetOpenW)>("InternetOpenW");
    return entry.CallOr(nullptr, agent, access_type, proxy, proxy_bypass, flags);
}

BOOL InternetCloseHandle(HINTERNET handle) {
    static const auto entry = WinInetDll::Entry<decltype(::InternetCloseHandle)>("InternetCloseHandle");
    return entry.CallOr(FALSE, handle);
}

BOOL InternetSetOptionW(HINTERNET handle, DWORD option, LPVOID buffer, DWORD buffer_length) {
    static const auto entry = WinInetDll::Entry<decltype(::InternetSetOptionW)>("InternetSetOptionW");
    return entry.CallOr(FALSE, handle, option, buffer, buffer_length);
}

BOOL InternetCrackUrlW(LPCWSTR url, DWORD url_length, DWORD flags, LPURL_COMPONENTSW components) {
    static const auto entry = WinInetDll::Entry<decltype(::InternetCrackUrlW)>("InternetCrackUrlW");
    return entry.CallOr(FALSE, url, url_length, flags, components);
}

HINTERNET InternetConnectW(HINTERNET session, LPCWSTR server_name, INTERNET_PORT server_port,
                           LPCWSTR user_name, LPCWSTR password, DWORD service, DWORD flags,
                           DWORD_PTR context) {
    static const auto entry = WinInetDll::Entry<decltype(::InternetConnectW)>("InternetConnectW");
    return entry.CallOr(nullptr, session, server_name, server_port, user_name, password, service, flags,
                        context);
}

HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR object_name, LPCWSTR version,
                           LPCWSTR referrer, LPCWSTR* accept_types, DWORD flags, DWORD_PTR context) {
    static const auto entry = WinInetDll::Entry<decltype(::HttpOpenRequestW)>("HttpOpenRequestW");
    return entry.CallOr(nullptr, connection, verb, object_name, version, referrer, accept_types, flags,
                        context);
}

BOOL HttpAddRequestHeadersW(HINTERNET request, LPCWSTR headers, DWORD headers_length, DWORD modifiers) {
    static const auto entry = WinInetDll::Entry<decltype(::HttpAddRequestHeadersW)>("HttpAddRequestHeadersW");
    return entry.CallOr(FALSE, request, headers, headers_length, modifiers);
}

BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headers_length, LPVOID optional,
                      DWORD optional_length) {
    static const auto entry = WinInetDll::Entry<decltype(::HttpSendRequestW)>("HttpSendRequestW");
    return entry.CallOr(FALSE, request, headers, headers_length, optional, optional_length);
}

BOOL HttpQueryInfoW(HINTERNET request, DWORD info_level, LPVOID buffer, LPDWORD buffer_length,
                    LPDWORD index) {
    static const auto entry = WinInetDll::Entry<decltype(::HttpQueryInfoW)>("HttpQueryInfoW");
    return entry.CallOr(FALSE, request, info_level, buffer, buffer_length, index);
}

BOOL InternetQueryDataAvailable(HINTERNET file, LPDWORD bytes_available, DWORD flags, DWORD_PTR context) {
    static const auto entry =
        WinInetDll::Entry<decltype(::InternetQueryDataAvailable)>("InternetQueryDataAvailable");
    return entry.CallOr(FALSE, file, bytes_available, flags, context);
}

BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD bytes_to_read, LPDWORD bytes_read) {
    static const auto entry = WinInetDll::Entry<decltype(::InternetReadFile)>("InternetReadFile");
    return entry.CallOr(FALSE, file, buffer, bytes_to_read, bytes_read);
}

} // namespace nvx::wininet
