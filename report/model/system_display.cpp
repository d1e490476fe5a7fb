#include "report/model/system_display.h"

#include <windows.h>

namespace rep {

int ScreenResolution() {
    HDC screen = GetDC(nullptr);
    if (!screen) return ScreenPixelsPerInch;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : ScreenPixelsPerInch;
}

bool LocaleUsesUsMeasurement() {
    wchar_t value[4] = {};
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IMEASURE, value, 4)) return false;
    return value[0] == L'1' && value[1] == 0;
}

TRepDisplay SystemDisplay() { return {ScreenResolution(), LocaleUsesUsMeasurement()}; }

}  // namespace rep
