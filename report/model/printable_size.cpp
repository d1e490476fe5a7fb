#include "report/model/printable_size.h"

namespace rep {

bool TRepPrintableSize::IsHorizontal(TRepPrintableValue index) {
    return index == LeftValue || index == WidthValue;
}

long double TRepPrintableSize::Value(TRepPrintableValue index) const {
    return Shown(values_[index], IsHorizontal(index));
}

void TRepPrintableSize::SetValue(TRepPrintableValue index, long double value) {
    values_[index] = Stored(value, IsHorizontal(index));
    SetParentSizes();
}

void TRepPrintableSize::ApplyPixelBounds(const TRepBounds& b) {
    SaveUnits();
    struct Restore {
        TRepUnitBase& size;
        ~Restore() { size.RestoreUnits(); }
    } restore{*this};
    if (b.Height != Height()) SetHeight(b.Height);
    if (b.Width != Width()) SetWidth(b.Width);
    if (b.Top != Top()) SetTop(b.Top);
    if (b.Left != Left()) SetLeft(b.Left);
}

void TRepPrintableSize::ReadValues(const TRepValues& values) {
    CopyValues(values, values_.data(), values_.size());
}

TRepValues TRepPrintableSize::WriteValues() const {
    return TRepValues(values_.begin(), values_.end());
}

void TRepPrintableSize::SetParentSizes() {
    PushBounds({PixelsOf(values_[LeftValue]), PixelsOf(values_[TopValue]),
                PixelsOf(values_[WidthValue]), PixelsOf(values_[HeightValue])});
}

}  // namespace rep
