#pragma once
// Painting a frame on a device context, for code that has the platform headers.
#include <windows.h>

#include "report/model/frame.h"

namespace rep {

inline void DrawFrame(const TRepFrame& frame, HDC dc, const RECT& rect, long double xFactor,
                      long double yFactor) {
    frame.Draw(dc, rect, xFactor, yFactor);
}

}  // namespace rep
