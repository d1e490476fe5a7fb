#include "report/run/rep_printer.h"

#include <algorithm>

#include "report/model/system_display.h"
#include "report/run/printer_settings.h"
#include "report/run/rep_error.h"
#include "ui/app.h"
#include "ui/error.h"
#include "ui/printer.h"

namespace rep {

namespace {

// A paper length in tenths of a millimetre as device pixels.
LONG PaperToDevice(int tenths, int dpi) {
    return static_cast<LONG>(RoundEven(static_cast<long double>(tenths) * dpi / 254));
}

TRepPreviewOpener previewOpener = nullptr;

}  // namespace

void SetPreviewOpener(TRepPreviewOpener opener) { previewOpener = opener; }

TRepPrinter::TRepPrinter()
    : printer_(std::make_unique<ui::TPrinter>()),
      settings_(std::make_unique<TPrinterSettings>()),
      pages_(std::make_unique<TRepPageList>()) {
    ui::TPrinter& shared = ui::applicationPrinter();
    printerOK_ = !shared.printers().empty();
    if (printerOK_) {
        shared.setPrinterIndex(-1);
        settings_->Bind(printer_.get());
        // The two lists are read at different times; a printer removed in between must
        // not make the report printer unusable.
        const int index = shared.printerIndex();
        if (index < static_cast<int>(printer_->printers().size())) printer_->setPrinterIndex(index);
    }
    topWaste_ = settings_->TopOffset();
    leftWaste_ = settings_->LeftOffset();
}

TRepPrinter::~TRepPrinter() {
    // A preview window still showing this printer (the program quitting under it) goes
    // first, while everything it reaches is whole.
    for (TRepPrinterView* view : std::vector<TRepPrinterView*>(views_)) view->PrinterGone();
    if (status_ != stReady) cleanUp();
    // The members go in reverse order: the page list before its stream, the settings
    // before the printer object they are bound to, which ends a job still open.
}

void TRepPrinter::cleanUp() {
    if (status_ == stBusy) Cancel();
    recorder_.reset();
    canvas_ = nullptr;
    displayPage_.reset();
    pages_->Detach();
    stream_.reset();
    loadedFile_.clear();
    status_ = stReady;
}

// --- Settings pass-through ---------------------------------------------------

void TRepPrinter::SetPaperSize(TRepPaperSize size) { settings_->SetPaperSize(size); }
TRepPaperSize TRepPrinter::PaperSize() const { return settings_->PaperSize(); }
void TRepPrinter::SetPaperWidth(int tenthsMm) { settings_->SetPaperWidth(tenthsMm); }
void TRepPrinter::SetPaperLength(int tenthsMm) { settings_->SetPaperLength(tenthsMm); }
void TRepPrinter::SetOrientation(TRepOrientation o) { settings_->SetOrientation(o); }
TRepOrientation TRepPrinter::Orientation() const { return settings_->Orientation(); }
void TRepPrinter::SetCopies(int copies) { settings_->SetCopies(copies); }
void TRepPrinter::SetOutputBin(TRepBin bin) { settings_->SetOutputBin(bin); }

void TRepPrinter::SetPrinterIndex(int index) {
    if (!printerOK_) return;
    const int before = printer_->printerIndex();
    printer_->setPrinterIndex(index);
    if (printer_->printerIndex() == before) return;
    // Margins, paper and resolution are the new device's, never the one chosen first.
    settings_->ReadDeviceSettings();
    topWaste_ = settings_->TopOffset();
    leftWaste_ = settings_->LeftOffset();
}

int TRepPrinter::PrinterIndex() const { return printer_->printerIndex(); }

std::wstring TRepPrinter::PrinterName() const {
    if (!printerOK_) return {};
    const auto& list = printer_->printers();
    const int index = printer_->printerIndex();
    return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(index)].name : L"";
}

TRepPrintArea TRepPrinter::PrintArea() {
    TRepPrintArea a;
    const long double width = PaperWidth(), length = PaperLength();
    a.Paper = {0, 0, width, length};
    a.Printable = a.Paper;
    if (!printerOK_) return a;
    try {
        a.Measure = printer_->handle();
    } catch (const std::exception&) {
        return a;
    }
    a.PixelsPerInch = GetDeviceCaps(a.Measure, LOGPIXELSY);
    // The margins of the device as it reports them for its portrait paper. Which way a
    // driver turns a landscape page is its own: there every side keeps the widest margin.
    long double left = settings_->LeftOffset(), top = settings_->TopOffset();
    long double right = settings_->RightMargin(), bottom = settings_->BottomMargin();
    if (Orientation() == TRepOrientation::poLandscape) left = top = right = bottom = std::max({left, top, right, bottom});
    a.Printable = {left, top, std::max(left, width - right), std::max(top, length - bottom)};
    return a;
}

int TRepPrinter::PaperWidth() const {
    return Orientation() == TRepOrientation::poLandscape ? settings_->PaperLength() : settings_->PaperWidth();
}

int TRepPrinter::PaperLength() const {
    return Orientation() == TRepOrientation::poLandscape ? settings_->PaperWidth() : settings_->PaperLength();
}

void TRepPrinter::SetCompression(bool on) { pages_->SetCompression(on); }

// --- Conversion ----------------------------------------------------------------

int TRepPrinter::XPos(long double x) const { return static_cast<int>(RoundEven((x - leftWaste_) * xFactor_)); }
int TRepPrinter::YPos(long double y) const { return static_cast<int>(RoundEven((y - topWaste_) * yFactor_)); }
int TRepPrinter::XSize(long double w) const { return static_cast<int>(RoundEven(w * xFactor_)); }
int TRepPrinter::YSize(long double h) const { return static_cast<int>(RoundEven(h * yFactor_)); }

// --- The document ----------------------------------------------------------------

void TRepPrinter::BeginDoc() {
    // Checked before anything changes: a busy run must keep its page count and a
    // cancel request, and its printer job must not have its device mode replaced.
    if (status_ != stReady) throw ERepError("Report printer not ready");
    availablePages_ = 0;
    cancelled_ = false;
    const bool toPrinter = Destination == dtPrinter;
    topWaste_ = toPrinter ? settings_->TopOffset() : 0;
    leftWaste_ = toPrinter ? settings_->LeftOffset() : 0;
    if (toPrinter) settings_->WriteDeviceSettings();
    pageNumber_ = 0;
    pageCount_ = 0;
    jobStarted_ = false;
    printerPageOpen_ = false;
    if (toPrinter) {
        xFactor_ = DeviceFactor(printer_->pixelsPerInchX());
        yFactor_ = DeviceFactor(printer_->pixelsPerInchY());
    } else {
        stream_ = std::make_unique<TRepStream>(TRepStream::kMemoryLimit);
        pages_->Attach(*stream_);
        loadedFile_.clear();
        yFactor_ = DeviceFactor(ScreenResolution());
        xFactor_ = yFactor_;
    }
    status_ = stBusy;
}

bool TRepPrinter::PageInRange() const {
    return !((FirstPage > 0 && FirstPage > pageCount_) || (LastPage > 0 && LastPage < pageCount_));
}

void TRepPrinter::openPageMetafile() {
    recorder_ = std::make_unique<ui::MetafileRecorder>(XSize(PaperWidth()), YSize(PaperLength()));
    canvas_ = recorder_->canvas();
}

void TRepPrinter::storeOpenPage() {
    canvas_ = nullptr;
    if (!recorder_) return;
    const ui::EnhMetaFile page = recorder_->close();
    recorder_.reset();
    AddPage(*pages_, page.get());
}

// Closes the page last opened; false when none was open (its opening failed).
void TRepPrinter::closePage() {
    if (Destination == dtPageStore) {
        const bool open = recorder_ != nullptr;
        storeOpenPage();
        if (!open) return;
    } else if (recorder_) {
        // A page outside the range was drawn for nothing.
        recorder_.reset();
        canvas_ = nullptr;
    } else if (!printerPageOpen_) {
        return;
    }
    // A printer page stays open (printerPageOpen_) until the next starts or the job ends.
    ++availablePages_;
    post(WM_REPPAGEAVAILABLE, availablePages_);
}

void TRepPrinter::openPage() {
    if (Destination == dtPageStore || !PageInRange()) {
        openPageMetafile();
        return;
    }
    if (!jobStarted_) {
        jobStarted_ = true;
        printer_->beginDoc(Title);
    } else {
        printer_->newPage();
    }
    printerPageOpen_ = true;
    canvas_ = printer_->canvas();
}

void TRepPrinter::NewPage() {
    if (status_ != stBusy) throw ERepError("Illegal call to NewPage");
    if (pageNumber_ > 0) closePage();
    ++pageCount_;
    ++pageNumber_;
    openPage();
}

void TRepPrinter::EndDoc() {
    // Only a document that was begun can end: a run whose BeginDoc failed still ends
    // its document, and must not touch the pages of this report printer.
    if (status_ != stBusy) return;
    const bool hadPage = pageCount_ > 0;
    try {
        if (Destination == dtPrinter) {
            recorder_.reset();
            canvas_ = nullptr;
            printerPageOpen_ = false;
            // Ends the printer page still open (the last one in range) with the job.
            if (jobStarted_ && printer_->printing()) printer_->endDoc();
            jobStarted_ = false;
            if (hadPage) {
                ++availablePages_;
                post(WM_REPPAGEAVAILABLE, availablePages_);
            }
        } else if (hadPage) {
            closePage();
        }
    } catch (...) {
        // The pages stored so far stay readable and can be saved.
        status_ = stFinished;
        if (Destination == dtPageStore) {
            try {
                pages_->WriteHeader();
            } catch (...) {
                // The first failure is the one to report.
            }
        }
        throw;
    }
    status_ = stFinished;
    if (Destination == dtPageStore) {
        pages_->WriteHeader();
    } else if (HookAfterPrint) {
        HookAfterPrint();
    }
}

void TRepPrinter::AbortDoc() {
    if (status_ != stBusy) return;
    if (Destination == dtPrinter && jobStarted_) printer_->abort();
    jobStarted_ = false;
    printerPageOpen_ = false;
    recorder_.reset();
    canvas_ = nullptr;
    status_ = stFinished;
}

void TRepPrinter::Restart() {
    if (status_ == stBusy) throw ERepError("Report printer not ready");
    if (status_ == stFinished) cleanUp();
    pageCount_ = 0;
    pageNumber_ = 0;
    availablePages_ = 0;
}

void TRepPrinter::SetProgress(int percent) {
    progressPercent_ = percent;
    post(WM_REPPROGRESS, percent);
}

void TRepPrinter::post(UINT msg, int value) {
    if (Client) PostMessageW(Client, msg, static_cast<WPARAM>(value), 0);
}

// --- Stored pages ------------------------------------------------------------------

ui::EnhMetaFile TRepPrinter::GetPage(int n) {
    if ((status_ != stBusy && status_ != stFinished) || n < 1 || n > pageCount_) return {};
    return loadedFile_.empty() ? rep::GetPage(*pages_, n) : rep::GetPage(*pages_, loadedFile_, n);
}

void TRepPrinter::SetPageNumber(int n) {
    if (n < 1 || n > pageCount_) return;
    displayPage_.reset();
    displayPage_ = GetPage(n);
    pageNumber_ = n;
}

void TRepPrinter::Save(const std::wstring& name) {
    if (status_ == stFinished) SaveToFile(*pages_, name);
}

void TRepPrinter::Load(const std::wstring& name) {
    // Read and checked in full first, so that a bad file changes nothing here.
    TRepLoadedFile file = LoadFromFile(name);
    if (status_ != stReady) cleanUp();
    pages_ = std::move(file.pages);
    stream_ = std::move(file.stream);
    loadedFile_ = name;
    pageCount_ = pages_->PageCount();
    availablePages_ = pageCount_;
    pageNumber_ = 0;
    status_ = stFinished;
    // The loaded pages no longer belong to a report.
    OnPrint = nullptr;
    OnPrintSetup = nullptr;
    OnExportToFilter = nullptr;
    OnRefresh = nullptr;
    OnStaleNote = nullptr;
}

// --- Commands of the preview window -------------------------------------------------

void TRepPrinter::Preview() {
    if (OnPreview) OnPreview(*this);
    else if (previewOpener) previewOpener(*this);
}

void TRepPrinter::AddView(TRepPrinterView* view) {
    if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void TRepPrinter::RemoveView(TRepPrinterView* view) { views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end()); }

void TRepPrinter::Print() {
    if (OnPrint) {
        OnPrint();
    } else if (status_ == stFinished && printerOK_) {
        printStoredPages();
    }
}

void TRepPrinter::printStoredPages() {
    // A cancel that stopped the run before these pages were loaded is no request to
    // stop printing them.
    cancelled_ = false;
    if (printer_->printing()) printer_->abort();
    printer_->beginDoc(Title);
    try {
        for (int i = 1; i <= pageCount_; ++i) {
            ui::Application::get().processMessages();
            SetPageNumber(i);
            // The whole sheet, unoriented: the device prints with its own settings. The
            // device's origin is the corner of what it can print, so the sheet starts that
            // far up and left of it, and every mark lands where the page has it on paper.
            HDC dc = printer_->canvas();
            const LONG x0 = -GetDeviceCaps(dc, PHYSICALOFFSETX), y0 = -GetDeviceCaps(dc, PHYSICALOFFSETY);
            const RECT paper{x0, y0, x0 + PaperToDevice(settings_->PaperWidth(), printer_->pixelsPerInchX()),
                             y0 + PaperToDevice(settings_->PaperLength(), printer_->pixelsPerInchY())};
            if (displayPage_) ui::DrawMetafile(printer_->canvas(), displayPage_.get(), paper);
            if (cancelled_) {
                printer_->abort();
                return;
            }
            if (i < pageCount_) printer_->newPage();
        }
    } catch (...) {
        printer_->abort();
        throw;
    }
    if (printer_->printing()) printer_->endDoc();
}

void TRepPrinter::PrinterSetup() {
    if (OnPrintSetup) OnPrintSetup();
}

void TRepPrinter::ExportToFilter(TRepExportFilter& filter) {
    if (OnExportToFilter) OnExportToFilter(filter);
}

void TRepPrinter::SetShowingPreview(bool showing) {
    const bool leaving = showingPreview_ && !showing;
    // Set first: the flag holds the new value even when the hook fails.
    showingPreview_ = showing;
    if (!leaving) return;
    if (status_ == stBusy) Cancel();
    if (HookAfterPreview) HookAfterPreview();
}

}  // namespace rep
