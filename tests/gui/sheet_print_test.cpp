// From typing to paper: values typed into the main window, the print command, Print in
// the real preview window, a job on the CUPS PDF printer, and the words read back from
// the PDF at the millimetre where the sheet puts them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "shell/offsets/print_offsets.h"
#include "tests/gui/gui_util.h"
#include "tests/gui/print_through_preview.h"
#include "tests/win/pdf_words.h"
#include "ui/timer.h"
#include "ui/utf8.h"

using MainSet::MainForm;
using namespace guitest;

namespace {

constexpr double kPxMm = 25.4 / 96;  // one report pixel at 96 dpi


// pdftotext puts a word's box top below the text cell's top by part of the em (its font
// box convention, the same for every word of a font); the cell top is where the sheet puts
// the text. Checked: the box top lies within a quarter em below the expected cell top.
void expectTop(double boxTopMm, double cellTopMm, int pt) {
    double em = pt * 25.4 / 72;
    EXPECT_GE(boxTopMm, cellTopMm - 0.05);
    EXPECT_LE(boxTopMm, cellTopMm + 0.25 * em);
}

struct Box {
    double left, top, right;
};

// The span of the words of a text on the page, in millimetres.
std::optional<Box> spanOf(const pdfwords::Page& page, const std::vector<std::string>& words) {
    const pdfwords::Word* first = page.Find(words.front());
    const pdfwords::Word* last = page.Find(words.back());
    if (!first || !last) return std::nullopt;
    return Box{pdfwords::PointsToMm(first->xMin), pdfwords::PointsToMm(first->yMin), pdfwords::PointsToMm(last->xMax)};
}

class SheetPrint : public ::testing::Test {
protected:
    void SetUp() override {
        if (printer_env::NoPrinterRun()) GTEST_SKIP() << "no printer in this run";
        saved_ = SettingsUnit::PrintOffsets;
        SettingsUnit::PrintOffsets = {};
        ui::Application::get().resetTerminated();
        Program::CreateForms();
        MainForm->show();
        activate(MainForm->hwnd());
    }
    void TearDown() override {
        Program::DestroyForms();
        SettingsUnit::PrintOffsets = saved_;
    }
    // Prints the page through its preview and reads back the one page of its job, found by
    // the surname the job is named after.
    static std::optional<pdfwords::Page> printSheet(rep::TReport& report, void (MainSet::TMainForm::*command)()) {
        const std::wstring prefix = JobPrefix();
        printer_env::DeletePdfs(prefix);
        report.ShowProgress = false;
        printThroughPreview([&] { return &report; }, [&] { (MainForm->*command)(); });
        std::wstring job = pdfwords::WaitForJob(prefix);
        if (job.empty()) return std::nullopt;
        lastJob_ = job.substr(job.find_last_of(L'\\') + 1);
        auto pages = pdfwords::Read(job);
        // Each run names its jobs afresh: none is left behind in the shared folder.
        DeleteFileW(job.c_str());
        if (!pages || pages->size() != 1) return std::nullopt;
        return pages->front();
    }
    static std::optional<pdfwords::Page> printSheet1() {
        return printSheet(SetReport::BlankoSheet1->Report1, &MainSet::TMainForm::mnPrintSheet1Click);
    }
    // The queue writes a job to "<document name>-job_<n>.pdf", every character of the name
    // other than a Latin letter, digit or "." made "_": "Ivanov1, стр. 1 - ..." becomes
    // "Ivanov1_____._1_-...". Cyrillic letters all look alike there, so these tests tell
    // their jobs apart by a Latin surname unique to this run (the queue is shared).
    static std::wstring JobPrefix() { return Surname() + L"_"; }
    static std::wstring JobOfPage(int page) { return Surname() + L"_____._" + std::to_wstring(page) + L"_-"; }
    static const std::wstring& Surname() {
        static const std::wstring name = L"Ivanov" + std::to_wstring(GetTickCount() % 1000000);
        return name;
    }
    static inline std::wstring lastJob_;
    SettingsUnit::TPrintOffsets saved_;
};

TEST_F(SheetPrint, PageOneValuesLandInTheirBoxesAndMoveByTheOffsets) {
    MainForm->control(L"edSurName")->focus();
    pump();
    type(Surname());
    MainForm->control(L"edEntry1")->focus();
    pump();
    press(VK_END);
    type(L" ЭПМ");
    auto page = printSheet1();
    ASSERT_TRUE(page) << "no PDF came back";
    // The job is named after the surname and the page.
    EXPECT_EQ(lastJob_.rfind(JobOfPage(1), 0), 0u) << ui::toUtf8(lastJob_);
    // RlbTown: centred in the box whose left edge is 150.8 mm and top 33.6 mm.
    auto town = spanOf(*page, {"г.", "Заречинск"});
    ASSERT_TRUE(town);
    EXPECT_NEAR((town->left + town->right) / 2, (570 + 110) * kPxMm, 0.2);
    expectTop(town->top, 127 * kPxMm, 11);
    EXPECT_NEAR(570 * kPxMm, 150.8, 0.05);
    // RlbSurName centred at 365 px; RlbEntry1 left-aligned from 160 px.
    const std::string surname = ui::toUtf8(Surname());
    auto sur = spanOf(*page, {surname});
    ASSERT_TRUE(sur);
    EXPECT_NEAR((sur->left + sur->right) / 2, 365 * kPxMm, 0.2);
    expectTop(sur->top, 50 * kPxMm, 11);
    auto entry = spanOf(*page, {"Заречинский", "ЭПМ"});
    ASSERT_TRUE(entry);
    const pdfwords::Word* entryWord = nullptr;
    for (const auto& w : page->words)
        if (w.text == "ЭПМ") entryWord = &w;
    ASSERT_TRUE(entryWord);
    double entryTop = pdfwords::PointsToMm(entryWord->yMin);
    expectTop(entryTop, 234 * kPxMm, 10);

    // Offsets set as the dialog would set them, then a second print.
    SettingsUnit::PrintOffsets.DeltaX1 = 10;
    SettingsUnit::PrintOffsets.DeltaY1 = -4;
    auto moved = printSheet1();
    ASSERT_TRUE(moved);
    auto town2 = spanOf(*moved, {"г.", "Заречинск"});
    auto sur2 = spanOf(*moved, {surname});
    ASSERT_TRUE(town2 && sur2);
    EXPECT_NEAR(town2->left - town->left, 10 * kPxMm, 0.1);
    EXPECT_NEAR(town2->top - town->top, -4 * kPxMm, 0.1);
    EXPECT_NEAR(sur2->left - sur->left, 2.65, 0.1);
    EXPECT_NEAR(sur2->top - sur->top, -1.06, 0.1);
    // And the labels are back at their base for the next rendering.
    EXPECT_NEAR(static_cast<double>(SetReport::BlankoSheet1->label(L"RlbTown")->Size.NativeValue(
                    rep::TRepPrintableSize::LeftValue)),
                1508.125, 1e-6);
    auto again = printSheet1();
    ASSERT_TRUE(again);
    auto town3 = spanOf(*again, {"г.", "Заречинск"});
    ASSERT_TRUE(town3);
    EXPECT_NEAR(town3->left, town2->left, 0.05);
    EXPECT_NEAR(town3->top, town2->top, 0.05);
}

TEST_F(SheetPrint, PageTwoRowsAndColumns) {
    MainForm->DynControls(23)->setText(L"Экономика");
    MainForm->DynControls(63)->setText(L"120");
    MainForm->combo(L"cbMark1").setItemIndex(7);
    MainForm->DynControls(62)->setText(L"Право");
    MainForm->edit(L"edSurName").setText(Surname());
    auto printed = printSheet(SetReport2::BlankoSheet2->Report1, &MainSet::TMainForm::mnPrintSheet2Click);
    ASSERT_TRUE(printed) << "no PDF came back";
    EXPECT_EQ(lastJob_.rfind(JobOfPage(2), 0), 0u) << ui::toUtf8(lastJob_);
    const auto& page = *printed;
    auto d = spanOf(page, {"Экономика"});
    auto h = spanOf(page, {"120"});
    auto m = spanOf(page, {"отлично"});
    auto last = spanOf(page, {"Право"});
    ASSERT_TRUE(d && h && m && last);
    expectTop(d->top, 41.0, 10);
    EXPECT_NEAR(d->left, 17.2, 0.2);
    EXPECT_NEAR((h->left + h->right) / 2, 153.5, 0.2);
    EXPECT_NEAR(m->left, 172.0, 0.2);
    EXPECT_NEAR(last->top - d->top, 185.7, 0.1);
}

}  // namespace
