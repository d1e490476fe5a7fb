#include "report/run/misfit_check.h"

#include <algorithm>
#include <cmath>

#include "report/model/font_gdi.h"
#include "report/run/report.h"

namespace rep {

namespace {

// Texts that only touch do not spoil each other: GDI rounding leaves no overlap there.
constexpr long double kTouch = 0.05L;
// Widths are measured at 0.01 mm: at the screen's resolution each letter's width is
// rounded to a whole pixel, and a line of twenty letters comes out up to 3 mm longer than
// the printer draws it.
constexpr int kFineResolution = 2540;

// Text measured as it prints. Without a printer: the label's font at the fine resolution in
// the report's screen-compatible context. With one, the device's own metrics: its glyph
// advances in whole device pixels, and the glyphs' own widths at the device's em (a font on
// the device is a whole number of pixels high, 42 px for 10 pt at 300 dpi: 10.08 pt), since
// a driver may place the glyphs by either. The wider of the two is what the blank must hold.
class PrintMetrics {
public:
    PrintMetrics(const TRepCustomLabel& l, const TRepPrintArea& area)
        : device_(area.Measure && area.PixelsPerInch > 0 ? area.Measure : nullptr),
          dpi_(device_ ? area.PixelsPerInch : kFineResolution),
          screen_(l.ParentReport() ? l.ParentReport()->MeasureDC() : nullptr),
          deviceFont_(device_ ? CreateDeviceFont(l.Font(), dpi_) : ui::FontHandle()),
          fineFont_(screen_ ? FineFont(l.Font()) : ui::FontHandle()) {}
    long double Width(const std::wstring& s) const {
        const long double fine = Extent(screen_, fineFont_, s).cx * 254.0L / FineResolution();
        if (!device_) return fine;
        return std::max(fine, Extent(device_, deviceFont_, s).cx * 254.0L / dpi_);
    }
    // The line pitch the label prints with: the height of a "W" on the printing device.
    long double LineHeight() const { return Extent(device_, deviceFont_, L"W").cy * 254.0L / dpi_; }
    bool Device() const { return device_ != nullptr; }

private:
    // Ten times the device's resolution keeps its em exact; without one, the fine default.
    int FineResolution() const { return device_ ? dpi_ * 10 : kFineResolution; }
    ui::FontHandle FineFont(const TRepFont& f) const {
        return CreateFontOfHeight(f, FontHeightPx(f.Size, dpi_) * (device_ ? 10 : 1));
    }
    static SIZE Extent(HDC dc, const ui::FontHandle& font, const std::wstring& s) {
        SIZE sz{};
        if (!dc || !font) return sz;
        ui::SelectGuard use(dc, font.get());
        if (!GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &sz)) return {};
        return sz;
    }

    HDC device_;
    int dpi_;
    HDC screen_;
    ui::FontHandle deviceFont_;
    ui::FontHandle fineFont_;
};

long double ToNative(const TRepCustomLabel& l, int pixels) {
    return PixelsToNative(static_cast<long double>(pixels), l.Size.Resolution(), l.Size.Zoom());
}

TRepNativeRect Union(const TRepNativeRect& a, const TRepNativeRect& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

std::vector<TRepCustomLabel*> LabelsOf(const TReport& report) {
    std::vector<TRepCustomLabel*> labels;
    for (TRepPrintable* p : report.Printables())
        if (auto* l = dynamic_cast<TRepCustomLabel*>(p)) labels.push_back(l);
    return labels;
}

bool Contains(const TRepNativeRect& outer, const TRepNativeRect& inner) {
    return inner.Left >= outer.Left - kTouch && inner.Top >= outer.Top - kTouch &&
           inner.Right <= outer.Right + kTouch && inner.Bottom <= outer.Bottom + kTouch;
}

// The text of one lands where the other's box (drawn white) or text is.
bool Takes(const TRepLanding& a, const TRepLanding& b) { return a.Text.Intersects(b.Box) || a.Text.Intersects(b.Text); }

// Of two values that take each other's place, the one at fault (the one to shrink): the one
// whose text reaches into the other's box, or else the one whose text leaves its own box,
// or else the one that comes first in reading order, top to bottom, then left to right,
// whose text runs on into the next one (a row whose font is too tall for its pitch runs
// down into the row under it; a box grown with its text runs across its neighbours).
bool AtFault(const TRepLanding& a, std::size_t aIndex, const TRepLanding& b, std::size_t bIndex) {
    const bool aIn = a.Text.Intersects(b.Box), bIn = b.Text.Intersects(a.Box);
    if (aIn != bIn) return aIn;
    const bool aOut = !Contains(a.Box, a.Text), bOut = !Contains(b.Box, b.Text);
    if (aOut != bOut) return aOut;
    if (std::fabs(a.Text.Top - b.Text.Top) > kTouch) return a.Text.Top < b.Text.Top;
    if (std::fabs(a.Text.Left - b.Text.Left) > kTouch) return a.Text.Left < b.Text.Left;
    return aIndex > bIndex;
}

// Every label's landing, measured once for all the pairs.
std::vector<TRepLanding> LandingsOf(const std::vector<TRepCustomLabel*>& all, const TRepPrintArea& area) {
    std::vector<TRepLanding> landings;
    for (const TRepCustomLabel* l : all) landings.push_back(LandingOf(*l, area));
    return landings;
}

TRepMisfit Judge(std::size_t index, const std::vector<TRepCustomLabel*>& all, const std::vector<TRepLanding>& landings,
                 const TRepPrintArea& area) {
    TRepMisfit m;
    m.Label = all[index];
    const TRepLanding& own = landings[index];
    m.Area = Union(own.Box, own.Text);
    if (own.Cut) m.Kinds |= mkCut;
    if (own.Text.Empty()) return m;
    const auto outside = [&](const TRepNativeRect& r) {
        return own.Text.Left < r.Left - kTouch || own.Text.Top < r.Top - kTouch || own.Text.Right > r.Right + kTouch ||
               own.Text.Bottom > r.Bottom + kTouch;
    };
    if (outside(area.Paper)) m.Kinds |= mkPastEdge;
    else if (outside(area.Printable)) m.Kinds |= mkUnprintable;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (i == index) continue;
        const TRepLanding& o = landings[i];
        if (Takes(own, o) && (!Takes(o, own) || AtFault(own, index, o, i))) {
            m.Kinds |= mkOverlap;
            m.Overlapped = all[i];
            break;
        }
    }
    return m;
}

}  // namespace

bool TRepNativeRect::Intersects(const TRepNativeRect& o) const {
    if (Empty() || o.Empty()) return false;
    return std::min(Right, o.Right) - std::max(Left, o.Left) > kTouch &&
           std::min(Bottom, o.Bottom) - std::max(Top, o.Top) > kTouch;
}

TRepLanding LandingOf(const TRepCustomLabel& label, const TRepPrintArea& area) {
    TRepLanding r;
    const long double l = label.Size.NativeValue(TRepPrintableSize::LeftValue);
    const long double t = label.Size.NativeValue(TRepPrintableSize::TopValue);
    const long double w = label.Size.NativeValue(TRepPrintableSize::WidthValue);
    const long double h = label.Size.NativeValue(TRepPrintableSize::HeightValue);
    if (!label.Transparent) r.Box = {l, t, l + w, t + h};
    const auto& lines = label.FormattedLines();
    r.Lines = static_cast<int>(lines.size());
    // The print's own rule: a line prints while it ends within the box height plus 0.1 mm.
    const PrintMetrics metrics(label, area);
    const long double lh = metrics.Device() ? metrics.LineHeight() : ToNative(label, label.LineHeight());
    const long double limit = t + h + 1;
    long double y = t;
    for (const auto& line : lines) {
        if (y + lh > limit && !label.AutoStretch) {
            if (!line.empty()) r.Cut = true;
            continue;
        }
        ++r.Printed;
        if (!line.empty()) {
            const long double tw = metrics.Width(line);
            long double left = l;
            if (label.Alignment() == TRepAlignment::taRightJustify) left = l + w - tw;
            else if (label.Alignment() == TRepAlignment::taCenter) left = l + w * 0.5L - tw * 0.5L;
            r.Text = Union(r.Text, {left, y, left + tw, y + lh});
        }
        y += lh;
    }
    return r;
}

TRepPrintArea PaperOnly(const TReport& report) {
    TRepPrintArea a;
    a.Paper = {0, 0, report.Page.NativeValue(TRepPage::WidthValue), report.Page.NativeValue(TRepPage::LengthValue)};
    a.Printable = a.Paper;
    return a;
}

std::vector<TRepMisfit> FindMisfits(const TReport& report, const TRepPrintArea& area) {
    const auto all = LabelsOf(report);
    const auto landings = LandingsOf(all, area);
    std::vector<TRepMisfit> out;
    for (std::size_t i = 0; i < all.size(); ++i) {
        TRepMisfit m = Judge(i, all, landings, area);
        if (m.Kinds) out.push_back(m);
    }
    return out;
}

std::vector<TRepMisfit> ShrinkMisfits(const TReport& report, const TRepPrintArea& area) {
    const auto all = LabelsOf(report);
    auto landings = LandingsOf(all, area);
    std::vector<TRepMisfit> out = FindMisfits(report, area);
    for (TRepMisfit& m : out) {
        TRepCustomLabel& l = *m.Label;
        const std::size_t index = static_cast<std::size_t>(std::find(all.begin(), all.end(), &l) - all.begin());
        const TRepMisfit asFound = m;
        for (int size = l.Font().Size - 1; size >= kSmallestShrink && m.Kinds; --size) {
            l.ShrinkFont(size);
            landings[index] = LandingOf(l, area);
            m = Judge(index, all, landings, area);
            m.ShrunkTo = size;
        }
        if (m.Kinds) {
            // Smaller letters would not save the blank: the value keeps its size and is named.
            l.ShrinkFont(0);
            landings[index] = LandingOf(l, area);
            m = asFound;
        }
    }
    return out;
}

}  // namespace rep
