#include "engine/MsiCalls.h"

#include "framework/Msi.h"

namespace msi {

INSTALLUILEVEL SetInternalUI(INSTALLUILEVEL level) noexcept {
    return nvx::msi::MsiSetInternalUI(level, nullptr);
}

INSTALLUI_HANDLERW SetExternalUI(INSTALLUI_HANDLERW handler, DWORD message_filter, void* context) noexcept {
    return nvx::msi::MsiSetExternalUIW(handler, message_filter, context);
}

UINT InstallProduct(const std::wstring& package_path, const std::wstring& properties) noexcept {
    return nvx::msi::MsiInstallProductW(package_path.c_str(), properties.c_str());
}

UINT EnableVerboseLog(const std::wstring& path) noexcept {
    // Everything ("/l*v"), each line written at once so that a run that is ended keeps it.
    constexpr DWORD kEveryMessage = INSTALLLOGMODE_FATALEXIT | INSTALLLOGMODE_ERROR | INSTALLLOGMODE_WARNING |
                                    INSTALLLOGMODE_USER | INSTALLLOGMODE_INFO | INSTALLLOGMODE_RESOLVESOURCE |
                                    INSTALLLOGMODE_OUTOFDISKSPACE | INSTALLLOGMODE_ACTIONSTART |
                                    INSTALLLOGMODE_ACTIONDATA | INSTALLLOGMODE_COMMONDATA |
                                    INSTALLLOGMODE_PROPERTYDUMP | INSTALLLOGMODE_VERBOSE;
    return nvx::msi::MsiEnableLogW(kEveryMessage, path.c_str(), INSTALLLOGATTRIBUTES_FLUSHEACHLINE);
}

} // namespace msi
