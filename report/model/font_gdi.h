#pragma once
// Report fonts on a device: the GDI font for a resolution, and system colours resolved.
#include <windows.h>

#include "report/model/rep_font.h"
#include "ui/handles.h"

namespace rep {

ui::FontHandle CreateDeviceFont(const TRepFont& font, int pixelsPerInch);
// The font with a LOGFONT height in pixels (negative: the em).
ui::FontHandle CreateFontOfHeight(const TRepFont& font, int height);
// clWindowText and the other system colour codes (high byte 0x80) to RGB.
COLORREF ResolveColor(std::uint32_t color);

}  // namespace rep
