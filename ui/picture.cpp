#include "ui/picture.h"

namespace ui {

namespace {
const COLORREF kVga[16] = {
    RGB(0, 0, 0),     RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),   RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),   RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

int colourIndex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return 10 + (c - 'A');
    if (c >= 'a' && c <= 'f') return 10 + (c - 'a');
    return 7;
}

int brightness(COLORREF c) { return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100; }
}  // namespace

Picture Picture::fromRows(const std::vector<std::string>& rows) {
    Picture p;
    p.height = static_cast<int>(rows.size());
    p.width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    p.pixels.reserve(static_cast<size_t>(p.width * p.height));
    for (const auto& r : rows)
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back(kVga[colourIndex(x < static_cast<int>(r.size()) ? r[static_cast<size_t>(x)] : '7')]);
    return p;
}

void drawPicture(HDC dc, int x, int y, const Picture& pic, bool greyed) {
    COLORREF clear = pic.transparentColor();
    if (!greyed) {
        for (int j = 0; j < pic.height; ++j)
            for (int i = 0; i < pic.width; ++i)
                if (COLORREF c = pic.at(i, j); c != clear) SetPixelV(dc, x + i, y + j, c);
        return;
    }
    COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
    for (int pass = 0; pass < 2; ++pass)
        for (int j = 0; j < pic.height; ++j)
            for (int i = 0; i < pic.width; ++i) {
                COLORREF c = pic.at(i, j);
                if (c == clear || brightness(c) > 160) continue;
                if (pass == 0) SetPixelV(dc, x + i + 1, y + j + 1, hi);
                else SetPixelV(dc, x + i, y + j, sh);
            }
}

}  // namespace ui
