#include "report/run/misfit_check.h"

#include <algorithm>

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
constexpr long double kFinePerNative = 10;

// The width of printed text in native units, measured with the label's font at the fine
// resolution in the report's screen-compatible context.
class FineWidth {
public:
    explicit FineWidth(const TRepCustomLabel& l)
        : dc_(l.ParentReport() ? l.ParentReport()->MeasureDC() : nullptr),
          font_(dc_ ? CreateDeviceFont(l.Font(), kFineResolution) : ui::FontHandle()),
          use_(dc_, font_.get()) {}
    long double operator()(const std::wstring& s) const {
        SIZE sz{};
        if (!dc_ || !GetTextExtentPoint32W(dc_, s.c_str(), static_cast<int>(s.size()), &sz)) return 0;
        return sz.cx / kFinePerNative;
    }

private:
    HDC dc_;
    ui::FontHandle font_;
    ui::SelectGuard use_;
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

// Of two values that take each other's place, the one at fault: the one whose text leaves
// its own box, or else the one drawn later, whose box covers the other's text.
bool AtFault(const TRepLanding& a, std::size_t aIndex, const TRepLanding& b, std::size_t bIndex) {
    const bool aOut = !Contains(a.Box, a.Text), bOut = !Contains(b.Box, b.Text);
    if (aOut != bOut) return aOut;
    return aIndex > bIndex;
}

// Every label's landing, measured once for all the pairs.
std::vector<TRepLanding> LandingsOf(const std::vector<TRepCustomLabel*>& all) {
    std::vector<TRepLanding> landings;
    for (const TRepCustomLabel* l : all) landings.push_back(LandingOf(*l));
    return landings;
}

TRepMisfit Judge(std::size_t index, const std::vector<TRepCustomLabel*>& all, const std::vector<TRepLanding>& landings,
                 const TReport& report) {
    TRepMisfit m;
    m.Label = all[index];
    const TRepLanding& own = landings[index];
    m.Area = Union(own.Box, own.Text);
    if (own.Cut) m.Kinds |= mkCut;
    if (own.Text.Empty()) return m;
    const long double width = report.Page.NativeValue(TRepPage::WidthValue);
    const long double length = report.Page.NativeValue(TRepPage::LengthValue);
    if (own.Text.Left < 0 || own.Text.Top < 0 || own.Text.Right > width || own.Text.Bottom > length)
        m.Kinds |= mkPastEdge;
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

TRepLanding LandingOf(const TRepCustomLabel& label) {
    TRepLanding r;
    const long double l = label.Size.NativeValue(TRepPrintableSize::LeftValue);
    const long double t = label.Size.NativeValue(TRepPrintableSize::TopValue);
    const long double w = label.Size.NativeValue(TRepPrintableSize::WidthValue);
    const long double h = label.Size.NativeValue(TRepPrintableSize::HeightValue);
    if (!label.Transparent) r.Box = {l, t, l + w, t + h};
    const auto& lines = label.FormattedLines();
    r.Lines = static_cast<int>(lines.size());
    // The print's own rule: a line prints while it ends within the box height plus 0.1 mm.
    const long double lh = ToNative(label, label.LineHeight());
    const long double limit = t + h + 1;
    long double y = t;
    const FineWidth width(label);
    for (const auto& line : lines) {
        if (y + lh > limit && !label.AutoStretch) {
            if (!line.empty()) r.Cut = true;
            continue;
        }
        ++r.Printed;
        if (!line.empty()) {
            const long double tw = width(line);
            long double left = l;
            if (label.Alignment() == TRepAlignment::taRightJustify) left = l + w - tw;
            else if (label.Alignment() == TRepAlignment::taCenter) left = l + w * 0.5L - tw * 0.5L;
            r.Text = Union(r.Text, {left, y, left + tw, y + lh});
        }
        y += lh;
    }
    return r;
}

std::vector<TRepMisfit> FindMisfits(const TReport& report) {
    const auto all = LabelsOf(report);
    const auto landings = LandingsOf(all);
    std::vector<TRepMisfit> out;
    for (std::size_t i = 0; i < all.size(); ++i) {
        TRepMisfit m = Judge(i, all, landings, report);
        if (m.Kinds) out.push_back(m);
    }
    return out;
}

std::vector<TRepMisfit> ShrinkMisfits(const TReport& report) {
    const auto all = LabelsOf(report);
    auto landings = LandingsOf(all);
    std::vector<TRepMisfit> out = FindMisfits(report);
    for (TRepMisfit& m : out) {
        TRepCustomLabel& l = *m.Label;
        const std::size_t index = static_cast<std::size_t>(std::find(all.begin(), all.end(), &l) - all.begin());
        for (int size = l.Font().Size - 1; size >= kSmallestShrink && m.Kinds; --size) {
            l.ShrinkFont(size);
            landings[index] = LandingOf(l);
            m = Judge(index, all, landings, report);
            m.ShrunkTo = size;
        }
    }
    return out;
}

}  // namespace rep
