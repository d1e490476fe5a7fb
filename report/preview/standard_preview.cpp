#include "report/preview/standard_preview.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "report/preview/preview_glyphs.h"
#include "report/preview/stored_pages_setup.h"
#include "report/run/export_library.h"
#include "report/run/progress_form.h"
#include "report/run/rep_printer.h"
#include "ui/app.h"
#include "ui/file_dialog.h"
#include "ui/font.h"

namespace rep {

std::function<void(const std::wstring&)> ShowMessageHook;

void ShowMessage(const std::wstring& text) {
    if (ShowMessageHook) {
        ShowMessageHook(text);
        return;
    }
    MessageBoxW(GetActiveWindow(), text.c_str(), ui::Application::get().title().c_str(), MB_OK);
}

namespace {

// The engine's string table.
constexpr const wchar_t* kPageText = L"Page";
constexpr const wchar_t* kOfText = L"of";
constexpr const wchar_t* kWorkingText = L"Working...";
constexpr const wchar_t* kFileDoesNotExist = L"File does not exist";
constexpr const wchar_t* kNoPrinter = L"No printer is installed.";
constexpr const wchar_t* kLoadedPagesCannotExport =
    L"The pages shown were loaded from a report file, which holds only their pictures, not their text, "
    L"so they cannot be exported. Nothing was saved. To export them, preview the report again and save "
    L"it from that preview.";

// The form definition, in pixels at 96 pixels per inch.
constexpr int kFormWidth = 571;
constexpr int kFormHeight = 472;
constexpr int kToolbarHeight = 33;
constexpr int kStatusHeight = 19;
constexpr int kPanel1Width = 128;
constexpr int kButtonTop = 4;
constexpr int kButtonSize = 25;
constexpr int kDefinitionZoom = 218;

struct SpeedButtonRow {
    ui::ToolButton* TRepStandardPreview::*field;
    const wchar_t* name;
    int left;
    const wchar_t* hint;
    int group;
    const wchar_t* glyph;
    void (TRepStandardPreview::*click)();
};

const SpeedButtonRow kSpeedButtons[] = {
    {&TRepStandardPreview::ZoomToFit, L"ZoomToFit", 4, L"Zoom to fit", 1, L"REPZOOMTOFITBITMAP",
     &TRepStandardPreview::ZoomToFitClick},
    {&TRepStandardPreview::ZoomTo100, L"ZoomTo100", 29, L"Zoom to 100%", 1, L"REPZOOMTO100BITMAP",
     &TRepStandardPreview::ZoomTo100Click},
    {&TRepStandardPreview::ZoomToWidth, L"ZoomToWidth", 54, L"Zoom to page width", 1, L"REPZOOMTOWIDTHBITMAP",
     &TRepStandardPreview::ZoomToWidthClick},
    {&TRepStandardPreview::FirstPage, L"FirstPage", 84, L"First Page", 0, L"REPFIRSTPAGEBITMAP",
     &TRepStandardPreview::FirstPageClick},
    {&TRepStandardPreview::PrevPage, L"PrevPage", 109, L"Previous page", 0, L"REPPREVPAGEBITMAP",
     &TRepStandardPreview::PrevPageClick},
    {&TRepStandardPreview::NextPage, L"NextPage", 134, L"Next page", 0, L"REPNEXTPAGEBITMAP",
     &TRepStandardPreview::NextPageClick},
    {&TRepStandardPreview::LastPage, L"LastPage", 159, L"Last page", 0, L"REPLASTPAGEBITMAP",
     &TRepStandardPreview::LastPageClick},
    {&TRepStandardPreview::PrintSetup, L"PrintSetup", 189, L"Printer setup", 0, L"REPPRINTSETUPBITMAP",
     &TRepStandardPreview::PrintSetupClick},
    {&TRepStandardPreview::Print, L"Print", 214, L"Print", 0, L"REPPRINTBITMAP", &TRepStandardPreview::PrintClick},
    {&TRepStandardPreview::Save, L"Save", 244, L"Save", 0, L"REPSAVEBITMAP", &TRepStandardPreview::SaveClick},
    {&TRepStandardPreview::Load, L"Load", 269, L"Load", 0, L"REPOPENBITMAP", &TRepStandardPreview::LoadClick},
};

// The notes start right of the gauge: whose page it is (several documents), then the notice.
constexpr int kNoticeLeft = 106;
constexpr int kNoteWidth = 260;
constexpr int kNoteGap = 8;

// The page count sits in the status bar's right end, a part as wide as the panel that held it.
int StatusLeft(int clientWidth) { return clientWidth - kPanel1Width + 2; }

int ViewHeight(SIZE client) {
    return std::max(0, static_cast<int>(client.cy) - kToolbarHeight - kStatusHeight);
}

bool FileExists(const std::wstring& name) {
    const DWORD attr = GetFileAttributesW(name.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The close button shows the greyed copy of its glyph while it is disabled.
class TRepExitButton : public ui::Button {
public:
    TRepExitButton(ui::Window& parent, const ui::ButtonArgs& a) : ui::Button(parent, a) {}

protected:
    LRESULT handleSubclassed(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
        if (msg == WM_ENABLE) setGlyph(&ExitGlyph(wp != FALSE));
        return ui::Button::handleSubclassed(msg, wp, lp, handled);
    }
};

// The open windows; each is freed once it has been closed.
std::vector<std::unique_ptr<TRepStandardPreview>>& OpenPreviews() {
    static std::vector<std::unique_ptr<TRepStandardPreview>> windows;
    return windows;
}

auto FindOpen(const TRepStandardPreview* w) {
    auto& all = OpenPreviews();
    return std::find_if(all.begin(), all.end(), [w](const auto& p) { return p.get() == w; });
}

bool IsOpen(const TRepStandardPreview* w) { return FindOpen(w) != OpenPreviews().end(); }

// Takes the window out of the list first: freeing it runs the after-preview hook, which
// may open another preview.
void FreeNow(const TRepStandardPreview* w) {
    auto it = FindOpen(w);
    if (it == OpenPreviews().end()) return;
    std::unique_ptr<TRepStandardPreview> gone = std::move(*it);
    OpenPreviews().erase(it);
}

}  // namespace

// Handlers that run message loops of their own (dialogs, a printer run, pending messages)
// keep the window alive until they return, even when it is closed meanwhile.
struct TRepStandardPreviewBusy {
    explicit TRepStandardPreviewBusy(TRepStandardPreview& w) : w(w) { ++w.busy_; }
    ~TRepStandardPreviewBusy() {
        if (--w.busy_ == 0 && w.closeRequested_) w.ReleaseLater();
    }
    TRepStandardPreview& w;
};

TRepStandardPreview::TRepStandardPreview(TRepPrinter* printer) {
    name = L"RepStandardPreview";
    // 1. The form definition.
    ui::FormArgs args;
    args.border = ui::BorderStyle::Sizeable;
    args.centered = true;
    args.font = ui::sansSerif(11);
    const SIZE client = ui::Form::clientOfOuter(args, kFormWidth, kFormHeight);
    args.clientWidth = client.cx;
    args.clientHeight = client.cy;
    createForm(args);
    keyPreview = true;
    // Laid out at once at the size it is shown at: every control moved later is laid out and
    // sized again, which costs Wine a few milliseconds.
    maximized_ = true;
    CreateControls(maximizedClientSize());
    // 2-4.
    ReportPrinter = printer;
    if (printer) printer->AddView(this);
    RepPreview->SetReportPrinter(printer);
    // 5. The title, also when it is empty.
    if (printer) setText(printer->Title);
    // 6. The gauge, visible from the start at 0.
    ProgressGauge = &StatusPanel->add<TRepGauge>(*StatusPanel, 2, 2, 100, kStatusHeight - 3);
    ProgressGauge->name = L"ProgressGauge";
    // 8.
    ZoomToWidth->setDown(true);
}

TRepStandardPreview::~TRepStandardPreview() {
    // Before the preview control lets the printer go, whose hook may free the printer.
    if (ReportPrinter) ReportPrinter->RemoveView(this);
}

void TRepStandardPreview::CreateControls(SIZE c) {
    Toolbar = &add<ui::ToolBar>(*this, ui::PanelArgs{0, 0, c.cx, kToolbarHeight});
    Toolbar->name = L"Toolbar";
    StatusPanel = &add<ui::Panel>(*this, ui::PanelArgs{0, c.cy - kStatusHeight, c.cx, kStatusHeight});
    StatusPanel->name = L"StatusPanel";
    for (const SpeedButtonRow& row : kSpeedButtons) {
        ui::ToolButtonArgs a;
        a.x = row.left;
        a.y = kButtonTop;
        a.w = a.h = kButtonSize;
        a.glyph = &PreviewGlyph(row.glyph);
        a.hint = row.hint;
        a.groupIndex = row.group;
        ui::ToolButton& b = Toolbar->addButton(row.name, a);
        b.onClick = [this, click = row.click] { (this->*click)(); };
        this->*row.field = &b;
    }
    Exit = &Toolbar->add<TRepExitButton>(*Toolbar, ui::ButtonArgs{L"&Close", 300, kButtonTop, 75, kButtonSize,
                                                                   &ExitGlyph(true)});
    Exit->name = L"Exit";
    Exit->onClick = [this] { ExitClick(); };
    setCancelButton(Exit);
    Status = &StatusPanel->addCaption(L"Status", ui::LabelArgs{kWorkingText, StatusLeft(c.cx), 3, kPanel1Width - 4, 13});
    Notice = &StatusPanel->addCaption(L"Notice", ui::LabelArgs{L"", kNoticeLeft, 3, 0, 13});
    Note = &StatusPanel->addCaption(L"Note", ui::LabelArgs{L"", kNoticeLeft, 3, 0, 13});
    LayOutNotes(c.cx);
    StatusPanel->onClick = [this](POINT p) {
        const RECT& r = Notice->rect();
        if (PtInRect(&r, p)) ShowNoticeInFull();
    };
    RepPreview = &add<TRepPreview>(*this, 0, kToolbarHeight);
    RepPreview->setBounds(0, kToolbarHeight, c.cx, ViewHeight(c));
    RepPreview->OnPageAvailable = [this](TRepPreview&, int page) { RepPreviewPageAvailable(page); };
    RepPreview->OnProgressUpdate = [this](TRepPreview&, int progress) { RepPreviewProgressUpdate(progress); };
    // The stored zoom of the form definition, applied while still unattached.
    RepPreview->SetZoom(kDefinitionZoom);
    setTabOrder({RepPreview, Exit});
}

void TRepStandardPreview::Show() {
    if (maximized_) {
        // Laid out at the maximized size while still hidden: in a window on screen every
        // bar and scroll bar that moves is redrawn at once.
        Realign(maximizedClientSize());
        FormResize();
        showMaximized();
    } else {
        ui::Form::show();
    }
    RepPreview->focus();
}

void TRepStandardPreview::Realign(SIZE c) {
    if (!Toolbar || !StatusPanel || !Status || !RepPreview) return;
    Toolbar->setBounds(0, 0, c.cx, kToolbarHeight);
    StatusPanel->setBounds(0, c.cy - kStatusHeight, c.cx, kStatusHeight);
    Status->setBounds(StatusLeft(c.cx), 3, kPanel1Width - 4, 13);
    LayOutNotes(c.cx);
    RepPreview->setBounds(0, kToolbarHeight, c.cx, ViewHeight(c));
}

LRESULT TRepStandardPreview::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE && wp != SIZE_MINIMIZED && RepPreview) {
        // The bars and the page view follow the window first, then the window's handler.
        Realign(clientSize());
        FormResize();
    }
    // Back from the main window: what it holds now may no longer be what the pages show.
    if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) AskIfStale();
    return ui::Form::handleMessage(msg, wp, lp);
}

void TRepStandardPreview::UpdateStatus() {
    const int pages = RepPreview->ReportPrinter() ? RepPreview->ReportPrinter()->PageCount() : 0;
    Status->setText(std::wstring(kPageText) + L" " + std::to_wstring(RepPreview->PageNumber()) + L" " + kOfText +
                    L" " + std::to_wstring(pages));
    const int page = RepPreview->PageNumber();
    if (PageNote && Note) Note->setText(page >= 1 && page <= pages ? PageNote(page) : std::wstring());
    ShowCheckOfPage();
    LayOutNotes();
}

void TRepStandardPreview::SetPageCheck(int page, std::vector<TRepNativeRect> marks, std::wstring notice) {
    checks_[page] = {std::move(marks), std::move(notice)};
    if (page == RepPreview->PageNumber() || page == 1) {
        checkShown_ = 0;
        ShowCheckOfPage();
    }
}

void TRepStandardPreview::ClearPageChecks() {
    checks_.clear();
    checkShown_ = 0;
    RepPreview->SetMarks({});
    if (Notice) Notice->setText(NoticeText());
}

std::wstring TRepStandardPreview::NoticeText() const {
    // What changed since, what the page's check found, then the owner's general note.
    std::wstring text = stale_;
    const auto add = [&text](const std::wstring& part) {
        if (!part.empty()) text += (text.empty() ? L"" : L" ") + part;
    };
    const int page = std::max(1, RepPreview->PageNumber());
    if (auto it = checks_.find(page); it != checks_.end()) add(it->second.notice);
    add(notice_);
    return text;
}

void TRepStandardPreview::ShowCheckOfPage() {
    const int page = std::max(1, RepPreview->PageNumber());
    if (checkShown_ != page) {
        auto it = checks_.find(page);
        if (it != checks_.end()) RepPreview->SetMarks(it->second.marks);
        else if (!checks_.empty()) RepPreview->SetMarks({});
        checkShown_ = page;
    }
    if (Notice) Notice->setText(NoticeText());
}

void TRepStandardPreview::ShowNoticeInFull() {
    const std::wstring text = NoticeText();
    if (!text.empty()) ShowMessage(text);
}

void TRepStandardPreview::AskIfStale() {
    if (!ReportPrinter || !ReportPrinter->OnStaleNote) return;
    std::wstring stale = ReportPrinter->OnStaleNote();
    if (stale == stale_) return;
    stale_ = std::move(stale);
    if (Notice) Notice->setText(NoticeText());
}

void TRepStandardPreview::RefreshClick() {
    TRepStandardPreviewBusy busy(*this);
    if (!ReportPrinter || !ReportPrinter->OnRefresh) return;
    const int page = RepPreview->PageNumber();
    ReportPrinter->OnRefresh();
    stale_.clear();
    RepPreview->ShowPageAfresh(std::clamp(page, 1, std::max(1, ReportPrinter->PageCount())));
    checkShown_ = 0;
    UpdateStatus();
}

void TRepStandardPreview::LayOutNotes() { LayOutNotes(clientSize().cx); }

void TRepStandardPreview::LayOutNotes(int clientWidth) {
    if (!Note || !Notice) return;
    const int room = std::max(0, clientWidth - kPanel1Width - kNoticeLeft - 4);
    const int note = PageNote ? std::min(room, kNoteWidth) : 0;
    const int gap = note ? kNoteGap : 0;
    Note->setBounds(kNoticeLeft, 3, note, 13);
    Notice->setBounds(kNoticeLeft + note + gap, 3, std::max(0, room - note - gap), 13);
}

// ------------------------------------------------------------------ handlers

void TRepStandardPreview::ZoomToFitClick() {
    TRepStandardPreviewBusy busy(*this);
    ui::Application::get().processMessages();
    RepPreview->FitToPage();
}

void TRepStandardPreview::ZoomTo100Click() {
    TRepStandardPreviewBusy busy(*this);
    ui::Application::get().processMessages();
    RepPreview->SetZoom(100);
}

void TRepStandardPreview::ZoomToWidthClick() {
    TRepStandardPreviewBusy busy(*this);
    ui::Application::get().processMessages();
    RepPreview->FitToWidth();
}

void TRepStandardPreview::FirstPageClick() {
    RepPreview->SetPageNumber(1);
    UpdateStatus();
}

void TRepStandardPreview::PrevPageClick() {
    RepPreview->SetPageNumber(RepPreview->PageNumber() - 1);
    UpdateStatus();
}

void TRepStandardPreview::NextPageClick() {
    RepPreview->SetPageNumber(RepPreview->PageNumber() + 1);
    UpdateStatus();
}

void TRepStandardPreview::LastPageClick() {
    if (ReportPrinter) RepPreview->SetPageNumber(ReportPrinter->PageCount());
    UpdateStatus();
}

void TRepStandardPreview::PrintSetupClick() {
    TRepStandardPreviewBusy busy(*this);
    if (!ReportPrinter) return;
    // Finished pages with no report behind them (a loaded file) print as they are stored,
    // on the report printer's own device: that is the one to set up.
    if (ReportPrinter->OnPrintSetup || ReportPrinter->Status() != stFinished) {
        const int page = RepPreview->PageNumber();
        ReportPrinter->PrinterSetup();
        // Another printer may have laid the pages out anew.
        if (ReportPrinter && ReportPrinter->Status() == stFinished) {
            RepPreview->ShowPageAfresh(std::clamp(page, 1, std::max(1, ReportPrinter->PageCount())));
            checkShown_ = 0;
            UpdateStatus();
        }
    } else if (!ReportPrinter->PrinterOK()) {
        ShowMessage(kNoPrinter);
    } else {
        StoredPagesPrinterSetup(*ReportPrinter, hwnd());
    }
}

void TRepStandardPreview::PrintClick() {
    TRepStandardPreviewBusy busy(*this);
    if (ReportPrinter) ReportPrinter->Print();
}

void TRepStandardPreview::SaveClick() {
    TRepStandardPreviewBusy busy(*this);
    ui::FileDialogArgs a;
    a.filter = ExportFilterLibrary().DialogFilter();
    a.defaultExt = L"REP";
    a.hideReadOnly = true;
    a.overwritePrompt = false;
    ui::FileDialog dialog(ui::FileDialog::Kind::Save, a);
    dialog.setFilterIndex(1);
    if (!dialog.execute(hwnd()) || !ReportPrinter) return;
    const int type = dialog.filterIndex();
    if (type == 1) {
        ReportPrinter->Save(dialog.fileName());
        return;
    }
    const auto& entries = ExportFilterLibrary().Entries();
    if (type < 2 || static_cast<size_t>(type - 2) >= entries.size()) return;
    // An export runs the report again; loaded pages have none.
    if (!ReportPrinter->OnExportToFilter) {
        ShowMessage(kLoadedPagesCannotExport);
        return;
    }
    // The filter goes when this returns, also when the export fails.
    std::unique_ptr<TRepExportFilter> filter = entries[static_cast<size_t>(type - 2)].FilterClass(dialog.fileName());
    ReportPrinter->ExportToFilter(*filter);
}

void TRepStandardPreview::LoadClick() {
    TRepStandardPreviewBusy busy(*this);
    ui::FileDialogArgs a;
    a.filter = std::wstring(ReportFileText) + L"(*.REP)|*.REP";
    a.hideReadOnly = true;
    ui::FileDialog dialog(ui::FileDialog::Kind::Open, a);
    if (!dialog.execute(hwnd()) || !ReportPrinter) return;
    if (!FileExists(dialog.fileName())) {
        ShowMessage(kFileDoesNotExist);
        return;
    }
    ReportPrinter->Load(dialog.fileName());
    // What was said and drawn about the report's pages is not about the loaded ones, nor
    // is whose each page was.
    ClearPageChecks();
    stale_.clear();
    PageNote = nullptr;
    if (Note) Note->setText(L"");
    RepPreview->SetUnderlay({});
    SetNotice(L"");
    // Page 1 is fetched again even when it was on screen already.
    RepPreview->ShowPageAfresh(1);
    UpdateStatus();
}

void TRepStandardPreview::ExitClick() { close(); }

void TRepStandardPreview::SetNotice(const std::wstring& text) {
    notice_ = text;
    if (Notice) Notice->setText(NoticeText());
}

void TRepStandardPreview::FormResize() { RepPreview->LayOutImage(); }

void TRepStandardPreview::FormKeyDown(WORD key, bool shift, bool ctrl, bool alt) {
    const bool onlyCtrl = ctrl && !shift && !alt;
    switch (key) {
    case VK_PRIOR:
        if (onlyCtrl) FirstPageClick();
        else PrevPageClick();
        break;
    case VK_NEXT:
        if (onlyCtrl) LastPageClick();
        else NextPageClick();
        break;
    case VK_END: LastPageClick(); break;
    case VK_HOME: FirstPageClick(); break;
    case VK_F5: RefreshClick(); break;
    case VK_F2: ShowNoticeInFull(); break;
    // Esc reaches the close button as the cancel button.
    default: break;
    }
}

void TRepStandardPreview::RepPreviewPageAvailable(int) { UpdateStatus(); }

void TRepStandardPreview::RepPreviewProgressUpdate(int progress) {
    ProgressGauge->SetPosition(progress);
    ProgressGauge->setVisible(progress > 0 && progress < 100);
}

// ------------------------------------------------------------------ closing and freeing

void TRepStandardPreview::doClose() {
    hide();
    if (!IsOpen(this)) {
        // A window its creator owns: the preview ends here; the creator frees the window.
        RepPreview->SetReportPrinter(nullptr);
        return;
    }
    closeRequested_ = true;
    if (busy_ == 0) ReleaseLater();
}

void TRepStandardPreview::ReleaseLater() {
    const TRepStandardPreview* self = this;
    // Freed from the message loop, once the close message has been handled.
    ui::Application::get().post([self] {
        auto it = FindOpen(self);
        if (it != OpenPreviews().end() && (*it)->busy_ == 0) FreeNow(self);
    });
}

void ShowStandardPreview(TRepPrinter& printer) {
    auto window = std::make_unique<TRepStandardPreview>(&printer);
    TRepStandardPreview& w = *window;
    OpenPreviews().push_back(std::move(window));
    w.Show();
}

TRepStandardPreview* StandardPreviewOf(const TRepPrinter& printer) {
    for (const auto& w : OpenPreviews())
        if (w->ReportPrinter == &printer) return w.get();
    return nullptr;
}

void TRepStandardPreview::PrinterGone() {
    if (busy_ > 0) {
        if (ReportPrinter) ReportPrinter->RemoveView(this);
        RepPreview->SetReportPrinter(nullptr);
        ReportPrinter = nullptr;
        closeRequested_ = true;
        hide();
    } else {
        FreeNow(this);
    }
}

void FreeStandardPreviewsOf(const TRepPrinter& printer) {
    std::vector<TRepStandardPreview*> of;
    for (const auto& w : OpenPreviews())
        if (w->ReportPrinter == &printer) of.push_back(w.get());
    for (TRepStandardPreview* w : of) w->PrinterGone();
}

void UseStandardPreview() { SetPreviewOpener(&ShowStandardPreview); }

}  // namespace rep
