#include "report/model/label.h"

#include <algorithm>
#include <optional>

#include "report/model/band.h"
#include "report/model/export_filter.h"
#include "report/model/font_gdi.h"
#include "report/model/format_lines.h"

namespace rep {

TRepCustomLabel::TRepCustomLabel(const TRepDisplay& display) : TRepPrintable(display) {}

const TRepFont& TRepCustomLabel::Font() const {
    if (shrunk_) return *shrunk_;
    if (parentFont_ && ParentReport()) return ParentReport()->RunFont();
    return font_;
}

void TRepCustomLabel::SetFont(const TRepFont& font) {
    shrunk_.reset();
    font_ = font;
    parentFont_ = false;
    FormatLines();
}

void TRepCustomLabel::SetFontSize(int points) {
    TRepFont f = Font();
    f.Size = points;
    SetFont(f);
}

void TRepCustomLabel::SetParentFont(bool on) {
    shrunk_.reset();
    if (on == parentFont_) return;
    if (!on) font_ = Font();
    parentFont_ = on;
    FormatLines();
}

void TRepCustomLabel::ShrinkFont(int points) {
    shrunk_.reset();
    if (points <= 0) {
        FormatLines();
        return;
    }
    TRepFont f = Font();
    f.Size = points;
    shrunk_ = f;
    FormatLines();
}

void TRepCustomLabel::SetCaption(const std::wstring& text) {
    shrunk_.reset();
    caption_ = text;
    FormatLines();
}

void TRepCustomLabel::SetAlignment(TRepAlignment value) {
    TRepPrintable::SetAlignment(value);
    if (value != TRepAlignment::taLeftJustify) AutoSize = false;
}

namespace {
// Measures in the report's screen-compatible context with the label's font selected for
// as long as it lives: one font for all the measuring of one formatting.
class Measurer {
public:
    Measurer(HDC dc, const TRepFont& f, int zoom)
        : dc_(dc), zoom_(zoom), font_(dc ? CreateDeviceFont(f, GetDeviceCaps(dc, LOGPIXELSY)) : ui::FontHandle()),
          sel_(dc, font_.get()) {}
    int Width(const std::wstring& s) const {
        SIZE sz{};
        if (!dc_ || !GetTextExtentPoint32W(dc_, s.c_str(), static_cast<int>(s.size()), &sz)) return 0;
        return static_cast<int>(RoundEven(static_cast<long double>(sz.cx + 1) * zoom_ / 100));
    }
    int LineHeight() const {
        SIZE sz{};
        if (!dc_ || !GetTextExtentPoint32W(dc_, L"A", 1, &sz)) return 0;
        return static_cast<int>(RoundEven(static_cast<long double>(sz.cy) * zoom_ / 100));
    }

private:
    HDC dc_;
    int zoom_;
    ui::FontHandle font_;
    ui::SelectGuard sel_;
};

HDC MeasureDCOf(const TRepCustomLabel& label) {
    return label.ParentReport() ? label.ParentReport()->MeasureDC() : nullptr;
}
}  // namespace

int TRepCustomLabel::TextWidth(const std::wstring& s) const {
    return Measurer(MeasureDCOf(*this), Font(), Size.Zoom()).Width(s);
}

int TRepCustomLabel::LineHeight() const { return Measurer(MeasureDCOf(*this), Font(), Size.Zoom()).LineHeight(); }

void TRepCustomLabel::FormatLines() {
    if (!HasParent()) return;
    const Measurer measure(MeasureDCOf(*this), Font(), Size.Zoom());
    formatted_ = rep::FormatLines(caption_, Lines, AutoSize, WordWrap, Width(),
                                  [&measure](const std::wstring& s) { return measure.Width(s); });
    if (AutoSize && !sizing_) {
        sizing_ = true;
        int widest = 0;
        for (const auto& l : formatted_) widest = std::max(widest, measure.Width(l));
        if (Frame.DrawLeft()) widest += Frame.Width();
        if (Frame.DrawRight()) widest += Frame.Width();
        SetWidth(widest);
        if (Lines.empty()) SetHeight(measure.LineHeight() + 1);
        sizing_ = false;
    } else if (!AutoSize && ParentReport()) {
        int need = measure.LineHeight() + 1;
        if (Height() < need) SetHeight(need);
    }
}

void TRepCustomLabel::Print(long double OfsX, long double OfsY) {
    TRepRun* report = ParentReport();
    TRepRunCanvas* p = RunCanvas();
    if (!report || !p || !p->Canvas()) return;
    HDC canvas = p->Canvas();
    ui::FontHandle font = CreateDeviceFont(Font(), GetDeviceCaps(canvas, LOGPIXELSY));
    std::optional<ui::SelectGuard> selFont(std::in_place, canvas, font.get());
    SIZE w{};
    GetTextExtentPoint32W(canvas, L"W", 1, &w);
    long double lh = static_cast<long double>(w.cy) / p->YFactor();
    long double l = Size.NativeValue(TRepPrintableSize::LeftValue) + OfsX;
    long double t = Size.NativeValue(TRepPrintableSize::TopValue) + OfsY;
    long double wd = Size.NativeValue(TRepPrintableSize::WidthValue);
    long double ht = Size.NativeValue(TRepPrintableSize::HeightValue);

    // The handler's text counts for this print only.
    std::wstring saved = caption_;
    bool replaced = false;
    if (!caption_.empty() && OnPrint) {
        std::wstring text = caption_;
        OnPrint(*this, text);
        if (text != caption_) {
            caption_ = text;
            replaced = true;
        }
    }
    FormatLines();

    if (report->DrawGraphics() && !Transparent) {
        ui::BrushHandle brush(CreateSolidBrush(ResolveColor(Color)));
        RECT r{p->XPos(l), p->YPos(t), p->XPos(l + wd), p->YPos(t + ht)};
        FillRect(canvas, &r, brush.get());
    }
    long double anchor = 0;
    UINT align = TA_LEFT | TA_TOP;
    TRepTextAlign exportAlign = TRepTextAlign::LeftJustify;
    if (Alignment() == TRepAlignment::taRightJustify) {
        anchor = wd;
        align = TA_RIGHT | TA_TOP;
        exportAlign = TRepTextAlign::RightJustify;
    } else if (Alignment() == TRepAlignment::taCenter) {
        anchor = wd * 0.5L;
        align = TA_CENTER | TA_TOP;
        exportAlign = TRepTextAlign::Center;
    }
    auto setUpCanvas = [&] {
        SetBkMode(canvas, TRANSPARENT);
        SetTextColor(canvas, ResolveColor(Font().Color));
        SetTextAlign(canvas, align);
    };
    setUpCanvas();
    long double x = l + anchor;
    long double limit = t + ht + 1;
    long double y = t;
    TRepBand* band = ParentBand();
    for (const auto& line : formatted_) {
        if (y + lh > limit) {
            if (!AutoStretch) break;
            if (band) {
                // The band grows to hold the line, or moves on to a new column or page,
                // where the rest goes on from the label's top. The font leaves this canvas
                // while it still exists.
                selFont.reset();
                const long double top = Size.NativeValue(TRepPrintableSize::TopValue);
                if (report->StretchBand(*band, y - OfsY + lh, top + lh)) {
                    OfsX = report->CurrentX();
                    OfsY = report->CurrentY();
                    x = Size.NativeValue(TRepPrintableSize::LeftValue) + OfsX + anchor;
                    y = top + OfsY;
                }
                canvas = p->Canvas();
                selFont.emplace(canvas, font.get());
                setUpCanvas();
            }
            limit = y + lh;
        }
        if (report->DrawGraphics() && !line.empty())
            ExtTextOutW(canvas, p->XPos(x), p->YPos(y), 0, nullptr, line.c_str(), static_cast<UINT>(line.size()),
                        nullptr);
        if (report->Exporting() && report->ExportFilter())
            report->ExportFilter()->WriteText(x, y, Font(), Color, exportAlign, line);
        y += lh;
    }
    if (replaced) {
        caption_ = saved;
        FormatLines();
    }
    TRepPrintable::Print(OfsX, OfsY);
}

}  // namespace rep
