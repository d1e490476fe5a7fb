// The two sheets rendered from the main window's fields at the print offsets: what lands
// on the recorded page, and that every label returns to its base afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdint>
#include <map>

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "sheets/sheet_title.h"
#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "shell/offsets/print_offsets.h"
#include "tests/gui/gui_util.h"
#include "tests/win/page_pictures.h"
#include "ui/timer.h"
#include "ui/utf8.h"

using MainSet::MainForm;

namespace {

struct Word {
    std::wstring text;
    POINT at;  // reference point, screen pixels of the page
};

// Runs a preview of the report and returns the texts of its one page.
std::vector<Word> renderPage(rep::TReport& report) {
    std::vector<Word> words;
    report.OnPreview = [&](rep::TRepPrinter& p) { p.SetShowingPreview(true); };
    auto prev = report.OnStartPage;
    report.OnStartPage = [&](rep::TReport& r) {
        rep::TRepPrinter* printer = r.RepPrinter();
        prev(r);
        // Runs from the preview's message loop, once the page is complete.
        ui::Application::get().post([&words, printer] {
            for (const auto& t : pagetest::ContentOf(printer->GetPage(1).get()).texts)
                words.push_back(Word{t.text, {t.reference.x, t.reference.y}});
            printer->SetShowingPreview(false);
        });
    };
    report.Preview();
    report.OnStartPage = prev;
    return words;
}

const Word* find(const std::vector<Word>& words, const std::wstring& text) {
    for (const auto& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

class Sheets : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = SettingsUnit::PrintOffsets;
        SettingsUnit::PrintOffsets = {};
        ui::Application::get().resetTerminated();
        Program::CreateForms();
    }
    void TearDown() override {
        Program::DestroyForms();
        SettingsUnit::PrintOffsets = saved_;
        // A quit asked for by a test stays queued for the next one otherwise.
        ui::Application::get().resetTerminated();
        guitest::discardMessages();
    }
    SettingsUnit::TPrintOffsets saved_;
};

TEST_F(Sheets, PageOneValuesLandAtTheTablePositions) {
    MainForm->edit(L"edSurName").setText(L"Иванов");
    MainForm->DynControls(5)->setText(L"Курсовая работа по экономике");
    MainForm->DynControls(1)->setText(L"бухгалтер");
    auto words = renderPage(SetReport::BlankoSheet1->Report1);
    struct Expect {
        const wchar_t* text;
        int x, y;
    };
    // Centred labels anchor at left + width / 2; left-aligned ones at their left (96 dpi).
    const Expect expected[] = {
        {L"г. Заречинск", 570 + 110, 127},
        {L"Иванов", 190 + 175, 50},
        {L"Заречинский Техникум", 570 + 110, 148},
        {L"прошел", 220 + 40, 208},
        {L"Заречинский Техникум", 570 + 110, 148},
        {L"Курсовая работа по экономике", 40, 464},
        {L"бухгалтер", 570 + 110, 630},
    };
    for (const auto& e : expected) {
        const Word* w = find(words, e.text);
        ASSERT_NE(w, nullptr) << ui::toUtf8(e.text);
        EXPECT_NEAR(w->at.x, e.x, 1) << ui::toUtf8(e.text);
        EXPECT_EQ(w->at.y, e.y) << ui::toUtf8(e.text);
    }
    EXPECT_EQ(find(words, L"RlbTown"), nullptr);
}

TEST_F(Sheets, PageOneOffsetsMoveEveryLabelOnceAndAreUndoneAfterThePreview) {
    auto& sheet = *SetReport::BlankoSheet1;
    rep::TRepLabel* town = sheet.label(L"RlbTown");
    long double left0 = town->Size.NativeValue(rep::TRepPrintableSize::LeftValue);
    long double top0 = town->Size.NativeValue(rep::TRepPrintableSize::TopValue);
    EXPECT_NEAR(static_cast<double>(left0), 1508.125, 1e-9);
    long double exam0 = sheet.RlbExamMore[0]->Size.NativeValue(rep::TRepPrintableSize::TopValue);
    SettingsUnit::PrintOffsets.DeltaX1 = 10;
    SettingsUnit::PrintOffsets.DeltaY1 = -4;
    MainForm->DynControls(13)->setText(L"Экзамен");
    for (int pass = 0; pass < 2; ++pass) {
        auto words = renderPage(sheet.Report1);
        const Word* t = find(words, L"г. Заречинск");
        ASSERT_NE(t, nullptr);
        EXPECT_NEAR(t->at.x, 680 + 10, 1);
        EXPECT_EQ(t->at.y, 127 - 4);
        const Word* e = find(words, L"Экзамен");
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->at.x, 40 + 10);
        EXPECT_EQ(e->at.y, 846 - 4);
        // Back at the base after each preview.
        EXPECT_NEAR(static_cast<double>(town->Size.NativeValue(rep::TRepPrintableSize::LeftValue)),
                    static_cast<double>(left0), 1e-9);
        EXPECT_NEAR(static_cast<double>(town->Size.NativeValue(rep::TRepPrintableSize::TopValue)),
                    static_cast<double>(top0), 1e-9);
        EXPECT_NEAR(static_cast<double>(sheet.RlbExamMore[0]->Size.NativeValue(rep::TRepPrintableSize::TopValue)),
                    static_cast<double>(exam0), 1e-9);
    }
}

TEST_F(Sheets, WordsBeyondAFixedBoxAreNotPrinted) {
    MainForm->edit(L"edName").setText(std::wstring(L"Иван ") + std::wstring(60, L'Ш') + L" Петрович");
    auto words = renderPage(SetReport::BlankoSheet1->Report1);
    EXPECT_NE(find(words, L"Иван"), nullptr);
    EXPECT_EQ(find(words, L"Петрович"), nullptr);
}

TEST_F(Sheets, PageTwoRowsColumnsAndOffsets) {
    MainForm->DynControls(23)->setText(L"Экономика");
    MainForm->DynControls(63)->setText(L"120");
    MainForm->combo(L"cbMark1").setItemIndex(7);
    MainForm->DynControls(62)->setText(L"Право");
    auto words = renderPage(SetReport2::BlankoSheet2->Report1);
    const Word* d = find(words, L"Экономика");
    const Word* h = find(words, L"120");
    const Word* m = find(words, L"отлично");
    const Word* last = find(words, L"Право");
    ASSERT_TRUE(d && h && m && last);
    EXPECT_EQ(d->at.x, 65);
    EXPECT_EQ(d->at.y, 155);
    EXPECT_EQ(h->at.x, 580);  // centred in 540 + 80 / 2
    EXPECT_EQ(m->at.x, 650);
    EXPECT_EQ(last->at.y, 155 + 18 * 39);

    SettingsUnit::PrintOffsets.DeltaX2 = -10;
    SettingsUnit::PrintOffsets.DeltaXColumn2 = 5;
    SettingsUnit::PrintOffsets.DeltaXColumn3 = 10;
    SettingsUnit::PrintOffsets.DeltaY2 = 3;
    words = renderPage(SetReport2::BlankoSheet2->Report1);
    d = find(words, L"Экономика");
    h = find(words, L"120");
    m = find(words, L"отлично");
    ASSERT_TRUE(d && h && m);
    EXPECT_EQ(d->at.x, 55);
    EXPECT_EQ(h->at.x, 575);
    EXPECT_EQ(m->at.x, 650);
    EXPECT_EQ(d->at.y, 158);
}

// A hand-edited settings file can hold any 32-bit values. Those that can put no label on
// the paper count as bad values: both pages are then laid out with the defaults of all seven.
TEST_F(Sheets, OffsetsThatPutNoLabelOnThePaperGiveTheDefaults) {
    using Offsets = SettingsUnit::TPrintOffsets;
    constexpr std::int32_t kMax = INT32_MAX, kMin = INT32_MIN;
    MainForm->edit(L"edTown").setText(L"Город");
    MainForm->DynControls(23)->setText(L"Экономика");
    MainForm->DynControls(63)->setText(L"120");
    MainForm->combo(L"cbMark1").setItemIndex(7);
    struct Case {
        const char* what;
        Offsets offsets;
        bool applied;
    };
    // Fields: DeltaX1, DeltaX2, DeltaY1, DeltaY2, DeltaXColumn2, DeltaXColumn3, FontSizeColumn3.
    const Case cases[] = {
        {"column sums beyond 32 bits", {0, kMax, 0, 0, kMax, kMax, 12}, false},
        {"column sums below 32 bits", {0, kMin, 0, 0, kMin, kMin, 12}, false},
        {"a column moved a paper width", {0, 20, 0, 0, 0, 774, 12}, false},
        {"a page moved a paper length", {0, 20, 0, 1123, 0, 0, 12}, false},
        {"a font taller than the paper", {0, 20, 0, 0, 0, 0, 900}, false},
        {"page 1 moved off the paper", {kMin, 20, 0, 0, 0, 0, 12}, false},
        {"page 1 moved down off the paper", {0, 20, kMax, 0, 0, 0, 12}, false},
        {"large but on the paper", {0, 500, 0, -150, -400, -450, 12}, true},
        {"the dialog's limits", {200, 200, -200, 200, 200, 200, -200}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsUnit::PrintOffsets = c.offsets;
        const Offsets o = c.applied ? c.offsets : Offsets{};
        auto two = renderPage(SetReport2::BlankoSheet2->Report1);
        const Word* d = find(two, L"Экономика");
        const Word* h = find(two, L"120");
        const Word* m = find(two, L"отлично");
        ASSERT_TRUE(d && h && m);
        EXPECT_EQ(d->at.x, 65 + o.DeltaX2);
        EXPECT_EQ(d->at.y, 155 + o.DeltaY2);
        EXPECT_EQ(h->at.x, 580 + o.DeltaX2 + o.DeltaXColumn2);
        EXPECT_EQ(m->at.x, 650 + o.DeltaX2 + o.DeltaXColumn3);
        EXPECT_EQ(SetReport2::BlankoSheet2->RlbMark[0]->Font().Size, o.FontSizeColumn3);
        auto one = renderPage(SetReport::BlankoSheet1->Report1);
        const Word* t = find(one, L"Город");
        ASSERT_NE(t, nullptr);
        EXPECT_NEAR(t->at.x, 680 + o.DeltaX1, 1);
        EXPECT_EQ(t->at.y, 127 + o.DeltaY1);
        // The values as loaded stay as they are; only the layout falls back.
        EXPECT_EQ(SettingsUnit::PrintOffsets, c.offsets);
    }
}

TEST_F(Sheets, ColumnThreeFontSizeStaysWhenTheSettingIsZero) {
    auto& sheet = *SetReport2::BlankoSheet2;
    MainForm->combo(L"cbMark1").setItemIndex(11);
    SettingsUnit::PrintOffsets.FontSizeColumn3 = 14;
    renderPage(sheet.Report1);
    EXPECT_EQ(sheet.RlbMark[0]->Font().Size, 14);
    EXPECT_EQ(sheet.RlbDiscipline[0]->Font().Size, 10);
    SettingsUnit::PrintOffsets.FontSizeColumn3 = 0;
    renderPage(sheet.Report1);
    EXPECT_EQ(sheet.RlbMark[0]->Font().Size, 14);
}

TEST_F(Sheets, ReleasedLabelsAreNeverTouchedAgain) {
    auto& sheet = *SetReport::BlankoSheet1;
    size_t before = sheet.Report1.Printables().size();
    EXPECT_EQ(before, 55u);
    sheet.FormClose();
    EXPECT_EQ(sheet.Report1.Printables().size(), 33u);
    auto words = renderPage(sheet.Report1);
    EXPECT_NE(find(words, L"г. Заречинск"), nullptr);
    SetReport2::BlankoSheet2->FormClose();
    EXPECT_TRUE(SetReport2::BlankoSheet2->Report1.Printables().empty());
    renderPage(SetReport2::BlankoSheet2->Report1);
}

TEST_F(Sheets, TitlesNameTheSurnameAndThePageWithinTheSpoolersLength) {
    const std::wstring program = L"Приложение к Диплому";
    const struct {
        const wchar_t* surname;
        int page;
        const wchar_t* title;
    } cases[] = {
        {L"Иванов", 1, L"Иванов, стр. 1 - Приложение к Диплому"},
        {L"  Петрова \t", 2, L"Петрова, стр. 2 - Приложение к Диплому"},
        {L"", 2, L"стр. 2 - Приложение к Диплому"},
        {L"   ", 1, L"стр. 1 - Приложение к Диплому"},
        // 31 characters hold the page: a longer surname is cut.
        {L"Римская-Корсакова-Иванова", 2, L"Римская-Корсакова-Ивано, стр. 2 - Приложение к Диплому"},
        {L"Корсакова-Римская-Иван Ли", 1, L"Корсакова-Римская-Иван, стр. 1 - Приложение к Диплому"},
        {L"Константинопольский Александр", 1, L"Константинопольский, стр. 1 - Приложение к Диплому"},
        {L"Иванов Иван Иванович", 12, L"Иванов Иван Иванович, стр. 12 - Приложение к Диплому"},
    };
    for (const auto& c : cases) {
        const std::wstring title = SetReportCommon::SheetTitle(c.surname, c.page, program);
        EXPECT_EQ(title, c.title) << ui::toUtf8(c.surname);
        EXPECT_NE(title.substr(0, 31).find(L"стр. " + std::to_wstring(c.page)), std::wstring::npos);
    }
}

// Each print command opens its preview named after the surname and the page; a print from
// it takes the same name.
TEST_F(Sheets, PreviewsAreNamedAfterTheSurnameAndThePage) {
    MainForm->show();
    struct Sheet {
        rep::TReport* report;
        void (MainSet::TMainForm::*command)();
        const wchar_t* surname;
        std::wstring want;
    };
    Sheet sheets[] = {
        {&SetReport::BlankoSheet1->Report1, &MainSet::TMainForm::mnPrintSheet1Click, L"Иванов",
         L"Иванов, стр. 1 - Приложение к Диплому"},
        {&SetReport2::BlankoSheet2->Report1, &MainSet::TMainForm::mnPrintSheet2Click, L"Петрова",
         L"Петрова, стр. 2 - Приложение к Диплому"},
    };
    for (Sheet& sheet : sheets) {
        MainForm->edit(L"edSurName").setText(sheet.surname);
        sheet.report->ShowProgress = false;
        std::wstring caption, printerTitle;
        ui::Timer poll(100, [&] {
            rep::TRepPrinter* p = sheet.report->RepPrinter();
            rep::TRepStandardPreview* w = p ? rep::StandardPreviewOf(*p) : nullptr;
            if (!w || !caption.empty()) return;
            caption = w->text();
            printerTitle = p->Title;
            w->close();
        });
        poll.start();
        (MainForm->*sheet.command)();
        poll.stop();
        EXPECT_EQ(caption, sheet.want);
        EXPECT_EQ(printerTitle, sheet.want);
        EXPECT_EQ(sheet.report->ReportTitle, sheet.want);
    }
}

// The secretary leaves the program from the main window while a preview is still open: the
// preview window closes before its report printer goes, and the sheet is back at its base.
TEST_F(Sheets, QuittingWithAPreviewOpenClosesTheWindowFirst) {
    auto& sheet = *SetReport::BlankoSheet1;
    sheet.Report1.ShowProgress = false;
    SettingsUnit::PrintOffsets.DeltaX1 = 10;
    rep::TRepLabel* town = sheet.label(L"RlbTown");
    const long double left0 = town->Size.NativeValue(rep::TRepPrintableSize::LeftValue);
    MainForm->show();
    bool quitAsked = false, offsetWhileShown = false;
    HWND preview = nullptr;
    ui::Timer poll(100, [&] {
        rep::TRepPrinter* p = sheet.Report1.RepPrinter();
        rep::TRepStandardPreview* w = p ? rep::StandardPreviewOf(*p) : nullptr;
        if (quitAsked || !w || p->Status() != rep::stFinished || !w->RepPreview->Image().HasPage()) return;
        quitAsked = true;
        preview = w->hwnd();
        offsetWhileShown = town->Size.NativeValue(rep::TRepPrintableSize::LeftValue) != left0;
        PostMessageW(MainForm->hwnd(), WM_COMMAND, MainForm->menuId(L"mnExit"), 0);
    });
    poll.start();
    MainForm->mnPrintSheet1Click();
    poll.stop();
    ASSERT_TRUE(quitAsked) << "the preview did not come up";
    EXPECT_TRUE(offsetWhileShown);
    EXPECT_TRUE(ui::Application::get().terminated());
    EXPECT_EQ(MainForm->hwnd(), nullptr);
    EXPECT_FALSE(IsWindow(preview));
    EXPECT_EQ(sheet.Report1.RepPrinter(), nullptr);
    EXPECT_NEAR(static_cast<double>(town->Size.NativeValue(rep::TRepPrintableSize::LeftValue)),
                static_cast<double>(left0), 1e-9);
}

}  // namespace
