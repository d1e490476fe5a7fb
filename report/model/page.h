#pragma once
// The page of one report: paper, orientation, margins and columns.
#include <array>

#include "report/model/orientation.h"
#include "report/model/unit_base.h"

namespace rep {

class TRepPage : public TRepUnitBase {
public:
    // Positions in "Values".
    enum TRepPageValue {
        BottomMarginValue = 0,
        LengthValue = 1,
        TopMarginValue = 2,
        WidthValue = 3,
        LeftMarginValue = 4,
        RightMarginValue = 5,
        ColumnSpaceValue = 6,
    };
    static constexpr std::size_t ValueCount = 7;

    // The locale's defaults: inches on Letter with half-inch margins, or
    // millimetres on A4 with 10-mm margins.
    explicit TRepPage(const TRepDisplay& display);

    // Lengths in the current units. Length and Width are taken only under Custom.
    long double Value(TRepPageValue index) const;
    void SetValue(TRepPageValue index, long double value);

    long double BottomMargin() const { return Value(BottomMarginValue); }
    long double Length() const { return Value(LengthValue); }
    long double TopMargin() const { return Value(TopMarginValue); }
    long double Width() const { return Value(WidthValue); }
    long double LeftMargin() const { return Value(LeftMarginValue); }
    long double RightMargin() const { return Value(RightMarginValue); }
    long double ColumnSpace() const { return Value(ColumnSpaceValue); }
    void SetBottomMargin(long double v) { SetValue(BottomMarginValue, v); }
    void SetLength(long double v) { SetValue(LengthValue, v); }
    void SetTopMargin(long double v) { SetValue(TopMarginValue, v); }
    void SetWidth(long double v) { SetValue(WidthValue, v); }
    void SetLeftMargin(long double v) { SetValue(LeftMarginValue, v); }
    void SetRightMargin(long double v) { SetValue(RightMarginValue, v); }
    void SetColumnSpace(long double v) { SetValue(ColumnSpaceValue, v); }

    // The stored value in native units, whatever the current units.
    long double NativeValue(TRepPageValue index) const { return values_[index]; }

    int Columns() const { return columns_; }
    void SetColumns(int columns);
    TRepOrientation Orientation() const { return orientation_; }
    void SetOrientation(TRepOrientation orientation);
    TRepPaperSize PaperSize() const { return paperSize_; }
    void SetPaperSize(TRepPaperSize size);
    bool Ruler() const { return ruler_; }
    void SetRuler(bool ruler);

    void ReadValues(const TRepValues& values) override;
    TRepValues WriteValues() const override;
    // The report's pixel width and height; its left and top stay.
    void SetParentSizes() override;

private:
    static bool IsHorizontal(TRepPageValue index);

    std::array<long double, ValueCount> values_{};
    int columns_ = 0;
    TRepOrientation orientation_ = TRepOrientation::poPortrait;
    TRepPaperSize paperSize_ = TRepPaperSize::Default;
    bool ruler_ = false;
};

}  // namespace rep
