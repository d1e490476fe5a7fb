#include "sheets/sheet_label.h"

#include <cmath>

#include "report/run/rep_printer.h"
#include "ui/printer.h"

namespace SetReportCommon {

namespace {
constexpr int kDesignResolution = 96;

long double designToNative(int px) { return static_cast<long double>(px) * 254 / kDesignResolution; }
}  // namespace

void SetUpSheetReport(rep::TReport& report, const std::wstring& title) {
    report.Name = L"Report1";
    report.ReportTitle = title;
    report.Page.SetPaperSize(rep::TRepPaperSize::A4);
    report.Page.SetOrientation(rep::TRepOrientation::poPortrait);
    report.Page.SetColumns(1);
    report.Page.ReadValues({100.0L, 2970.0L, 100.0L, 2100.0L, 100.0L, 100.0L, 0.0L});
    report.Page.Loaded();
    report.SetUnits(rep::TRepUnit::MM);
    report.SetZoom(100);
    report.Frame.SetColor(rep::clBlack);
    report.Font = rep::TRepFont{};  // Arial 10, regular
    report.Options = rep::FirstPageHeader | rep::LastPageFooter;
    report.PrintIfEmpty = false;
    report.PrinterSettings = rep::TReportPrinterSettings{};
    report.SnapToGrid = true;
}

rep::TRepLabel& DefinedLabel(rep::TReport& report, const std::wstring& name, int left, int top, int width, int height,
                             rep::TRepAlignment alignment, int fontSize) {
    auto& l = report.Own<rep::TRepLabel>();
    l.BeginReading();
    l.Name = name;
    l.SetParent(&report);
    l.SetBounds(left, top, width, height);
    l.AutoSize = false;
    l.AutoStretch = false;
    l.WordWrap = true;
    l.Transparent = false;
    l.Color = rep::clWhite;
    l.AlignToBand = false;
    l.Frame.SetColor(rep::clBlack);
    l.SetAlignment(alignment);
    rep::TRepFont f;
    f.Size = fontSize;
    l.SetFont(f);
    l.Size.ReadValues({designToNative(height), designToNative(left), designToNative(top), designToNative(width)});
    l.EndReading();
    // The form definition stores each label's own name as its caption.
    l.SetCaption(name);
    return l;
}

rep::TRepLabel& RunTimeLabel(rep::TReport& report, int left, int top, int width, int height) {
    auto& l = report.Own<rep::TRepLabel>();
    l.SetParent(&report);
    l.SetWidth(width);
    l.SetHeight(height);
    l.SetLeft(left);
    l.SetTop(top);
    return l;
}

TBasePosition BaseOf(rep::TRepLabel& label) {
    return {&label, label.Size.NativeValue(rep::TRepPrintableSize::LeftValue),
            label.Size.NativeValue(rep::TRepPrintableSize::TopValue),
            label.Size.NativeValue(rep::TRepPrintableSize::WidthValue),
            label.Size.NativeValue(rep::TRepPrintableSize::HeightValue)};
}

long double PixelOffsetNative(const rep::TRepPrintableSize& size, std::int64_t pixels) {
    // One report pixel is 254 / resolution native units, at the size's own zoom.
    return rep::PixelsToNative(static_cast<long double>(pixels), size.Resolution(), size.Zoom());
}

void PlaceAt(const TBasePosition& base, std::int64_t dxPixels, std::int64_t dyPixels) {
    rep::TRepPrintableSize& size = base.label->Size;
    rep::TRepUnit units = size.Units();
    size.SetUnits(rep::TRepUnit::Native);
    size.SetTop(base.top + PixelOffsetNative(size, dyPixels));
    size.SetLeft(base.left + PixelOffsetNative(size, dxPixels));
    size.SetUnits(units);
}

std::wstring PrinterNameOf(const rep::TReport& report) {
    rep::TRepPrinter* rp = report.RepPrinter();
    if (!rp || !rp->PrinterOK()) return {};
    const auto& list = rp->Printer().printers();
    const int index = rp->PrinterIndex();
    return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(index)].name : L"";
}

TPrintOffsets UsableOffsets(const rep::TReport& report) {
    const TPrintOffsets& o = PrintSettings().OffsetsFor(PrinterNameOf(report));
    const rep::TRepPage& page = report.Page;
    const bool usable = OffsetsFitPaper(o, page.NativeValue(rep::TRepPage::WidthValue),
                                                      page.NativeValue(rep::TRepPage::LengthValue), page.Resolution(),
                                                      report.Zoom());
    return usable ? o : TPrintOffsets{};
}

}  // namespace SetReportCommon
