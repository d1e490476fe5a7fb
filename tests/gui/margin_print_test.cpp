// Printers that do not print the edge of the sheet: the queue PDFM declares 6 mm at the left
// and 12 mm at the top unprintable. A page printed there, whether PDFM is chosen in the
// preview or is the default printer, must put every word where the margin-free queue puts
// it, and a value in that margin is named before the blank goes in.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <cmath>
#include <memory>

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "sheets/blank_guard.h"
#include "sheets/set_report.h"
#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "shell/offsets/print_offsets.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/gui_util.h"
#include "tests/win/pdf_words.h"
#include "ui/printer.h"
#include "ui/timer.h"
#include "ui/utf8.h"

using MainSet::MainForm;
using namespace guitest;

namespace {

constexpr const wchar_t* kMarginQueue = L"PDFM";

int indexOf(const std::wstring& printer) {
    const auto& list = ui::applicationPrinter().printers();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].name == printer) return static_cast<int>(i);
    return -1;
}

std::wstring defaultPrinter() {
    wchar_t name[256] = {};
    DWORD size = 256;
    return GetDefaultPrinterW(name, &size) ? name : L"";
}

class SheetPrintMargins : public ::testing::Test {
protected:
    void SetUp() override {
        if (printer_env::NoPrinterRun()) GTEST_SKIP() << "no printer in this run";
        if (indexOf(kMarginQueue) < 0) GTEST_SKIP() << "no queue PDFM (scripts/printer.sh adds it)";
        savedOffsets_ = SettingsUnit::PrintOffsets;
        SettingsUnit::PrintOffsets = {};
        savedDefault_ = defaultPrinter();
        ui::Application::get().resetTerminated();
        Program::CreateForms();
        MainForm->show();
        activate(MainForm->hwnd());
        MainForm->edit(L"edSurName").setText(Surname());
        MainForm->edit(L"edTown").setText(L"г. Заречинск");
        MainForm->edit(L"edEntry2").setText(L"Заречинский политехнический техникум");
        MainForm->DynControls(13)->setText(L"Информатика");
    }
    void TearDown() override {
        SetReportCommon::AskPrintAsItIsHook = nullptr;
        if (!savedDefault_.empty()) SetDefaultPrinterW(savedDefault_.c_str());
        ui::applicationPrinter().refresh();
        Program::DestroyForms();
        SettingsUnit::PrintOffsets = savedOffsets_;
        discardMessages();
    }
    static const std::wstring& Surname() {
        static const std::wstring name = L"Margin" + std::to_wstring(GetTickCount() % 1000000);
        return name;
    }
    // Opens sheet 1's preview; `inPreview` runs once its page is there (it may choose another
    // printer through the print dialog); then Print, and the one page of the job comes back.
    static std::optional<pdfwords::Page> print(const std::function<void(rep::TRepStandardPreview&)>& inPreview = {}) {
        const std::wstring prefix = Surname() + L"_";
        printer_env::DeletePdfs(prefix);
        rep::TReport& report = SetReport::BlankoSheet1->Report1;
        report.ShowProgress = false;
        bool printed = false;
        ui::Timer poll(50, [&] {
            rep::TRepPrinter* p = report.RepPrinter();
            rep::TRepStandardPreview* w = p ? rep::StandardPreviewOf(*p) : nullptr;
            if (!w || p->Status() != rep::stFinished || printed) return;
            printed = true;
            if (inPreview) inPreview(*w);
            w->PrintClick();
            w->close();
        });
        poll.start();
        MainForm->mnPrintSheet1Click();
        poll.stop();
        if (!printed) return std::nullopt;
        return pdfwords::TakeOnePageJob(prefix);
    }
    // Chooses the printer in the preview's own print dialog, as she does.
    static void chooseInPreview(rep::TRepStandardPreview& w, const std::wstring& printer) {
        constexpr int kPrinterCombo = 0x473;  // cmb4
        Script script({[] { return findSystemDialog() != nullptr; },
                       [printer] {
                           HWND dlg = findSystemDialog();
                           HWND combo = GetDlgItem(dlg, kPrinterCombo);
                           const LRESULT i = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                          reinterpret_cast<LPARAM>(printer.c_str()));
                           if (i == CB_ERR) return false;
                           SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
                           SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(kPrinterCombo, CBN_SELCHANGE),
                                        reinterpret_cast<LPARAM>(combo));
                           PostMessageW(dlg, WM_COMMAND, IDOK, 0);
                           return true;
                       }});
        w.PrintSetupClick();
        EXPECT_TRUE(script.finished()) << "the print dialog did not come up";
    }
    SettingsUnit::TPrintOffsets savedOffsets_;
    std::wstring savedDefault_;
};

void expectSameWords(const pdfwords::Page& got, const pdfwords::Page& want, const char* what) {
    ASSERT_EQ(got.words.size(), want.words.size()) << what;
    ASSERT_FALSE(want.words.empty());
    for (std::size_t i = 0; i < want.words.size(); ++i) {
        EXPECT_EQ(got.words[i].text, want.words[i].text) << what;
        EXPECT_NEAR(pdfwords::PointsToMm(got.words[i].xMin), pdfwords::PointsToMm(want.words[i].xMin), 0.1) << what;
        EXPECT_NEAR(pdfwords::PointsToMm(got.words[i].yMin), pdfwords::PointsToMm(want.words[i].yMin), 0.1) << what;
        EXPECT_NEAR(pdfwords::PointsToMm(got.words[i].xMax), pdfwords::PointsToMm(want.words[i].xMax), 0.1) << what;
    }
}

TEST_F(SheetPrintMargins, WordsLandAsOnTheMarginFreeQueueChosenInThePreviewLaterAndAsDefault) {
    SettingsUnit::PrintOffsets.DeltaX1 = 5;
    SettingsUnit::PrintOffsets.DeltaY1 = 3;
    const auto plain = print();
    ASSERT_TRUE(plain) << "no PDF from the margin-free queue";

    // Chosen in the preview: the page is laid out again for it before Print.
    const auto chosen = print([](rep::TRepStandardPreview& w) { chooseInPreview(w, kMarginQueue); });
    ASSERT_TRUE(chosen) << "no PDF from PDFM chosen in the preview";
    expectSameWords(*chosen, *plain, "PDFM chosen in the preview");

    // It stays chosen for the next preview, and places as well there.
    const auto later = print();
    ASSERT_TRUE(later);
    expectSameWords(*later, *plain, "PDFM kept for the next preview");

    // The default printer, with no choice made.
    SetReport::BlankoSheet1->Report1.PrinterSettings.PrinterIndex = -1;
    ASSERT_TRUE(SetDefaultPrinterW(kMarginQueue));
    ui::applicationPrinter().refresh();
    const auto asDefault = print();
    ASSERT_TRUE(asDefault) << "no PDF from PDFM as the default printer";
    expectSameWords(*asDefault, *plain, "PDFM as the default");
}

TEST_F(SheetPrintMargins, AValueInThePrintersMarginIsNamedAndTheCheckMeasuresAsItPrints) {
    // Page 1 moved 6 mm left: the left column's values begin 4.6 mm from the edge, on the
    // paper but where PDFM does not print.
    SettingsUnit::PrintOffsets.DeltaX1 = -23;
    const std::wstring entry = L"Колледж электроники и приборостроения имени В. В. Петрова";
    MainForm->edit(L"edEntry2").setText(entry);
    std::vector<std::wstring> asked;
    SetReportCommon::AskPrintAsItIsHook = [&](const std::wstring& q) {
        asked.push_back(q);
        return true;
    };
    std::wstring plainNotice, marginNotice;
    const auto plain = print([&](rep::TRepStandardPreview& w) { plainNotice = w.NoticeText(); });
    ASSERT_TRUE(plain);
    EXPECT_EQ(plainNotice, L"");
    EXPECT_TRUE(asked.empty());

    // The check's width of the value is its printed width: the label as laid out for the
    // print, measured for the printer it printed on.
    rep::TRepLabel* label = SetReport::BlankoSheet1->label(L"RlbEntry2");
    ASSERT_TRUE(label);
    const pdfwords::Word* first = plain->Find("Колледж");
    const pdfwords::Word* last = plain->Find("Петрова");
    ASSERT_TRUE(first && last);
    {
        rep::TRepPrinter probe;
        const rep::TRepLanding landing = rep::LandingOf(*label, probe.PrintArea());
        EXPECT_NEAR(static_cast<double>(landing.Text.Right - landing.Text.Left) / 10,
                    pdfwords::PointsToMm(last->xMax - first->xMin), 0.2);
    }

    const auto margin = print([&](rep::TRepStandardPreview& w) {
        chooseInPreview(w, kMarginQueue);
        marginNotice = w.NoticeText();
    });
    ASSERT_TRUE(margin);
    EXPECT_NE(marginNotice.find(L"«Поступил(а) в», строка 2: заходит на край листа, где принтер не печатает"),
              std::wstring::npos)
        << ui::toUtf8(marginNotice);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find(L"заходит на край листа, где принтер не печатает"), std::wstring::npos);
    // Printed as she allowed: at the same place as on the margin-free queue.
    expectSameWords(*margin, *plain, "PDFM with a value in its margin");
}

}  // namespace
