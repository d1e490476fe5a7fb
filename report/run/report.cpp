#include "report/run/report.h"

#include <algorithm>

#include "report/model/export_filter.h"
#include "report/run/progress_form.h"
#include "report/run/rep_printer.h"
#include "ui/app.h"
#include "ui/error.h"

namespace rep {

TReport::TReport(const TRepDisplay& display) : Page(display), measureDC_(CreateCompatibleDC(nullptr)) {
    Page.SetOwner(this);
    Page.SetParentReport(this);
    Frame.SetColor(clBlack);
    // The default printer's paper, read through a report printer made only for that.
    {
        TRepPrinter probe;
        if (probe.PrinterOK()) Page.SetPaperSize(probe.PaperSize());
    }
}

TRepRunCanvas* TReport::RunCanvas() const { return repPrinter_; }

TReport::~TReport() {
    // Preview windows still open on this report's printers close with them, before the
    // printables go; the report's own events are not raised from here any more.
    for (const auto& p : previewPrinters_) {
        p->HookAfterPreview = nullptr;
        p->HookAfterPrint = nullptr;
        p->OnPrint = nullptr;
        p->OnPrintSetup = nullptr;
        p->OnExportToFilter = nullptr;
        p->OnRefresh = nullptr;
        p->OnStaleNote = nullptr;
    }
    previewPrinters_.clear();
    // Printables owned elsewhere must not point back here.
    for (TRepPrintable* p : std::vector<TRepPrintable*>(printables_)) p->SetParent(static_cast<TReport*>(nullptr));
    bands_.clear();
    owned_.clear();
}

void TReport::AddPrintable(TRepPrintable* p) {
    if (std::find(printables_.begin(), printables_.end(), p) == printables_.end()) printables_.push_back(p);
}

void TReport::RemovePrintable(TRepPrintable* p) {
    printables_.erase(std::remove(printables_.begin(), printables_.end(), p), printables_.end());
}

void TReport::Release(TRepPrintable* p) {
    auto it = std::find_if(owned_.begin(), owned_.end(), [p](const auto& o) { return o.get() == p; });
    if (it != owned_.end()) owned_.erase(it);
}

TRepBand& TReport::AddBand(TRepBandType type) {
    bands_.push_back(std::make_unique<TRepBand>(*this, type));
    RelayoutBands();
    return *bands_.back();
}

TRepBand* TReport::FindBand(TRepBandType type) const {
    for (const auto& b : bands_)
        if (b->BandType == type) return b.get();
    return nullptr;
}

void TReport::SetUnits(TRepUnit units) {
    Page.SetUnits(units);
    for (const auto& b : bands_) {
        b->Size.SetUnits(units);
        for (TRepPrintable* p : b->Printables()) p->Size.SetUnits(units);
    }
    for (TRepPrintable* p : printables_) p->Size.SetUnits(units);
}

void TReport::SetZoom(int zoom) {
    if (!ReportZoomAccepted(zoom)) return;
    zoom_ = zoom;
    Page.SetZoom(zoom);
    Page.SetParentSizes();
    for (TRepPrintable* p : AllPrintables()) {
        p->Size.SetZoom(zoom);
        p->Size.SetParentSizes();
    }
    for (const auto& b : bands_) {
        b->Size.SetZoom(zoom);
        b->Size.SetParentSizes();
    }
    RelayoutBands();
}

void TReport::RelayoutBands() {
    if (bands_.empty()) return;
    Page.SaveUnits();
    int y = static_cast<int>(RoundEven(NativeToPixels(Page.NativeValue(TRepPage::TopMarginValue), Page.Resolution(), zoom_)));
    int left = static_cast<int>(RoundEven(NativeToPixels(Page.NativeValue(TRepPage::LeftMarginValue), Page.Resolution(), zoom_)));
    const long double printable = PrintableWidthNative();
    const long double column = ColumnWidthNative();
    for (const auto& b : bands_) {
        long double w = b->IsPageWide() ? printable : column;
        b->Size.SetUnits(TRepUnit::Native);
        b->Size.SetWidth(w);
        TRepBounds bb = b->PixelBounds();
        bb.Left = left;
        bb.Top = y;
        b->SetPixelBounds(bb);
        y += bb.Height;
        b->Size.SetUnits(Page.SavedUnits());
    }
    Page.RestoreUnits();
}

std::vector<TRepPrintable*> TReport::AllPrintables() const {
    std::vector<TRepPrintable*> all(printables_);
    for (const auto& b : bands_) all.insert(all.end(), b->Printables().begin(), b->Printables().end());
    return all;
}

long double TReport::PageLengthNative() const { return Page.NativeValue(TRepPage::LengthValue); }
long double TReport::PageWidthNative() const { return Page.NativeValue(TRepPage::WidthValue); }

long double TReport::PrintableWidthNative() const {
    return PageWidthNative() - Page.NativeValue(TRepPage::LeftMarginValue) -
           Page.NativeValue(TRepPage::RightMarginValue);
}

long double TReport::ColumnWidthNative() const {
    const int cols = std::max(1, Page.Columns());
    return (PrintableWidthNative() - Page.NativeValue(TRepPage::ColumnSpaceValue) * (cols - 1)) / cols;
}

long double TReport::FooterTopNative() const {
    return PageLengthNative() - Page.NativeValue(TRepPage::BottomMarginValue) - pageFooterSize_;
}

// ------------------------------------------------------------------ operations

bool TReport::CreateRepPrinter() {
    if (!available_) return false;
    HWND client = repPrinter_ ? repPrinter_->Client : nullptr;
    auto rp = std::make_unique<TRepPrinter>();
    rp->Client = client;
    TRepPrinter* made = rp.get();
    rp->HookAfterPreview = [this, made] {
        PreviewEnded(*made);
        if (AfterPreview) AfterPreview(*this);
    };
    rp->HookAfterPrint = [this] {
        if (AfterPrint) AfterPrint(*this);
    };
    repPrinter_ = rp.get();
    previewPrinters_.push_back(std::move(rp));
    return true;
}

namespace {
// Gives a member back the value it had, when a run or a call is over.
template <class T>
struct Keep {
    T& slot;
    T value;
    explicit Keep(T& s) : slot(s), value(s) {}
    ~Keep() { slot = value; }
};

// Frees a report printer made for one operation when the operation is over.
struct PrinterRelease {
    std::vector<std::unique_ptr<TRepPrinter>>& list;
    TRepPrinter* printer;
    ~PrinterRelease() {
        auto it = std::find_if(list.begin(), list.end(), [this](const auto& p) { return p.get() == printer; });
        if (it != list.end()) list.erase(it);
    }
};
}  // namespace

void TReport::Preview() {
    // Like a busy report, one still opening its preview ignores another: that one would
    // take the report printer from under the run about to start.
    if (previewStarting_) return;
    // Printers of failed runs whose windows have closed since. Any other is freed by the
    // call that made it, once that call returns.
    for (auto it = leftToWindows_.begin(); it != leftToWindows_.end();) {
        if ((*it)->ShowingPreview()) {
            ++it;
        } else {
            PrinterRelease release{previewPrinters_, *it};
            it = leftToWindows_.erase(it);
        }
    }
    if (!CreateRepPrinter()) return;
    TRepPrinter* rp = repPrinter_;
    rp->Destination = dtPageStore;
    rp->Title = ReportTitle;
    // Each command of the window works on the pages and data of that window.
    rp->OnPrint = [this, rp] { PrintFrom(rp); };
    rp->OnPrintSetup = [this, rp] { PrinterSetupFrom(rp); };
    rp->OnExportToFilter = [this, rp](TRepExportFilter& f) { ExportFrom(rp, f); };
    rp->OnRefresh = [this, rp] { RefreshPreview(*rp); };
    if (OnPreview) rp->OnPreview = OnPreview;
    ui::Application& app = ui::Application::get();
    {
        previewStarting_ = true;
        struct Started {
            bool& flag;
            ~Started() { flag = false; }
        } started{previewStarting_};
        // The printer it is laid out for, before the window names it.
        SetUpPrinter(*rp);
        PreviewStarting(*rp);
        rp->Preview();
        PreviewShown(*rp);
        app.processMessages();
    }
    try {
        Keep<TRepPrinter*> source(runSource_);
        runSource_ = rp;
        CreateReport();
    } catch (...) {
        // The open preview window still uses its report printer; it is freed later.
        repPrinter_ = nullptr;
        leftToWindows_.push_back(rp);
        throw;
    }
    while (rp->ShowingPreview() && !app.terminated()) app.handleOneMessage();
    if (repPrinter_ == rp) repPrinter_ = nullptr;
    PrinterRelease release{previewPrinters_, rp};
}

void TReport::Print() { PrintFrom(nullptr); }

void TReport::PrintFrom(TRepPrinter* source) {
    if (!available_) return;
    Keep<TRepPrinter*> kept(repPrinter_), keptSource(runSource_);
    if (!CreateRepPrinter()) return;
    TRepPrinter* rp = repPrinter_;
    PrinterRelease release{previewPrinters_, rp};
    if (!rp->PrinterOK()) return;
    rp->Destination = dtPrinter;
    runSource_ = source;
    // The job is named as the preview it comes from, whose pages it prints.
    Keep<std::wstring> title(ReportTitle);
    if (source) ReportTitle = source->Title;
    // Laid out and checked for the printer that prints, as it is set up for this job.
    SetUpPrinter(*rp);
    if (!ApprovePrint(*rp)) return;
    CreateReportWithProgress(*rp);
    if (rp->Cancelled()) PrintCancelled(rp->AvailablePages());
}

void TReport::PrinterSetup() { PrinterSetupFrom(repPrinter_); }

void TReport::RefreshPreview(TRepPrinter& preview) {
    if (!available_ || !Owns(preview) || !preview.ShowingPreview() || preview.Destination != dtPageStore) return;
    Keep<TRepPrinter*> kept(repPrinter_), keptSource(runSource_);
    preview.Restart();
    repPrinter_ = &preview;
    runSource_ = &preview;
    SetUpPrinter(preview);
    PreviewStarting(preview);
    CreateReport();
}

bool TReport::Owns(const TRepPrinter& rp) const {
    return std::any_of(previewPrinters_.begin(), previewPrinters_.end(), [&rp](const auto& p) { return p.get() == &rp; });
}

void TReport::LayOutPage(int n) {
    Keep<int> page(pageNumber_);
    pageNumber_ = n;
    if (OnStartPage) OnStartPage(*this);
}

void TReport::SetUpPrinter(TRepPrinter& rp) {
    // The printer first: another one brings its own device, and the requests below are
    // asked of that device.
    if (rp.PrinterOK()) rp.SetPrinterIndex(PrinterSettings.PrinterIndex);
    rp.SetPaperSize(Page.PaperSize());
    if (rp.PaperSize() == TRepPaperSize::Custom) {
        rp.SetPaperWidth(static_cast<int>(RoundEven(PageWidthNative())));
        rp.SetPaperLength(static_cast<int>(RoundEven(PageLengthNative())));
    }
    rp.SetOrientation(Page.Orientation());
    rp.SetCopies(PrinterSettings.Copies);
    rp.SetOutputBin(PrinterSettings.OutputBin);
    rp.FirstPage = PrinterSettings.FirstPage;
    rp.LastPage = PrinterSettings.LastPage;
    rp.ExpectedPages = ExpectedPages;
}

void TReport::CreateReportWithProgress(TRepPrinter& rp) {
    TRepProgressForm progress;
    progress.ReportPrinter = &rp;
    if (ShowProgress) progress.show();
    rp.Client = progress.hwnd();
    CreateReport();
}

void TReport::ExportToFilter(TRepExportFilter& filter) { ExportFrom(nullptr, filter); }

void TReport::ExportFrom(TRepPrinter* source, TRepExportFilter& filter) {
    if (!available_) return;
    TRepPrinter* kept = repPrinter_;
    struct Restore {
        TReport& r;
        TRepPrinter* kept;
        ~Restore() {
            r.exporting_ = false;
            r.exportFilter_ = nullptr;
            r.drawGraphics_ = true;
            r.repPrinter_ = kept;
        }
    } restore{*this, kept};
    Keep<TRepPrinter*> keptSource(runSource_);
    runSource_ = source;
    exporting_ = true;
    exportFilter_ = &filter;
    drawGraphics_ = false;
    if (!CreateRepPrinter()) return;
    TRepPrinter* rp = repPrinter_;
    PrinterRelease release{previewPrinters_, rp};
    rp->Destination = dtPageStore;
    CreateReportWithProgress(*rp);
}

// ------------------------------------------------------------------ one run

void TReport::CreateReport() {
    if (!available_) return;
    available_ = false;
    finalPass_ = false;
    columnSwallowed_ = false;
    pageSwallowed_ = false;
    struct Available {
        bool& flag;
        ~Available() { flag = true; }
    } restoreAvailable{available_};

    bool printReport = true;
    if (BeforePrint) BeforePrint(*this, printReport);
    if (!printReport) return;

    TRepPrinter& rp = *repPrinter_;
    TRepUnit savedUnits = Units();
    SetUnits(TRepUnit::Native);
    std::vector<TRepPrintable*> all;
    bool prepared = false;
    try {
        SetUpPrinter(rp);
        rp.Title = ReportTitle;
        rp.SetCompression((Options & Compression) != 0);
        rp.BeginDoc();

        pageNumber_ = 0;
        currentColumn_ = 1;
        if (exporting_ && exportFilter_)
            exportFilter_->BeginExport(static_cast<std::int32_t>(RoundEven(PageWidthNative())),
                                       static_cast<std::int32_t>(RoundEven(PageLengthNative())), Font);
        pageFooterSize_ = 0;
        for (const auto& b : bands_)
            if (b->BandType == TRepBandType::rbPageFooter && b->Enabled) pageFooterSize_ += b->NativeHeight();
        for (TRepPrintable* p : printables_) p->AttachReport(this);
        currentX_ = RoundEven(Page.NativeValue(TRepPage::LeftMarginValue));
        all = AllPrintables();
        for (TRepPrintable* p : all) p->Prepare();
        prepared = true;
        NewPage();
        DataLoop();
        currentX_ = RoundEven(Page.NativeValue(TRepPage::LeftMarginValue));
        finalPass_ = true;
        if (!rp.Cancelled()) EndPage();
        if (exporting_ && exportFilter_) exportFilter_->EndExport();
    } catch (...) {
        SetUnits(savedUnits);
        if (prepared)
            for (TRepPrintable* p : all) p->Unprepare();
        if (rp.Status() == stBusy) {
            try {
                // A print that failed half-way puts nothing on a blank; stored pages stay.
                if (drawGraphics_ && rp.Destination == dtPageStore && !rp.Cancelled()) rp.EndDoc();
                else rp.AbortDoc();
            } catch (...) {
            }
        }
        throw;
    }
    SetUnits(savedUnits);
    for (TRepPrintable* p : all) p->Unprepare();
    if (rp.Cancelled()) {
        // Nothing more of a cancelled print reaches the spooler, not even the pages drawn.
        if (rp.Destination == dtPrinter) rp.AbortDoc();
    } else if (drawGraphics_) {
        rp.EndDoc();
    } else {
        rp.AbortDoc();
    }
}

void TReport::NewPage() {
    EndPage();
    if (exporting_ && exportFilter_) exportFilter_->BeginPage();
    ++pageNumber_;
    if (drawGraphics_ || pageNumber_ == 1) repPrinter_->NewPage();
    currentY_ = RoundEven(Page.NativeValue(TRepPage::TopMarginValue));
    if (OnStartPage) OnStartPage(*this);
    TRepBand* header = FindBand(TRepBandType::rbPageHeader);
    if (header && (pageNumber_ > 1 || (Options & FirstPageHeader))) PrintBand(header);
    columnTop_ = currentY_;
}

void TReport::EndPage() {
    if (pageNumber_ > 0) {
        PageLaidOut();
        if (OnEndPage) OnEndPage(*this);
        currentY_ = RoundEven(FooterTopNative());
        TRepBand* footer = FindBand(TRepBandType::rbPageFooter);
        if (footer && (!finalPass_ || (Options & LastPageFooter))) PrintBand(footer);
        PrintReportControls();
    }
    if (exporting_ && exportFilter_) exportFilter_->FinishPage();
}

void TReport::PrintReportControls() {
    for (TRepPrintable* p : std::vector<TRepPrintable*>(printables_)) p->Print(0, 0);
    if (drawGraphics_ && Frame.AnyFrame()) {
        TRepPrinter& rp = *repPrinter_;
        RECT r{rp.XPos(Page.NativeValue(TRepPage::LeftMarginValue)), rp.YPos(Page.NativeValue(TRepPage::TopMarginValue)),
               rp.XPos(PageWidthNative() - Page.NativeValue(TRepPage::RightMarginValue)),
               rp.YPos(PageLengthNative() - Page.NativeValue(TRepPage::BottomMarginValue))};
        Frame.Draw(rp.Canvas(), r, rp.XFactor(), rp.YFactor());
    }
}

void TReport::NewColumn() {
    if (currentColumn_ >= Page.Columns()) {
        currentColumn_ = 1;
        currentX_ = RoundEven(Page.NativeValue(TRepPage::LeftMarginValue));
        NewPage();
    } else {
        currentX_ += RoundEven(ColumnWidthNative() + Page.NativeValue(TRepPage::ColumnSpaceValue));
        currentY_ = columnTop_;
        ++currentColumn_;
    }
    if (TRepBand* ch = FindBand(TRepBandType::rbColumnHeader)) PrintBand(ch);
}

void TReport::ForceNewColumnRequest() {
    if (available_) return;  // outside a run
    if (!columnSwallowed_ && currentColumn_ == 1) {
        columnSwallowed_ = true;
        return;
    }
    NewColumn();
}

void TReport::ForceNewPageRequest() {
    if (available_) return;
    if (!pageSwallowed_ && pageNumber_ == 1) {
        pageSwallowed_ = true;
        return;
    }
    NewColumn();
    while (currentColumn_ != 1) NewColumn();
}

void TReport::SpaceCheck(TRepBand* band) {
    if (!band || band->BandType == TRepBandType::rbPageFooter) return;
    long available = RoundEven(FooterTopNative() - currentY_);
    if (RoundEven(band->NativeHeight()) >= available) NewColumn();
}

void TReport::PrintBand(TRepBand* band) {
    if (!band || !band->Enabled) return;
    bool print = true;
    if (band->BeforePrint) band->BeforePrint(*band, print);
    if (!print) {
        if (band->AfterPrint) band->AfterPrint(*band, false);
        return;
    }
    bool canForce = band->BandType != TRepBandType::rbTitle && band->BandType != TRepBandType::rbPageHeader &&
                    band->BandType != TRepBandType::rbPageFooter && band->BandType != TRepBandType::rbOverlay;
    if (canForce) {
        if (band->ForceNewPage) ForceNewPageRequest();
        else if (band->ForceNewColumn) ForceNewColumnRequest();
    }
    if (band->AlignToBottom)
        currentY_ = RoundEven(PageLengthNative() - Page.NativeValue(TRepPage::BottomMarginValue) - band->NativeHeight() -
                              pageFooterSize_);
    FillBand(*band, 0, band->NativeHeight());
    {
        // Stretching labels grow the band, or move it on (StretchBand); a band printed
        // meanwhile (a page footer, the next page's header) has its own.
        struct Printing {
            TRepBand*& band;
            long double& stretch;
            TRepBand* outerBand;
            long double outerStretch;
            ~Printing() {
                band = outerBand;
                stretch = outerStretch;
            }
        } printing{printingBand_, bandStretch_, printingBand_, bandStretch_};
        printingBand_ = band;
        bandStretch_ = 0;
        for (TRepPrintable* p : std::vector<TRepPrintable*>(band->Printables()))
            if (p->Enabled) p->Print(currentX_, currentY_);
        const long double height = band->NativeHeight() + bandStretch_;
        TRepPrinter& rp = *repPrinter_;
        if (drawGraphics_ && rp.Canvas() && band->Frame.AnyFrame()) {
            const long double width = band->Size.NativeValue(TRepBandSize::WidthValue);
            RECT r{rp.XPos(currentX_), rp.YPos(currentY_), rp.XPos(currentX_ + width), rp.YPos(currentY_ + height)};
            band->Frame.Draw(rp.Canvas(), r, rp.XFactor(), rp.YFactor());
        }
        currentY_ += RoundEven(height);
    }
    if (band->AfterPrint) band->AfterPrint(*band, true);
    if (band->ChildBand) PrintBand(band->ChildBand);
}

void TReport::FillBand(const TRepBand& band, long double from, long double to) {
    TRepPrinter& rp = *repPrinter_;
    if (!drawGraphics_ || !rp.Canvas()) return;
    const long double width = band.Size.NativeValue(TRepBandSize::WidthValue);
    RECT r{rp.XPos(currentX_), rp.YPos(currentY_ + from), rp.XPos(currentX_ + width), rp.YPos(currentY_ + to)};
    ui::BrushHandle brush(CreateSolidBrush(band.Color & 0xFFFFFF));
    FillRect(rp.Canvas(), &r, brush.get());
}

bool TReport::StretchBand(TRepBand& band, long double bottom, long double bottomIfMoved) {
    if (&band != printingBand_) return false;
    const long double height = band.NativeHeight() + bandStretch_;
    if (bottom <= height) return false;
    // Headers, footers and overlays keep their place, and so does a band printed while
    // another moves on: moving them would print them again.
    const bool fixedPlace = bandMoving_ || band.BandType == TRepBandType::rbPageHeader ||
                            band.BandType == TRepBandType::rbPageFooter ||
                            band.BandType == TRepBandType::rbColumnHeader || band.BandType == TRepBandType::rbOverlay;
    // The rule of the space check before a band.
    if (!fixedPlace && RoundEven(bottom) >= RoundEven(FooterTopNative() - currentY_)) {
        {
            bandMoving_ = true;
            struct Moved {
                bool& flag;
                ~Moved() { flag = false; }
            } moved{bandMoving_};
            NewColumn();
        }
        bandStretch_ = std::max(0.0L, bottomIfMoved - band.NativeHeight());
        FillBand(band, 0, band.NativeHeight() + bandStretch_);
        return true;
    }
    FillBand(band, height, bottom);
    bandStretch_ = bottom - band.NativeHeight();
    return false;
}

void TReport::PrintOnce(TRepBand* band) {
    if (band) PrintBand(band);
}

void TReport::DataLoop() {
    TRepBand* detail = FindBand(TRepBandType::rbDetail);
    TRepBand* title = FindBand(TRepBandType::rbTitle);
    TRepBand* summary = FindBand(TRepBandType::rbSummary);
    ui::Application& app = ui::Application::get();
    if (OnNeedData) {
        // No data-set layer exists: the detail rows come from OnNeedData alone.
        bool moreData = true;
        OnNeedData(*this, moreData);
        if (moreData) {
            app.processMessages();
            if (repPrinter_->Cancelled()) return;
            PrintOnce(title);
            if (pageNumber_ == 1) {
                if (TRepBand* ch = FindBand(TRepBandType::rbColumnHeader)) PrintBand(ch);
                columnTop_ = currentY_;
            }
            while (moreData) {
                app.processMessages();
                if (repPrinter_->Cancelled()) return;
                SpaceCheck(detail);
                PrintOnce(detail);
                moreData = false;
                OnNeedData(*this, moreData);
            }
            SpaceCheck(summary);
            PrintOnce(summary);
        }
        return;
    }
    if (PrintIfEmpty) {
        PrintOnce(title);
        PrintOnce(detail);
        PrintOnce(summary);
    }
}

}  // namespace rep
