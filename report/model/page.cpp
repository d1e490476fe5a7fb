#include "report/model/page.h"

namespace rep {

TRepPage::TRepPage(const TRepDisplay& display) : TRepUnitBase(display) {
    SetBottomMargin(0);
    long double margin;
    if (display.UsMeasurement) {
        SetUnits(TRepUnit::Inches);
        SetPaperSize(TRepPaperSize::Letter);
        margin = 0.5L;
    } else {
        SetUnits(TRepUnit::MM);
        SetPaperSize(TRepPaperSize::A4);
        margin = 10;
    }
    SetTopMargin(margin);
    SetBottomMargin(margin);
    SetRightMargin(margin);
    SetLeftMargin(margin);
    SetRuler(true);
    SetColumns(1);
}

bool TRepPage::IsHorizontal(TRepPageValue index) { return index >= WidthValue; }

long double TRepPage::Value(TRepPageValue index) const {
    return Shown(values_[index], IsHorizontal(index));
}

void TRepPage::SetValue(TRepPageValue index, long double value) {
    const bool paperDimension = index == LengthValue || index == WidthValue;
    if (paperDimension && paperSize_ != TRepPaperSize::Custom) return;
    values_[index] = Stored(value, IsHorizontal(index));
    if (paperDimension || index == BottomMarginValue) {
        SetParentSizes();
        RelayoutBands();
    } else {
        RelayoutBands();
        RepaintReport();
    }
}

void TRepPage::SetColumns(int columns) {
    if (columns <= 0 || columns == columns_) return;
    columns_ = columns;
    RelayoutBands();
    RepaintReport();
}

void TRepPage::SetOrientation(TRepOrientation orientation) {
    orientation_ = orientation;
    SetPaperSize(paperSize_);
}

void TRepPage::SetPaperSize(TRepPaperSize size) {
    const auto mm = PaperSizeMm(size, orientation_ == TRepOrientation::poLandscape);
    if (!mm) {
        paperSize_ = size;  // Default and Custom keep the lengths as they are
        return;
    }
    SaveUnits();
    {
        // The relayout hook may itself switch units; the units of this call come
        // back whatever it did, also when it throws.
        struct Restore {
            TRepPage& page;
            TRepUnit units;
            ~Restore() {
                page.RestoreUnits();
                if (page.GetUnits() != units) page.SetUnits(units);
            }
        } restore{*this, SavedUnits()};
        SetUnits(TRepUnit::MM);
        paperSize_ = TRepPaperSize::Custom;  // so that Width and Length take the values
        SetWidth(mm->Width);
        SetLength(mm->Length);
    }
    RelayoutBands();
    paperSize_ = size;
}

void TRepPage::SetRuler(bool ruler) {
    if (ruler == ruler_) return;
    ruler_ = ruler;
    RepaintReport();
    if (ParentReport()) ParentReport()->ReapplyUnits();
}

void TRepPage::ReadValues(const TRepValues& values) {
    CopyValues(values, values_.data(), values_.size());
}

TRepValues TRepPage::WriteValues() const { return TRepValues(values_.begin(), values_.end()); }

void TRepPage::SetParentSizes() {
    if (!Owner()) return;
    TRepBounds b = Owner()->PixelBounds();
    b.Width = PixelsOf(values_[WidthValue]);
    b.Height = PixelsOf(values_[LengthValue]);
    PushBounds(b);
}

}  // namespace rep
