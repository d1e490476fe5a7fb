#pragma once
// A report font: what a label or a report draws with, independent of any device.
#include <cstdint>
#include <string>

namespace rep {

enum TRepFontStyle : unsigned { fsNone = 0, fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TRepFont {
    std::wstring Name = L"Arial";
    int Size = 10;  // points; the device shows Size/72 inch
    unsigned Style = fsNone;
    std::uint8_t Charset = 1;          // DEFAULT_CHARSET
    std::uint32_t Color = 0x80000008;  // clWindowText
    bool operator==(const TRepFont&) const = default;
};

// Pixel height of a font at a resolution, as form definitions store it: 10 pt at 96 is -13.
int FontHeightPx(int sizePt, int pixelsPerInch);

}  // namespace rep
