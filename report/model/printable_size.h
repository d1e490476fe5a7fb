#pragma once
// The stored rectangle of one printable, measured from the paper's top-left corner
// (printable on the report) or from its band's top-left corner.
#include <array>

#include "report/model/unit_base.h"

namespace rep {

class TRepPrintableSize : public TRepUnitBase {
public:
    // Positions in "Values".
    enum TRepPrintableValue { HeightValue = 0, LeftValue = 1, TopValue = 2, WidthValue = 3 };
    static constexpr std::size_t ValueCount = 4;

    explicit TRepPrintableSize(const TRepDisplay& display) : TRepUnitBase(display) {}

    // In the current units; every change pushes the pixel bounds to the printable.
    long double Value(TRepPrintableValue index) const;
    void SetValue(TRepPrintableValue index, long double value);

    long double Height() const { return Value(HeightValue); }
    long double Left() const { return Value(LeftValue); }
    long double Top() const { return Value(TopValue); }
    long double Width() const { return Value(WidthValue); }
    void SetHeight(long double v) { SetValue(HeightValue, v); }
    void SetLeft(long double v) { SetValue(LeftValue, v); }
    void SetTop(long double v) { SetValue(TopValue, v); }
    void SetWidth(long double v) { SetValue(WidthValue, v); }

    long double NativeValue(TRepPrintableValue index) const { return values_[index]; }

    // New pixel bounds asked of the printable by code: each of height, width, top and
    // left that differs from the stored value read in pixels is stored, in that order.
    // The printable's bounds setter calls this when it is neither being pushed to
    // (ParentUpdating) nor being read from a form definition.
    void ApplyPixelBounds(const TRepBounds& bounds);

    void ReadValues(const TRepValues& values) override;
    TRepValues WriteValues() const override;
    // The printable's pixel left, top, width and height.
    void SetParentSizes() override;

private:
    static bool IsHorizontal(TRepPrintableValue index);

    std::array<long double, ValueCount> values_{};
};

}  // namespace rep
