#include "report/model/unit_base.h"

#include <algorithm>

namespace rep {

TRepUnitBase::TRepUnitBase(const TRepDisplay& display)
    // A resolution of 0 would divide by zero in the Pixels unit; take the standard screen.
    : resolution_(display.Resolution > 0 ? display.Resolution : ScreenPixelsPerInch),
      units_(display.UsMeasurement ? TRepUnit::Inches : TRepUnit::MM),
      savedUnits_(units_) {}

long double TRepUnitBase::FromNative(TRepUnit units, bool horizontal, long double value) const {
    return rep::FromNative(units, horizontal, value, resolution_, zoom_, FontSize());
}

long double TRepUnitBase::ToNative(TRepUnit units, bool horizontal, long double value) const {
    return rep::ToNative(units, horizontal, value, resolution_, zoom_, FontSize());
}

TRepUnit TRepUnitBase::GetUnits() const { return units_; }

void TRepUnitBase::Loaded() { SetParentSizes(); }

void TRepUnitBase::ReadValues(const TRepValues&) {}

void TRepUnitBase::SetParentSizes() {}

void TRepUnitBase::SetUnits(TRepUnit units) { units_ = units; }

TRepValues TRepUnitBase::WriteValues() const { return {}; }

void TRepUnitBase::SaveUnits() {
    savedUnits_ = units_;
    units_ = TRepUnit::Pixels;
}

void TRepUnitBase::RestoreUnits() { units_ = savedUnits_; }

void TRepUnitBase::SetZoom(int zoom) {
    if (zoom > 0) zoom_ = zoom;
}

long double TRepUnitBase::Shown(long double native, bool horizontal) const {
    return FromNative(GetUnits(), horizontal, native);
}

long double TRepUnitBase::Stored(long double value, bool horizontal) const {
    return ToNative(GetUnits(), horizontal, value);
}

int TRepUnitBase::PixelsOf(long double native) const {
    return static_cast<int>(RoundEven(NativeToPixels(native, resolution_, zoom_)));
}

void TRepUnitBase::CopyValues(const TRepValues& from, long double* to, std::size_t count) {
    std::copy_n(from.begin(), std::min(from.size(), count), to);
}

void TRepUnitBase::PushBounds(const TRepBounds& bounds) {
    if (!owner_) return;
    struct Updating {
        bool& flag;
        explicit Updating(bool& f) : flag(f) { flag = true; }
        ~Updating() { flag = false; }
    } updating(parentUpdating_);
    owner_->SetPixelBounds(bounds);
}

void TRepUnitBase::RelayoutBands() {
    if (parentReport_) parentReport_->RelayoutBands();
}

void TRepUnitBase::RepaintReport() {
    if (parentReport_) parentReport_->Repaint();
}

int TRepUnitBase::FontSize() const {
    return parentReport_ ? parentReport_->FontSize() : DefaultReportFontSize;
}

}  // namespace rep
