#pragma once
// What new report geometry learns from the system: the screen's logical pixels
// per inch and the locale's measurement system.
#include "report/model/unit_base.h"

namespace rep {

// LOGPIXELSY of the screen (96 if the screen cannot be asked).
int ScreenResolution();
// True when the system's default locale measures in inches (LOCALE_IMEASURE "1").
bool LocaleUsesUsMeasurement();
TRepDisplay SystemDisplay();

}  // namespace rep
