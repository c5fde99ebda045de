#pragma once
// The screen's DPI, read on first use and kept for the life of the process (a DPI change while
// the installer runs is not followed), and the scaling helpers every control sizes itself with.
#include "skin/DpiScale.h"

// {0, 0} when no screen DC could be had: stepped sizes then stay as given, exact ones become 0.
const DpiScale& ScreenDpiScale();

int ScaleX(int n);
int ScaleY(int n);
int ScaleExactX(int n);
int ScaleExactY(int n);
int SnappedDpi();
int PickDpiVariant(int base_id);

// Fixed at process start-up from the screen DPI.
extern const CornerRadii theCornerRadii;
