// The calibration pages printed on the CUPS PDF printer and read back: rulers from the
// paper's edges, and each box where the sheet would put its field with the offsets of the
// printer it prints on.
#include <gtest/gtest.h>
#include <windows.h>

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "sheets/calibration_page.h"
#include "sheets/set_report.h"
#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "shell/offsets/print_offsets.h"
#include "shell/offsets/printer_offsets.h"
#include "tests/gui/gui_util.h"
#include "tests/gui/print_through_preview.h"
#include "tests/win/host_files.h"
#include "tests/win/pdf_words.h"
#include "ui/printer.h"
#include "ui/timer.h"

using MainSet::MainForm;
using namespace guitest;
using SettingsUnit::TPrintOffsets;

namespace {

constexpr double kPxMm = 25.4 / 96;


// The first word with this text inside the area (millimetres).
const pdfwords::Word* wordIn(const pdfwords::Page& page, const std::string& text, double x0, double y0, double x1,
                             double y1) {
    using pdfwords::PointsToMm;
    for (const auto& w : page.words)
        if (w.text == text && PointsToMm(w.xMin) >= x0 && PointsToMm(w.xMax) <= x1 && PointsToMm(w.yMin) >= y0 &&
            PointsToMm(w.yMax) <= y1)
            return &w;
    return nullptr;
}

double mm(double points) { return pdfwords::PointsToMm(points); }

class SheetPrintCalibration : public ::testing::Test {
protected:
    void SetUp() override {
        if (printer_env::NoPrinterRun()) GTEST_SKIP() << "no printer in this run";
        ini.write("[Settings]\r\n");
        SettingsUnit::LoadPrintOffsets();
        ui::Application::get().resetTerminated();
        Program::CreateForms();
        MainForm->show();
        activate(MainForm->hwnd());
    }
    void TearDown() override {
        if (printer_env::NoPrinterRun()) return;
        Program::DestroyForms();
        SettingsUnit::PrintOffsets = {};
        ini.clear();
        SettingsUnit::LoadPrinterOffsets();
    }
    static std::wstring Unique() { return std::to_wstring(GetTickCount() % 1000000); }
    std::optional<pdfwords::Page> printCalibration(int page, int printerIndex = -1) {
        Calibration::TCalibrationPage calibration(page);
        calibration.Report1.PrinterSettings.PrinterIndex = printerIndex;
        const std::wstring title = L"Calib" + Unique() + L"p" + std::to_wstring(page);
        calibration.Report1.ReportTitle = title;
        calibration.Report1.ShowProgress = false;
        printer_env::DeletePdfs(title);
        printThroughPreview([&] { return &calibration.Report1; }, [&] { calibration.Preview(); });
        return pdfwords::TakeOnePageJob(title);
    }
    hostfiles::SavedIni ini;
};

TEST_F(SheetPrintCalibration, RulersFromTheEdgesAndBoxesWithThePrintersOwnOffsets) {
    auto page = printCalibration(1);
    ASSERT_TRUE(page) << "no PDF came back";
    // The rulers: numbers every 10 mm, centred under the top ticks, beside the left ones.
    for (int at : {50, 100, 200}) {
        SCOPED_TRACE(at);
        const auto* top = wordIn(*page, std::to_string(at), at - 5, 8, at + 5, 14);
        ASSERT_TRUE(top);
        EXPECT_NEAR((mm(top->xMin) + mm(top->xMax)) / 2, at, 0.2);
    }
    for (int at : {20, 100, 280}) {
        SCOPED_TRACE(at);
        const auto* left = wordIn(*page, std::to_string(at), 9, at - 5, 16, at + 2);
        ASSERT_TRUE(left);
        EXPECT_NEAR(mm(left->xMin), 9.5, 0.3);
        // Standing on the tick: the baseline lies above the box's bottom by the descent.
        EXPECT_NEAR(mm(left->yMax), at, 0.8);
    }
    // The box of the town with its name inside, at the label's place: 570 px, 127 px.
    const auto* town = page->Find("«Город»");
    ASSERT_TRUE(town);
    EXPECT_NEAR(mm(town->xMin), 570 * kPxMm + 0.5, 0.25);
    EXPECT_NEAR(mm(town->yMin), 127 * kPxMm + 0.4, 0.6);
    EXPECT_TRUE(page->Find("всех"));  // "для всех принтеров"

    // The printer this prints on gets a set of its own; the common set stays at zero.
    ui::TPrinter& printers = ui::applicationPrinter();
    printers.refresh();
    const std::wstring pdf = printers.printers().at(static_cast<std::size_t>(printers.defaultIndex())).name;
    SettingsUnit::WritePrinterOffsets(pdf, TPrintOffsets{10, 0, -4, 0, 0, 0, 10});
    auto moved = printCalibration(1);
    ASSERT_TRUE(moved);
    const auto* town2 = moved->Find("«Город»");
    const auto* ruler2 = wordIn(*moved, "100", 95, 8, 105, 14);
    ASSERT_TRUE(town2 && ruler2);
    EXPECT_NEAR(mm(town2->xMin) - mm(town->xMin), 2.65, 0.1);
    EXPECT_NEAR(mm(town2->yMin) - mm(town->yMin), -1.06, 0.1);
    EXPECT_NEAR((mm(ruler2->xMin) + mm(ruler2->xMax)) / 2, 100, 0.2);
    EXPECT_TRUE(moved->Find("«" + std::string(pdf.begin(), pdf.end()) + "»:"));

    // And the sheet itself prints with that set: the town's text is centred in the moved box.
    const std::wstring surname = L"Calib" + Unique();
    MainForm->edit(L"edSurName").setText(surname);
    const std::wstring prefix = surname + L"_";
    printer_env::DeletePdfs(prefix);
    SetReport::BlankoSheet1->Report1.ShowProgress = false;
    printThroughPreview([] { return &SetReport::BlankoSheet1->Report1; }, [] { MainForm->mnPrintSheet1Click(); });
    auto sheet = pdfwords::TakeOnePageJob(prefix);
    ASSERT_TRUE(sheet);
    const auto* g = sheet->Find("г.");
    const auto* z = sheet->Find("Заречинск");
    ASSERT_TRUE(g && z);
    EXPECT_NEAR((mm(g->xMin) + mm(z->xMax)) / 2, (570 + 110 + 10) * kPxMm, 0.2);
}

TEST_F(SheetPrintCalibration, OnAPrinterWithMarginsTheRulersStayAtTheEdgesAndItsOwnSetPlacesTheBoxes) {
    ui::TPrinter& printers = ui::applicationPrinter();
    printers.refresh();
    int pdfm = -1;
    for (std::size_t i = 0; i < printers.printers().size(); ++i)
        if (printers.printers()[i].name == L"PDFM") pdfm = static_cast<int>(i);
    if (pdfm < 0) GTEST_SKIP() << "no queue PDFM (scripts/printer.sh adds it)";
    auto plain = printCalibration(1);
    SettingsUnit::WritePrinterOffsets(L"PDFM", TPrintOffsets{26, 0, 51, 0, 0, 0, 10});
    auto margin = printCalibration(1, pdfm);
    ASSERT_TRUE(plain && margin);
    for (int at : {50, 100, 200}) {
        SCOPED_TRACE(at);
        const auto* a = wordIn(*plain, std::to_string(at), at - 5, 8, at + 5, 14);
        const auto* b = wordIn(*margin, std::to_string(at), at - 5, 8, at + 5, 14);
        ASSERT_TRUE(a && b);
        EXPECT_NEAR(mm(b->xMin), mm(a->xMin), 0.1);
        EXPECT_NEAR(mm(b->yMin), mm(a->yMin), 0.1);
    }
    // The boxes stand where PDFM's own set puts the sheet's values.
    const auto* town = plain->Find("«Город»");
    const auto* town2 = margin->Find("«Город»");
    ASSERT_TRUE(town && town2);
    EXPECT_NEAR(mm(town2->xMin) - mm(town->xMin), 26 * kPxMm, 0.1);
    EXPECT_NEAR(mm(town2->yMin) - mm(town->yMin), 51 * kPxMm, 0.1);
    EXPECT_TRUE(margin->Find("«PDFM»:"));
}

TEST_F(SheetPrintCalibration, PageTwoShowsTheColumnsWithTheirOwnShifts) {
    SettingsUnit::PrintOffsets.DeltaX2 = -10;
    SettingsUnit::PrintOffsets.DeltaXColumn3 = 10;
    auto page = printCalibration(2);
    ASSERT_TRUE(page) << "no PDF came back";
    // Row 1 of each column: discipline at 65 - 10 px, grade at 650 px, 155 px from the top.
    const auto* discipline = page->Find("«Наименование");
    const auto* mark = page->Find("«Итоговая");
    ASSERT_TRUE(discipline && mark);
    EXPECT_NEAR(mm(discipline->xMin), 55 * kPxMm + 0.5, 0.25);
    EXPECT_NEAR(mm(mark->xMin), 650 * kPxMm + 0.5, 0.25);
    EXPECT_NEAR(mm(mark->yMin), 155 * kPxMm + 0.4, 0.6);
    // Forty rows of grades.
    EXPECT_EQ(page->Count("«Итоговая"), 40);
}

}  // namespace
