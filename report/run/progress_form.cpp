#include "report/run/progress_form.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "report/run/rep_printer.h"
#include "ui/app.h"
#include "ui/font.h"

namespace rep {

namespace {

// From the engine's string table; it begins with a space.
constexpr const wchar_t* kCompleted = L" Completed";
constexpr const wchar_t* kPage = L"Page";
constexpr const wchar_t* kOf = L"of";

}  // namespace

TRepGauge::TRepGauge(ui::Window& parent, int x, int y, int w, int h) {
    ui::useCommonControls();
    createControl(PROGRESS_CLASSW, parent.hwnd(), WS_CHILD | WS_VISIBLE, 0, x, y, w, h);
    SendMessageW(hwnd(), PBM_SETRANGE32, 0, 100);
    SendMessageW(hwnd(), PBM_SETPOS, 0, 0);
}

void TRepGauge::SetPosition(int percent) { SendMessageW(hwnd(), PBM_SETPOS, static_cast<WPARAM>(percent), 0); }

int TRepGauge::Position() const { return static_cast<int>(SendMessageW(hwnd(), PBM_GETPOS, 0, 0)); }

TRepProgressForm::TRepProgressForm() {
    name = L"RepProgressForm";
    ui::FormArgs args;
    args.caption = L"Printing progress";
    args.clientWidth = 147;
    args.clientHeight = 84;
    args.border = ui::BorderStyle::Dialog;
    args.minimizeBox = false;
    args.maximizeBox = false;
    args.centered = true;
    args.topMost = true;
    args.font = ui::sansSerif(11);
    createForm(args);

    Info = &add<ui::Label>(*this, ui::LabelArgs{L"", 0, 28, 145, 13, ui::Align::Center});
    Info->name = L"Info";
    CancelButton = &add<ui::Button>(*this, ui::ButtonArgs{L"Cancel", 36, 52, 75, 25});
    CancelButton->name = L"CancelButton";
    CancelButton->onClick = [this] { CancelButtonClick(); };
    setTabOrder({CancelButton});
    FormCreate();
}

void TRepProgressForm::FormCreate() {
    Gauge = &add<TRepGauge>(*this, 10, 10, width() - 20, 15);
    Gauge->name = L"Gauge";
}

void TRepProgressForm::CancelButtonClick() {
    if (ReportPrinter) ReportPrinter->Cancel();
}

void TRepProgressForm::ProgressMessage() {
    if (!ReportPrinter) return;
    // The value comes from the report printer, not from the message.
    const int percent = ReportPrinter->ProgressPercent();
    if (percent % 5 != 0) return;
    Gauge->SetPosition(percent);
    Info->setText(std::to_wstring(percent) + L"% " + kCompleted);
    ui::Application::get().processMessages();
}

void TRepProgressForm::PageMessage(int pages) {
    if (!ReportPrinter) return;
    // A long job shows that it moves: the pages handed over so far, and their share.
    const int expected = ReportPrinter->ExpectedPages;
    std::wstring text = std::wstring(kPage) + L" " + std::to_wstring(pages);
    if (expected > 0) {
        text += L" " + std::wstring(kOf) + L" " + std::to_wstring(expected);
        Gauge->SetPosition(std::min(100, pages * 100 / expected));
    }
    Info->setText(text);
}

LRESULT TRepProgressForm::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_REPPROGRESS) {
        ProgressMessage();
        return 0;
    }
    if (msg == WM_REPPAGEAVAILABLE) {
        PageMessage(static_cast<int>(LOWORD(wp)));
        return 0;
    }
    return Form::handleMessage(msg, wp, lp);
}

}  // namespace rep
