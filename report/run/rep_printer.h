#pragma once
// The report printer: the one object through which a run produces pages, either recorded
// as metafiles into the page store or drawn on a printer within a page range.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/model/orientation.h"
#include "report/model/print_run.h"
#include "report/model/units.h"
#include "report/run/page_file.h"
#include "report/run/page_list.h"
#include "report/run/print_area.h"
#include "report/run/rep_stream.h"
#include "ui/handles.h"
#include "ui/metafile.h"

namespace ui {
class TPrinter;
}

namespace rep {

class TPrinterSettings;
class TRepExportFilter;

enum TRepDestination { dtPageStore = 0, dtPrinter = 1 };
enum TRepPrinterStatus { stReady = 0, stBusy = 1, stFinished = 2 };

// Posted to the client window; receivers read the low 16 bits of wParam.
constexpr UINT WM_REPPROGRESS = WM_USER;
constexpr UINT WM_REPPAGEAVAILABLE = WM_USER + 1;

class TRepPrinter;

// A window that shows a printer's pages. It registers itself with the printer, which tells
// it when it goes, before anything the window reaches is gone.
class TRepPrinterView {
public:
    virtual void PrinterGone() = 0;

protected:
    ~TRepPrinterView() = default;
};

// What opens the program's preview window on a printer; the preview sets it at start.
// Without one, Preview() opens nothing.
using TRepPreviewOpener = void (*)(TRepPrinter&);
void SetPreviewOpener(TRepPreviewOpener opener);

class TRepPrinter : public TRepRunCanvas {
public:
    TRepPrinter();
    ~TRepPrinter();
    TRepPrinter(const TRepPrinter&) = delete;
    TRepPrinter& operator=(const TRepPrinter&) = delete;

    // At least one printer is installed (decided at construction).
    bool PrinterOK() const { return printerOK_; }

    TRepDestination Destination = dtPageStore;
    TRepPrinterStatus Status() const { return status_; }
    int PageCount() const { return pageCount_; }
    int PageNumber() const { return pageNumber_; }
    int AvailablePages() const { return availablePages_; }
    int ProgressPercent() const { return progressPercent_; }
    bool Cancelled() const { return cancelled_; }
    std::wstring Title;
    HWND Client = nullptr;
    int FirstPage = 0;  // 0 = no limit
    int LastPage = 0;
    // The pages the run is expected to make (the progress window counts towards it); 0 when
    // not known.
    int ExpectedPages = 0;
    long double XFactor() const override { return xFactor_; }
    long double YFactor() const override { return yFactor_; }
    int LeftWaste() const { return leftWaste_; }
    int TopWaste() const { return topWaste_; }
    // Where the current page is drawn: the page metafile's canvas or the printer's.
    HDC Canvas() const override { return canvas_; }

    // Settings pass-through into the settings object, which accepts or ignores them.
    void SetPaperSize(TRepPaperSize size);
    TRepPaperSize PaperSize() const;
    void SetPaperWidth(int tenthsMm);
    void SetPaperLength(int tenthsMm);
    void SetOrientation(TRepOrientation o);
    TRepOrientation Orientation() const;
    void SetCopies(int copies);
    void SetOutputBin(TRepBin bin);
    // Another printer brings its own device: paper, margins and resolution are read anew.
    void SetPrinterIndex(int index);
    int PrinterIndex() const;
    // The name of the chosen printer; empty without one.
    std::wstring PrinterName() const;
    // The paper in the report's orientation and the part of it the chosen printer prints on,
    // with its device context for measuring text as it prints.
    TRepPrintArea PrintArea();
    // Paper size in the report's orientation, tenths of a millimetre.
    int PaperWidth() const;
    int PaperLength() const;
    // Switches the page store's coding; only before the store holds pages.
    void SetCompression(bool on);

    // Native units (0.1 mm) to device pixels, rounded half to even.
    int XPos(long double x) const override;
    int YPos(long double y) const override;
    int XSize(long double w) const;
    int YSize(long double h) const;

    // The document.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void AbortDoc();
    void Cancel() { cancelled_ = true; }
    // Drops the pages of a finished document, so that the report can run into it again.
    void Restart();
    // Whether page PageCount() goes to the printer.
    bool PageInRange() const;
    void SetProgress(int percent);

    // Stored pages: page n as a new picture the caller owns, or none. A page of a loaded
    // file that the system cannot read throws ERepBadFile naming the file.
    ui::EnhMetaFile GetPage(int n);
    void SetPageNumber(int n);
    HENHMETAFILE DisplayPage() const { return displayPage_.get(); }
    void Save(const std::wstring& name);
    // A file that cannot be loaded throws and leaves the pages held so far untouched.
    void Load(const std::wstring& name);

    // Commands of the preview window.
    void Preview();
    void Print();
    void PrinterSetup();
    void ExportToFilter(TRepExportFilter& filter);
    bool ShowingPreview() const { return showingPreview_; }
    void SetShowingPreview(bool showing);
    void AddView(TRepPrinterView* view);
    void RemoveView(TRepPrinterView* view);

    // Hooks set by the report or the application; empty by default.
    std::function<void()> HookAfterPreview;
    std::function<void()> HookAfterPrint;
    std::function<void()> OnPrint;
    std::function<void()> OnPrintSetup;
    std::function<void(TRepExportFilter&)> OnExportToFilter;
    std::function<void(TRepPrinter&)> OnPreview;
    // The preview's pages made again from the report (after another printer was chosen, or
    // its data changed); empty for pages that no report made.
    std::function<void()> OnRefresh;
    // What the preview should say about its pages now (its data changed since): empty when
    // nothing; asked when the window becomes active again.
    std::function<std::wstring()> OnStaleNote;

    // For tests: the page store's stream (none between documents).
    const TRepStream* Stream() const { return stream_.get(); }
    ui::TPrinter& Printer() { return *printer_; }
    TPrinterSettings& Settings() { return *settings_; }

private:
    void cleanUp();
    void openPageMetafile();
    void storeOpenPage();
    void closePage();
    void openPage();
    void post(UINT msg, int value);
    void printStoredPages();

    std::unique_ptr<ui::TPrinter> printer_;
    std::unique_ptr<TPrinterSettings> settings_;
    bool printerOK_ = false;
    TRepPrinterStatus status_ = stReady;
    int pageCount_ = 0;
    int pageNumber_ = 0;
    int availablePages_ = 0;
    int progressPercent_ = 0;
    bool cancelled_ = false;
    bool showingPreview_ = false;
    long double xFactor_ = 1.0L;
    long double yFactor_ = 1.0L;
    int leftWaste_ = 0;
    int topWaste_ = 0;
    HDC canvas_ = nullptr;
    bool jobStarted_ = false;
    // The printer object ends a page only by starting the next or ending the job, so the
    // last page drawn on the printer stays open until one of those.
    bool printerPageOpen_ = false;
    std::unique_ptr<ui::MetafileRecorder> recorder_;  // the page being recorded
    ui::EnhMetaFile displayPage_;
    std::unique_ptr<TRepStream> stream_;
    std::unique_ptr<TRepPageList> pages_;  // after stream_: freed first
    std::wstring loadedFile_;              // the saved report the pages come from, if any
    std::vector<TRepPrinterView*> views_;
};

}  // namespace rep
