#include "skin/DpiScale.h"

namespace {

int StepScale(int dpi, int n) {
    return static_cast<int>(StepFactor(dpi) * n);
}

int ExactScale(int dpi, int n) {
    return static_cast<int>(static_cast<float>(dpi) * static_cast<float>(n) / 96.0f);
}

} // namespace

double StepFactor(int dpi) {
    const double ratio = dpi / 96.0;
    if (ratio < 1.25)
        return 1.0;
    if (ratio < 1.5)
        return 1.25;
    if (ratio < 2.0)
        return 1.5;
    return 2.0;
}

int DpiScale::ScaleX(int n) const {
    return StepScale(dpi_x, n);
}

int DpiScale::ScaleY(int n) const {
    return StepScale(dpi_y, n);
}

int DpiScale::ScaleExactX(int n) const {
    return ExactScale(dpi_x, n);
}

int DpiScale::ScaleExactY(int n) const {
    return ExactScale(dpi_y, n);
}

int DpiScale::SnappedDpi() const {
    if (dpi_y < 120)
        return dpi_y;
    if (dpi_y < 144)
        return 120;
    if (dpi_y < 192)
        return 144;
    return 192;
}

int DpiScale::PickDpiVariant(int base_id) const {
    const int snapped = SnappedDpi();
    if (snapped >= 192)
        return base_id + 3;
    if (snapped >= 144)
        return base_id + 2;
    if (snapped >= 120)
        return base_id + 1;
    return base_id;
}

CornerRadii CornerRadiiFor(const DpiScale& scale) {
    return {static_cast<float>(scale.dpi_x) * 3.0f / 96.0f, static_cast<float>(scale.dpi_y) * 3.0f / 96.0f,
            scale.ScaleExactX(4), scale.ScaleExactY(4)};
}
