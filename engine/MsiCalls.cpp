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

} // namespace msi
