#pragma once
// The standard preview window: a toolbar for zoom, pages, printing, saving and loading,
// the preview control, and a status bar with the page status and the progress gauge.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "report/preview/rep_preview.h"
#include "report/run/rep_printer.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/tool_bar.h"

namespace rep {

class TRepGauge;
struct TRepStandardPreviewBusy;

class TRepStandardPreview : public ui::Form, public TRepPrinterView {
public:
    // The window for a report printer (not owned), or for none.
    explicit TRepStandardPreview(TRepPrinter* printer);
    ~TRepStandardPreview() override;

    // Shows the window modeless, maximised.
    void Show();
    // The window state of the form definition: maximised when shown.
    bool AskedMaximised() const { return maximized_; }
    // Writes "Page n of m", and the page's note where the opener gave one.
    void UpdateStatus();
    // The page's note and the notice side by side, left of the page count.
    void LayOutNotes();
    // A line of the window's owner about the pages, in the status bar beside the gauge.
    void SetNotice(const std::wstring& text);
    // What a check found on one page: the frames drawn on it and its notice, shown while
    // that page is; pages without an entry show the plain notice.
    void SetPageCheck(int page, std::vector<TRepNativeRect> marks, std::wstring notice);
    void ClearPageChecks();
    // The notice as shown now, whole: the status bar has room for a part of it only.
    std::wstring NoticeText() const;
    // Shows the whole notice in a message box (a click on it, or F2).
    void ShowNoticeInFull();
    // Makes the pages again from the report (F5), where the pages have one.
    void RefreshClick();
    // Who or what the page shown is, for a report of several documents; empty by default.
    std::function<std::wstring(int page)> PageNote;

    // From the form definition.
    ui::ToolBar* Toolbar = nullptr;
    ui::Panel* StatusPanel = nullptr;
    ui::ToolButton* ZoomToFit = nullptr;
    ui::ToolButton* ZoomTo100 = nullptr;
    ui::ToolButton* ZoomToWidth = nullptr;
    ui::ToolButton* FirstPage = nullptr;
    ui::ToolButton* PrevPage = nullptr;
    ui::ToolButton* NextPage = nullptr;
    ui::ToolButton* LastPage = nullptr;
    ui::ToolButton* PrintSetup = nullptr;
    ui::ToolButton* Print = nullptr;
    ui::ToolButton* Save = nullptr;
    ui::ToolButton* Load = nullptr;
    ui::Button* Exit = nullptr;
    // Texts of the status bar, drawn by it: the page count at its right end, and left of
    // it the page's note and the notice of what the check found, beside the gauge.
    ui::Panel::Caption* Status = nullptr;
    ui::Panel::Caption* Notice = nullptr;
    ui::Panel::Caption* Note = nullptr;
    TRepPreview* RepPreview = nullptr;
    // Set by the constructor.
    TRepPrinter* ReportPrinter = nullptr;
    TRepGauge* ProgressGauge = nullptr;

    // The handlers of the form definition.
    void ZoomToFitClick();
    void ZoomTo100Click();
    void ZoomToWidthClick();
    void FirstPageClick();
    void PrevPageClick();
    void NextPageClick();
    void LastPageClick();
    void PrintClick();
    void PrintSetupClick();
    void SaveClick();
    void LoadClick();
    void ExitClick();
    void FormResize();
    void FormKeyDown(WORD key, bool shift, bool ctrl, bool alt);
    void RepPreviewPageAvailable(int pageNum);
    void RepPreviewProgressUpdate(int progress);

    void onKeyDown(WORD vk, bool shift, bool ctrl, bool alt) override { FormKeyDown(vk, shift, ctrl, alt); }
    // The printer goes (the program quitting under the window): the window goes first, or,
    // while a handler of it still runs, loses the printer now and goes once that returns.
    void PrinterGone() override;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // Closing frees the window.
    void doClose() override;

private:
    friend struct TRepStandardPreviewBusy;
    void CreateControls(SIZE client);
    void Realign(SIZE client);
    // For a client of that width, which the window may not have yet.
    void LayOutNotes(int clientWidth);
    void ReleaseLater();
    // The notice and frames of the page now shown.
    void ShowCheckOfPage();
    // Asks the report printer whether the data behind the pages changed since.
    void AskIfStale();
    struct PageCheck {
        std::vector<TRepNativeRect> marks;
        std::wstring notice;
    };
    std::map<int, PageCheck> checks_;
    int checkShown_ = 0;
    std::wstring notice_;
    std::wstring stale_;
    bool maximized_ = false;
    int busy_ = 0;
    bool closeRequested_ = false;
};

// Makes the standard preview window the one every report printer opens.
void UseStandardPreview();
// Opens a standard preview window for the printer, modeless; the window is freed once it
// is closed, which detaches it from the printer.
void ShowStandardPreview(TRepPrinter& printer);
// The open standard preview window of a printer, if any.
TRepStandardPreview* StandardPreviewOf(const TRepPrinter& printer);
// Frees the printer's standard preview windows at once (for a printer about to be freed).
void FreeStandardPreviewsOf(const TRepPrinter& printer);

// A plain message box (caption = the application title, OK); a test may set the hook to
// read the message instead.
void ShowMessage(const std::wstring& text);
extern std::function<void(const std::wstring&)> ShowMessageHook;

}  // namespace rep
