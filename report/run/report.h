#pragma once
// The report component: page setup, printer settings, bands and printables, and the run
// that turns them into pages for the preview, the printer or an export filter.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/model/band.h"
#include "report/model/page.h"
#include "report/model/printable.h"
#include "report/model/rep_font.h"
#include "report/run/printer_settings.h"
#include "ui/handles.h"

namespace rep {

class TRepPrinter;
class TRepExportFilter;

enum TReportOption : unsigned { FirstPageHeader = 1, LastPageFooter = 2, Compression = 4 };

class TReport : public TRepRun, public TRepSizeOwner {
public:
    explicit TReport(const TRepDisplay& display = SystemDisplay());
    ~TReport();
    TReport(const TReport&) = delete;
    TReport& operator=(const TReport&) = delete;

    std::wstring Name;
    TRepPage Page;
    TReportPrinterSettings PrinterSettings;
    TRepFrame Frame;
    TRepFont Font;
    unsigned Options = FirstPageHeader | LastPageFooter;
    bool PrintIfEmpty = false;
    std::wstring ReportTitle;
    bool ShowProgress = true;
    bool SnapToGrid = true;

    // Events; an empty one is skipped.
    std::function<void(TReport&)> OnStartPage;
    std::function<void(TReport&)> OnEndPage;
    std::function<void(TReport&)> AfterPrint;
    std::function<void(TReport&)> AfterPreview;
    std::function<void(TReport&, bool& printReport)> BeforePrint;
    std::function<void(TReport&, bool& moreData)> OnNeedData;
    std::function<void(TRepPrinter&)> OnPreview;

    // Run the report into the page store and show it; returns when the preview is closed.
    void Preview();
    void Print();
    void PrinterSetup();
    void ExportToFilter(TRepExportFilter& filter);
    // Runs an open preview of this report again into its own pages: after another printer
    // was chosen there, or when its data is to be taken anew. Ignored while a run is busy.
    void RefreshPreview(TRepPrinter& preview);
    // The pages a run is expected to make, for the progress of a print; 0 when not known.
    int ExpectedPages = 0;

    TRepUnit Units() const override { return Page.Units(); }
    void SetUnits(TRepUnit units);
    int Zoom() const override { return zoom_; }
    void SetZoom(int zoom);

    // Children. Printables and bands placed on the report, in child order; those created
    // with Own() are freed with the report.
    template <class T, class... A>
    T& Own(A&&... args) {
        auto p = std::make_unique<T>(std::forward<A>(args)...);
        T& ref = *p;
        owned_.push_back(std::unique_ptr<TRepPrintable>(std::move(p)));
        return ref;
    }
    void Release(TRepPrintable* p);
    const std::vector<TRepPrintable*>& Printables() const { return printables_; }
    void AddPrintable(TRepPrintable* p) override;
    void RemovePrintable(TRepPrintable* p) override;
    TRepBand& AddBand(TRepBandType type);
    const std::vector<std::unique_ptr<TRepBand>>& Bands() const { return bands_; }
    TRepBand* FindBand(TRepBandType type) const;

    // Run state.
    bool Available() const { return available_; }
    TRepPrinter* RepPrinter() const { return repPrinter_; }
    int PageNumber() const { return pageNumber_; }
    long CurrentX() const override { return currentX_; }
    long CurrentY() const override { return currentY_; }
    int CurrentColumn() const { return currentColumn_; }
    bool FinalPass() const { return finalPass_; }
    bool Exporting() const override { return exporting_; }
    bool DrawGraphics() const override { return drawGraphics_; }
    TRepExportFilter* ExportFilter() const override { return exportFilter_; }
    // A memory context compatible with the screen, where labels measure their text.
    HDC MeasureDC() const override { return measureDC_.get(); }

    // The page loop (public for bands and printables that move the run on).
    void NewPage();
    void EndPage();
    void NewColumn();
    void PrintBand(TRepBand* band);
    // A band that no longer fits asks for a new column or page here.
    void ForceNewColumnRequest();
    void ForceNewPageRequest();
    bool StretchBand(TRepBand& band, long double bottom, long double bottomIfMoved) override;

    // TRepRun
    const TRepFont& RunFont() const override { return Font; }
    TRepRunCanvas* RunCanvas() const override;
    int FontSize() const override { return Font.Size; }
    void RelayoutBands() override;
    void Repaint() override {}
    void ReapplyUnits() override { SetUnits(Units()); }
    // TRepSizeOwner: the report's own pixel size follows its page.
    TRepBounds PixelBounds() const override { return bounds_; }
    void SetPixelBounds(const TRepBounds& b) override { bounds_ = b; }

protected:
    // What a report that checks its pages before they reach paper takes part in. The run
    // itself calls these, on every path to a printer, so no event set on the report can
    // replace or skip them.
    // A preview (or its refresh) is about to run into `preview`.
    virtual void PreviewStarting(TRepPrinter& /*preview*/) {}
    // The preview's window is open.
    virtual void PreviewShown(TRepPrinter& /*preview*/) {}
    // The preview has closed; its printer goes after this.
    virtual void PreviewEnded(TRepPrinter& /*preview*/) {}
    // Before a print job starts, with `printer` set up for the printer that prints it;
    // false: nothing is printed.
    virtual bool ApprovePrint(TRepPrinter& /*printer*/) { return true; }
    // Each page once laid out, before anything of it is drawn.
    virtual void PageLaidOut() {}
    // A print was cancelled; `pagesEnded` pages had been handed to the job before.
    virtual void PrintCancelled(int /*pagesEnded*/) {}
    // The preview printer the running print, export or refresh was asked from, or the
    // preview's own during its run; null for a run asked for directly.
    TRepPrinter* RunSource() const { return runSource_; }
    // Lays page n out as a run's page start would, on the current report printer, outside
    // the page loop (for a check of every page before a print).
    void LayOutPage(int n);

private:
    bool CreateRepPrinter();
    void PrintFrom(TRepPrinter* source);
    void PrinterSetupFrom(TRepPrinter* source);
    void ExportFrom(TRepPrinter* source, TRepExportFilter& filter);
    // The report's page setup and printer settings given to a report printer before a run.
    void SetUpPrinter(TRepPrinter& rp);
    bool Owns(const TRepPrinter& rp) const;
    void CreateReport();
    void PrintReportControls();
    void DataLoop();
    void SpaceCheck(TRepBand* band);
    void PrintOnce(TRepBand* band);
    // Paints the band's colour from `from` to `to` (native, from its top) at its place.
    void FillBand(const TRepBand& band, long double from, long double to);
    std::vector<TRepPrintable*> AllPrintables() const;
    long double PageLengthNative() const;
    long double PageWidthNative() const;
    // Between the side margins; one column of it, the column spaces taken off.
    long double PrintableWidthNative() const;
    long double ColumnWidthNative() const;
    // Where the page footers begin.
    long double FooterTopNative() const;
    // A run with the progress window, to the printer or to an export.
    void CreateReportWithProgress(TRepPrinter& rp);

    TRepBounds bounds_{0, 0, 0, 0};
    int zoom_ = 100;
    ui::MemoryDC measureDC_;
    std::vector<std::unique_ptr<TRepPrintable>> owned_;
    std::vector<TRepPrintable*> printables_;
    std::vector<std::unique_ptr<TRepBand>> bands_;

    TRepPrinter* repPrinter_ = nullptr;
    // Report printers made by Preview live until their window closes.
    std::vector<std::unique_ptr<TRepPrinter>> previewPrinters_;
    // Those that failed runs left to their open windows; no call frees them any more.
    std::vector<TRepPrinter*> leftToWindows_;
    // A Preview is between making its report printer and starting its run.
    bool previewStarting_ = false;
    TRepPrinter* runSource_ = nullptr;
    bool available_ = true;
    int pageNumber_ = 0;
    long currentX_ = 0;
    long currentY_ = 0;
    int currentColumn_ = 1;
    long columnTop_ = 0;
    long double pageFooterSize_ = 0;
    bool finalPass_ = false;
    bool columnSwallowed_ = false;
    bool pageSwallowed_ = false;
    bool exporting_ = false;
    bool drawGraphics_ = true;
    TRepExportFilter* exportFilter_ = nullptr;
    // The band whose printables are printing, and how far they have stretched it.
    TRepBand* printingBand_ = nullptr;
    long double bandStretch_ = 0;
    bool bandMoving_ = false;
};

}  // namespace rep
