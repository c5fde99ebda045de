#include "framework/Msi.h"

#include "framework/SystemLibrary.h"

namespace nvx::msi {

namespace {

constexpr wchar_t kFileName[] = L"msi.dll";
using MsiDll = CProcessWideLibrary<kFileName>;

} // namespace

UINT MsiGetProductInfoW(LPCWSTR product, LPCWSTR attribute, LPWSTR value, DWORD* value_length) {
    static const auto entry = MsiDll::Entry<decltype(::MsiGetProductInfoW)>("MsiGetProductInfoW");
    return entry.CallOr(entry.error(), product, attribute, value, value_length);
}

INSTALLUILEVEL MsiSetInternalUI(INSTALLUILEVEL ui_level, HWND* window) {
    static const auto entry = MsiDll::Entry<decltype(::MsiSetInternalUI)>("MsiSetInternalUI");
    return entry.CallOr(INSTALLUILEVEL_NOCHANGE, ui_level, window);
}

INSTALLUI_HANDLERW MsiSetExternalUIW(INSTALLUI_HANDLERW handler, DWORD message_filter, LPVOID context) {
    static const auto entry = MsiDll::Entry<decltype(::MsiSetExternalUIW)>("MsiSetExternalUIW");
    return entry.CallOr(nullptr, handler, message_filter, context);
}

UINT MsiInstallProductW(LPCWSTR package_path, LPCWSTR command_line) {
    static const auto entry = MsiDll::Entry<decltype(::MsiInstallProductW)>("MsiInstallProductW");
    return entry.CallOr(entry.error(), package_path, command_line);
}

UINT MsiEnableLogW(DWORD log_mode, LPCWSTR log_file, DWORD log_attributes) {
    static const auto entry = MsiDll::Entry<decltype(::MsiEnableLogW)>("MsiEnableLogW");
    return entry.CallOr(entry.error(), log_mode, log_file, log_attributes);
}

} // namespace nvx::msi
