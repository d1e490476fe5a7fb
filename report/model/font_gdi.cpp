#include "report/model/font_gdi.h"

#include "ui/error.h"

namespace rep {

ui::FontHandle CreateDeviceFont(const TRepFont& f, int pixelsPerInch) {
    return CreateFontOfHeight(f, FontHeightPx(f.Size, pixelsPerInch));
}

ui::FontHandle CreateFontOfHeight(const TRepFont& f, int height) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = (f.Style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (f.Style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (f.Style & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (f.Style & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = f.Charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, f.Name.c_str(), LF_FACESIZE);
    ui::FontHandle h(CreateFontIndirectW(&lf));
    if (!h) ui::throwLastError(L"Cannot create font " + f.Name);
    return h;
}

COLORREF ResolveColor(std::uint32_t color) {
    if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

}  // namespace rep
