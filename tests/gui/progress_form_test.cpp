// The printing progress window fed by a real report printer's posted messages, and its
// Cancel button clicked with the mouse.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "report/run/progress_form.h"
#include "report/run/rep_printer.h"
#include "tests/gui/gui_util.h"

using namespace guitest;

namespace {

RECT BoundsIn(const ui::Window& child, const ui::Window& form) {
    RECT r;
    GetWindowRect(child.hwnd(), &r);
    MapWindowPoints(HWND_DESKTOP, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectBounds(const ui::Window& child, const ui::Window& form, int x, int y, int w, int h) {
    const RECT r = BoundsIn(child, form);
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, h);
}

class ProgressForm : public ::testing::Test {
protected:
    void SetUp() override {
        form.ReportPrinter = &printer;
        printer.Client = form.hwnd();
        form.show();
        pump(30);
    }
    void TearDown() override {
        printer.Client = nullptr;
        form.hide();
        pump(10);
    }
    rep::TRepPrinter printer;
    rep::TRepProgressForm form;
};

TEST_F(ProgressForm, LaidOutAsItsDefinition) {
    EXPECT_EQ(form.text(), L"Printing progress");
    EXPECT_EQ(form.clientSize().cx, 147);
    EXPECT_EQ(form.clientSize().cy, 84);
    EXPECT_TRUE(GetWindowLongW(form.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongW(form.hwnd(), GWL_STYLE) & WS_DLGFRAME);
    // Centred on the screen.
    const RECT w = form.bounds();
    EXPECT_NEAR((w.left + w.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((w.top + w.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    ExpectBounds(*form.Info, form, 0, 28, 145, 13);
    EXPECT_TRUE(GetWindowLongW(form.Info->hwnd(), GWL_STYLE) & SS_CENTER);
    EXPECT_EQ(form.Info->text(), L"");
    ExpectBounds(*form.CancelButton, form, 36, 52, 75, 25);
    EXPECT_EQ(form.CancelButton->text(), L"Cancel");
    ExpectBounds(*form.Gauge, form, 10, 10, form.width() - 20, 15);
    wchar_t cls[64] = {};
    GetClassNameW(form.Gauge->hwnd(), cls, 64);
    EXPECT_EQ(std::wstring(cls), PROGRESS_CLASSW);
    PBRANGE range{};
    SendMessageW(form.Gauge->hwnd(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(form.Gauge->Position(), 0);
    EXPECT_EQ(form.tabOrder(), std::vector<ui::Window*>{form.CancelButton});
}

TEST_F(ProgressForm, ShowsOnlyMultiplesOfFive) {
    struct Step {
        int percent;
        int bar;
        const wchar_t* info;
    };
    const Step steps[] = {
        {3, 0, L""},
        {5, 5, L"5%  Completed"},
        {7, 5, L"5%  Completed"},
        {10, 10, L"10%  Completed"},
        {99, 10, L"10%  Completed"},
        {0, 0, L"0%  Completed"},
        {100, 100, L"100%  Completed"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.percent);
        printer.SetProgress(s.percent);
        pump(20);
        EXPECT_EQ(form.Gauge->Position(), s.bar);
        EXPECT_EQ(form.Info->text(), s.info);
    }
}

TEST_F(ProgressForm, ReadsThePercentFromThePrinterNotTheMessage) {
    printer.SetProgress(20);
    pump(20);
    // A message whose value disagrees with the printer shows the printer's value.
    PostMessageW(form.hwnd(), rep::WM_REPPROGRESS, 35, 0);
    pump(20);
    EXPECT_EQ(form.Info->text(), L"20%  Completed");
    EXPECT_EQ(form.Gauge->Position(), 20);
}

TEST_F(ProgressForm, CountsThePagesAsTheyGo) {
    printer.ExpectedPages = 4;
    printer.SetPaperSize(rep::TRepPaperSize::A4);
    printer.BeginDoc();
    printer.NewPage();
    printer.NewPage();
    printer.EndDoc();
    pump(30);
    EXPECT_EQ(form.Info->text(), L"Page 2 of 4");
    EXPECT_EQ(form.Gauge->Position(), 50);
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
}

TEST_F(ProgressForm, CancelClickStopsTheRun) {
    printer.SetPaperSize(rep::TRepPaperSize::A4);
    printer.BeginDoc();
    printer.NewPage();
    ASSERT_FALSE(printer.Cancelled());
    activate(form.hwnd());
    click(*form.CancelButton);
    EXPECT_TRUE(printer.Cancelled());
    printer.AbortDoc();
}

}  // namespace
