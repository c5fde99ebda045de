#include "skin/ScreenDpi.h"

#include <windows.h>

namespace {

DpiScale ReadScreenDpi() {
    DpiScale scale;
    if (HDC screen = ::GetDC(nullptr)) {
        scale.dpi_x = ::GetDeviceCaps(screen, LOGPIXELSX);
        scale.dpi_y = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
    return scale;
}

} // namespace

const DpiScale& ScreenDpiScale() {
    static const DpiScale scale = ReadScreenDpi();
    return scale;
}

const CornerRadii theCornerRadii = CornerRadiiFor(ScreenDpiScale());

int ScaleX(int n) {
    return ScreenDpiScale().ScaleX(n);
}

int ScaleY(int n) {
    return ScreenDpiScale().ScaleY(n);
}

int ScaleExactX(int n) {
    return ScreenDpiScale().ScaleExactX(n);
}

int ScaleExactY(int n) {
    return ScreenDpiScale().ScaleExactY(n);
}

int SnappedDpi() {
    return ScreenDpiScale().SnappedDpi();
}

int PickDpiVariant(int base_id) {
    return ScreenDpiScale().PickDpiVariant(base_id);
}
