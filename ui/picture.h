#pragma once
// Small 16-colour pictures drawn from text rows; the bottom-left pixel's colour is transparent.
#include <windows.h>

#include <string>
#include <vector>

namespace ui {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top

    // Rows of characters; each character names one of the 16 standard colours:
    // '0' black, '1' maroon, '2' green, '3' olive, '4' navy, '5' purple, '6' teal, '7' silver,
    // '8' grey, '9' red, 'A' lime, 'B' yellow, 'C' blue, 'D' fuchsia, 'E' aqua, 'F' white.
    static Picture fromRows(const std::vector<std::string>& rows);
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    COLORREF transparentColor() const { return height ? at(0, height - 1) : 0; }
};

// Draws the picture at (x, y), leaving transparent pixels untouched. Greyed draws the
// disabled look: the dark pixels as an embossed grey shape.
void drawPicture(HDC dc, int x, int y, const Picture& pic, bool greyed = false);

}  // namespace ui
