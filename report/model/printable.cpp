#include "report/model/printable.h"

#include "report/model/band.h"

namespace rep {

TRepPrintable::TRepPrintable(const TRepDisplay& display) : Size(display) {
    Size.SetOwner(this);
    // The default size goes into the stored rectangle, which a parent pushes back.
    SetBounds(0, 0, 10, 10);
}

TRepPrintable::~TRepPrintable() { detachFromParent(); }

void TRepPrintable::detachFromParent() {
    if (parentReport_ && !parentBand_) parentReport_->RemovePrintable(this);
    if (parentBand_) parentBand_->RemovePrintable(this);
    parentBand_ = nullptr;
    parentReport_ = nullptr;
}

void TRepPrintable::SetPixelBounds(const TRepBounds& b) {
    if (Size.ParentUpdating()) {
        bounds_ = b;
        return;
    }
    SetBounds(b.Left, b.Top, b.Width, b.Height);
}

void TRepPrintable::SetBounds(int left, int top, int width, int height) {
    if (Size.ParentUpdating()) {
        bounds_ = {left, top, width, height};
    } else if (reading_) {
        if (left) remembered_.Left = left;
        if (top) remembered_.Top = top;
        if (width) remembered_.Width = width;
        if (height) remembered_.Height = height;
    } else {
        // Pixel positions set by code become stored native values.
        Size.ApplyPixelBounds({left, top, width, height});
    }
    if (AlignToBand && !aligning_) AlignIt();
}

void TRepPrintable::EndReading() {
    reading_ = false;
    Size.Loaded();
    TRepBounds b = bounds_;
    bool changed = false;
    auto fill = [&](int& v, int r) {
        if (v == 0 && r != 0) {
            v = r;
            changed = true;
        }
    };
    fill(b.Left, remembered_.Left);
    fill(b.Top, remembered_.Top);
    fill(b.Width, remembered_.Width);
    fill(b.Height, remembered_.Height);
    if (changed) SetBounds(b.Left, b.Top, b.Width, b.Height);
    ParentChanged();
}

void TRepPrintable::SetParent(TRepRun* report) {
    detachFromParent();
    if (!report) {
        ParentChanged();
        return;
    }
    report->AddPrintable(this);
    parentReport_ = report;
    Size.SetUnits(report->Units());
    Size.SetParentReport(report);
    int left = bounds_.Left, top = bounds_.Top;
    Size.SetZoom(report->Zoom());
    Size.SetParentSizes();
    // The printable keeps its pixel position at the report's zoom.
    SetBounds(left, top, bounds_.Width, bounds_.Height);
    ParentChanged();
}

void TRepPrintable::SetParent(TRepBand* band) {
    detachFromParent();
    if (!band) {
        ParentChanged();
        return;
    }
    band->AddPrintable(this);
    parentBand_ = band;
    parentReport_ = &band->Report();
    Size.SetUnits(band->Size.Units());
    Size.SetParentReport(parentReport_);
    Size.SetZoom(parentReport_->Zoom());
    SetBounds(bounds_.Left, bounds_.Top, bounds_.Width, bounds_.Height);
    ParentChanged();
}

void TRepPrintable::AttachReport(TRepRun* report) {
    parentReport_ = report;
    Size.SetParentReport(report);
}

void TRepPrintable::SetAlignment(TRepAlignment value) {
    alignment_ = value;
    if (AlignToBand) AlignIt();
}

void TRepPrintable::AlignIt() {
    if (!AlignToBand) return;
    aligning_ = true;
    int bandWidth = parentBand_ ? parentBand_->PixelBounds().Width : 0;
    switch (alignment_) {
    case TRepAlignment::taLeftJustify: SetLeft(0); break;
    case TRepAlignment::taRightJustify:
        if (parentBand_) SetLeft(bandWidth - bounds_.Width);
        break;
    case TRepAlignment::taCenter:
        if (parentBand_) SetLeft((bandWidth - bounds_.Width) / 2);
        break;
    }
    aligning_ = false;
}

void TRepPrintable::Prepare() {
    isPrinting_ = true;
    runCanvas_ = parentReport_ ? parentReport_->RunCanvas() : nullptr;
}

void TRepPrintable::Unprepare() { isPrinting_ = false; }

void TRepPrintable::BandResized(TRepBand*, int reason) {
    if (reason == 2) AlignIt();
}

void TRepPrintable::Print(long double OfsX, long double OfsY) {
    if (!parentReport_ || !runCanvas_ || !parentReport_->DrawGraphics() || !Frame.AnyFrame()) return;
    const TRepRunCanvas& p = *runCanvas_;
    long double l = Size.NativeValue(TRepPrintableSize::LeftValue) + OfsX;
    long double t = Size.NativeValue(TRepPrintableSize::TopValue) + OfsY;
    long double w = Size.NativeValue(TRepPrintableSize::WidthValue);
    long double h = Size.NativeValue(TRepPrintableSize::HeightValue);
    RECT r{p.XPos(l), p.YPos(t), p.XPos(l + w), p.YPos(t + h)};
    Frame.Draw(p.Canvas(), r, p.XFactor(), p.YFactor());
}

}  // namespace rep
