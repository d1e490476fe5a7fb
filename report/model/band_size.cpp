#include "report/model/band_size.h"

namespace rep {

long double TRepBandSize::Value(TRepBandValue index) const {
    return Shown(values_[index], index == WidthValue);
}

void TRepBandSize::SetValue(TRepBandValue index, long double value) {
    values_[index] = Stored(value, index == WidthValue);
    SetParentSizes();
}

void TRepBandSize::ReadValues(const TRepValues& values) {
    CopyValues(values, values_.data(), values_.size());
}

TRepValues TRepBandSize::WriteValues() const { return TRepValues(values_.begin(), values_.end()); }

void TRepBandSize::SetParentSizes() {
    if (!Owner()) return;
    TRepBounds b = Owner()->PixelBounds();
    b.Width = PixelsOf(values_[WidthValue]);
    b.Height = PixelsOf(values_[HeightValue]);
    PushBounds(b);
}

}  // namespace rep
