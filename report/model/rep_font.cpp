#include "report/model/rep_font.h"

#include <cmath>

namespace rep {

int FontHeightPx(int sizePt, int pixelsPerInch) {
    // MulDiv rounding: halves away from zero.
    long long num = static_cast<long long>(sizePt) * pixelsPerInch;
    long long h = (num >= 0 ? num + 36 : num - 36) / 72;
    return -static_cast<int>(h);
}

}  // namespace rep
