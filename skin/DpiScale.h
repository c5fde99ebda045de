#pragma once
// How sizes given at 96 DPI become screen pixels. Most sizes step with the DPI (100, 125, 150,
// 200 %), so that layouts keep whole-pixel proportions; a few follow the exact DPI ratio. The
// arithmetic is plain C++ over a DPI pair, so any DPI can be tried without a screen.

// The stepped factor for a DPI: 1.0 below 120, 1.25 below 144, 1.5 below 192, else 2.0.
double StepFactor(int dpi);

struct DpiScale {
    int dpi_x = 0;
    int dpi_y = 0;

    // n times the stepped factor, truncated toward zero.
    int ScaleX(int n) const;
    int ScaleY(int n) const;
    // n times dpi / 96 in single precision, truncated toward zero.
    int ScaleExactX(int n) const;
    int ScaleExactY(int n) const;
    // The vertical DPI snapped down to an artwork resolution (120, 144, 192); below 120 it is kept.
    int SnappedDpi() const;
    // The resource id of the picture drawn for this DPI: base id + 0, 1, 2 or 3.
    int PickDpiVariant(int base_id) const;
};

// Corner radii fixed at start-up: the progress bar's follow the exact DPI unrounded, the text
// button's are whole pixels.
struct CornerRadii {
    float progress_x = 0;
    float progress_y = 0;
    int text_button_x = 0;
    int text_button_y = 0;
};

CornerRadii CornerRadiiFor(const DpiScale& scale);
