#pragma once
// The stored height and width of one band.
#include <array>

#include "report/model/unit_base.h"

namespace rep {

class TRepBandSize : public TRepUnitBase {
public:
    // Positions in "Values".
    enum TRepBandValue { HeightValue = 0, WidthValue = 1 };
    static constexpr std::size_t ValueCount = 2;

    explicit TRepBandSize(const TRepDisplay& display) : TRepUnitBase(display) {}

    // In the current units; every change pushes the pixel size to the band.
    long double Value(TRepBandValue index) const;
    void SetValue(TRepBandValue index, long double value);

    long double Height() const { return Value(HeightValue); }
    long double Width() const { return Value(WidthValue); }
    void SetHeight(long double v) { SetValue(HeightValue, v); }
    void SetWidth(long double v) { SetValue(WidthValue, v); }

    long double NativeValue(TRepBandValue index) const { return values_[index]; }

    void ReadValues(const TRepValues& values) override;
    TRepValues WriteValues() const override;
    // The band's pixel width and height; its left and top stay.
    void SetParentSizes() override;

private:
    std::array<long double, ValueCount> values_{};
};

}  // namespace rep
