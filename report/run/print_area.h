#pragma once
// Where a page's values can land: the part of the paper the printer that prints it reaches,
// and that printer's own text metrics.
#include <windows.h>

namespace rep {

// A rectangle on the paper in native units; right and bottom exclusive.
struct TRepNativeRect {
    long double Left = 0;
    long double Top = 0;
    long double Right = 0;
    long double Bottom = 0;
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    bool Intersects(const TRepNativeRect& o) const;
};

struct TRepPrintArea {
    TRepNativeRect Paper;
    // Within the paper; the paper itself where the printer does not say.
    TRepNativeRect Printable;
    // The printing device's context and resolution, where text is measured as it prints;
    // null without a printer (then the screen measures, finely).
    HDC Measure = nullptr;
    int PixelsPerInch = 0;
};

}  // namespace rep
