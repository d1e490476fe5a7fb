// Values that would spoil a blank: the list the secretary is shown for each sheet, the
// shrinking she may allow, the question before a print, and the scanned blank that only
// the preview draws under the page.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>

#include "report/export/ascii_export_filter.h"
#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "sheets/blank_guard.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "shell/offsets/blank_settings.h"
#include "shell/offsets/print_offsets.h"
#include "tests/gui/gui_util.h"
#include "tests/win/host_files.h"
#include "tests/win/page_pictures.h"
#include "ui/cp1251.h"
#include "ui/error.h"
#include "ui/metafile.h"
#include "ui/picture_file.h"
#include "ui/utf8.h"

using MainSet::MainForm;

namespace {

struct Seen {
    std::wstring notice;
    std::vector<rep::TRepNativeRect> marks;
    bool underlay = false;
    ui::EnhMetaFile page;
    std::vector<std::wstring> texts;
};

// Opens the report's preview as the print command does, lets `act` work on the window once
// the page is complete (it may close it), and closes it otherwise.
Seen previewOf(rep::TReport& report, const std::function<void(rep::TRepStandardPreview&)>& act = {}) {
    Seen seen;
    auto prev = report.OnStartPage;
    bool posted = false;
    report.OnStartPage = [&](rep::TReport& r) {
        rep::TRepPrinter* printer = r.RepPrinter();
        prev(r);
        if (posted || !printer) return;
        posted = true;
        ui::Application::get().post([&seen, &act, printer] {
            rep::TRepStandardPreview* w = rep::StandardPreviewOf(*printer);
            if (!w) return;
            seen.notice = w->Notice->text();
            seen.marks = w->RepPreview->Marks();
            seen.underlay = w->RepPreview->Underlay() != nullptr;
            seen.page = printer->GetPage(1);
            for (const auto& t : pagetest::ContentOf(seen.page.get()).texts) seen.texts.push_back(t.text);
            if (act) act(*w);
            if (rep::StandardPreviewOf(*printer)) w->ExitClick();
        });
    };
    report.Preview();
    report.OnStartPage = prev;
    guitest::discardMessages();
    return seen;
}

bool contains(const std::wstring& s, const std::wstring& part) { return s.find(part) != std::wstring::npos; }

class BlankCheck : public ::testing::Test {
protected:
    void SetUp() override {
        savedOffsets_ = SettingsUnit::PrintOffsets;
        savedBlanks_ = SettingsUnit::BlankSettings;
        SettingsUnit::PrintOffsets = {};
        SettingsUnit::BlankSettings = {};
        ui::Application::get().resetTerminated();
        Program::CreateForms();
    }
    void TearDown() override {
        Program::DestroyForms();
        SettingsUnit::PrintOffsets = savedOffsets_;
        SettingsUnit::BlankSettings = savedBlanks_;
        SetReportCommon::AskPrintAsItIsHook = nullptr;
        ui::Application::get().resetTerminated();
        guitest::discardMessages();
    }
    static void fillPage1() {
        MainForm->edit(L"edSurName").setText(L"Иванов");
        MainForm->edit(L"edName").setText(L"Пётр Сергеевич");
        MainForm->edit(L"edPresentDate").setText(L"15.06.2026");
        MainForm->DynControls(5)->setText(L"Экономика организации");
    }
    static void grade(int row, const wchar_t* text) { MainForm->combo(L"cbMark" + std::to_wstring(row)).setText(text); }

    SettingsUnit::TPrintOffsets savedOffsets_;
    SettingsUnit::TBlankSettings savedBlanks_;
};

TEST_F(BlankCheck, ValuesThatFitGiveNoEntryOnEitherSheet) {
    fillPage1();
    MainForm->edit(L"edPrevDocum1").setText(L"Аттестат");
    Seen one = previewOf(SetReport::BlankoSheet1->Report1);
    EXPECT_EQ(one.notice, L"");
    EXPECT_TRUE(one.marks.empty());

    // "3 (удовлетворительно)" ends 0.01 mm short of the paper's edge on a printer that prints
    // to the edge: too close to call, and every real printer cuts it.
    MainForm->DynControls(23)->setText(L"Математика");
    grade(1, L"4 (хорошо)");
    Seen two = previewOf(SetReport2::BlankoSheet2->Report1);
    EXPECT_EQ(two.notice, L"");
}

TEST_F(BlankCheck, ACutValueAndACourseWorkOverTheCommissionDateAreNamed) {
    fillPage1();
    MainForm->edit(L"edPrevDocum1").setText(L"Аттестат о среднем (полном) общем образовании");
    MainForm->DynControls(7)->setText(
        L"Разработка автоматизированной системы учёта материальных ценностей предприятия розничной торговли");
    Seen seen = previewOf(SetReport::BlankoSheet1->Report1);
    EXPECT_TRUE(contains(seen.notice, L"«Документ о предшествующем уровне образования», строка 1: не помещается в "
                                      L"графу, часть слов не будет напечатана"))
        << seen.notice;
    EXPECT_TRUE(contains(seen.notice, L"«Курсовые проекты (работы)», строка 3: заходит на «Решением Государственной "
                                      L"аттестационной комиссии от»"))
        << seen.notice;
    // Nothing else: the surname, name, date and first course work sit in their boxes.
    EXPECT_EQ(seen.marks.size(), 2u) << seen.notice;
    // The words that do not fit are the ones the page loses.
    bool cut = false;
    for (const auto& t : seen.texts) cut |= t == L"Аттестат о среднем (полном)";
    EXPECT_TRUE(cut);
}

TEST_F(BlankCheck, AStandardGradeAtTwelvePointsRunsPastThePaperEdge) {
    SettingsUnit::PrintOffsets.FontSizeColumn3 = 12;
    MainForm->DynControls(27)->setText(L"Физика");
    grade(5, L"3 (удовлетворительно)");
    Seen seen = previewOf(SetReport2::BlankoSheet2->Report1);
    EXPECT_EQ(seen.notice,
              L"Испортят бланк (весь список — F2): «Итоговая оценка» в строке 5 на странице 2: выходит за край бумаги");
    ASSERT_EQ(seen.marks.size(), 1u);
    // Its text would end 7 mm past the 210-mm edge: a printed page loses "но)" there.
    rep::TReport& report = SetReport2::BlankoSheet2->Report1;
    EXPECT_NEAR(rep::LandingOf(*SetReport2::BlankoSheet2->RlbMark[4], rep::PaperOnly(report)).Text.Right, 2173, 10);
}

TEST_F(BlankCheck, ShrinkingFitsTheGradeAndSaysSo) {
    SettingsUnit::BlankSettings.ShrinkToFit = true;
    SettingsUnit::PrintOffsets.FontSizeColumn3 = 12;
    grade(5, L"3 (удовлетворительно)");
    MainForm->edit(L"edPrevDocum1").setText(L"Аттестат о среднем (полном) общем образовании");
    Seen two = previewOf(SetReport2::BlankoSheet2->Report1);
    EXPECT_TRUE(contains(two.notice, L"«Итоговая оценка» в строке 5 на странице 2: шрифт уменьшен до "))
        << two.notice;
    EXPECT_FALSE(contains(two.notice, L"Испортят")) << two.notice;
    EXPECT_TRUE(two.marks.empty());
    // The page carries the shrunk size: a font smaller than 12 pt (16 px) for the grade.
    bool smaller = false;
    for (const auto& f : pagetest::ContentOf(two.page.get()).fonts) smaller |= f.height > -16 && f.height <= -10;
    EXPECT_TRUE(smaller);
    // The shrunk size does not outlive the page: without the setting the grade is too long.
    SettingsUnit::BlankSettings.ShrinkToFit = false;
    EXPECT_TRUE(contains(previewOf(SetReport2::BlankoSheet2->Report1).notice, L"выходит за край бумаги"));
    SettingsUnit::BlankSettings.ShrinkToFit = true;

    // A value that stays too long even at 8 pt is named as spoiling, at its own size: smaller
    // letters would only spoil the blank less visibly.
    Seen one = previewOf(SetReport::BlankoSheet1->Report1);
    EXPECT_TRUE(contains(one.notice, L"Испортят бланк")) << one.notice;
    EXPECT_TRUE(contains(one.notice, L"«Документ о предшествующем уровне образования», строка 1: не помещается"))
        << one.notice;
    EXPECT_FALSE(contains(one.notice, L"pt")) << one.notice;
    EXPECT_EQ(SetReport::BlankoSheet1->label(L"RlbPrevDocum1")->ShrunkSize(), 0);
}

TEST_F(BlankCheck, AtFourteenPointsTheRowThatRunsIntoTheNextIsTheOneShrunk) {
    SettingsUnit::BlankSettings.ShrinkToFit = true;
    SettingsUnit::PrintOffsets.FontSizeColumn3 = 14;
    for (int row : {3, 4}) {
        MainForm->DynControls(22 + row)->setText(L"Физика");
        grade(row, L"5 (отлично)");
    }
    Seen two = previewOf(SetReport2::BlankoSheet2->Report1);
    // Row 3's letters are taller than the row's pitch and run down into row 4.
    EXPECT_TRUE(contains(two.notice, L"«Итоговая оценка» в строке 3 на странице 2: шрифт уменьшен до ")) << two.notice;
    EXPECT_FALSE(contains(two.notice, L"в строке 4")) << two.notice;
    EXPECT_GT(SetReport2::BlankoSheet2->RlbMark[2]->ShrunkSize(), 0);
    EXPECT_EQ(SetReport2::BlankoSheet2->RlbMark[3]->ShrunkSize(), 0);
}

TEST_F(BlankCheck, TheWholeNoticeIsShownByF2OrAClickOnIt) {
    fillPage1();
    MainForm->edit(L"edPrevDocum1").setText(L"Аттестат о среднем (полном) общем образовании");
    MainForm->DynControls(7)->setText(
        L"Разработка автоматизированной системы учёта материальных ценностей предприятия розничной торговли");
    std::vector<std::wstring> shown;
    rep::ShowMessageHook = [&](const std::wstring& m) { shown.push_back(m); };
    std::wstring notice;
    previewOf(SetReport::BlankoSheet1->Report1, [&](rep::TRepStandardPreview& w) {
        notice = w.NoticeText();
        guitest::activate(w.hwnd());
        guitest::press(VK_F2);
        guitest::pump();
        const RECT& r = w.Notice->rect();
        guitest::click(w.StatusPanel->hwnd(), r.left + 20, (r.top + r.bottom) / 2);
        guitest::pump();
    });
    rep::ShowMessageHook = nullptr;
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], notice);
    EXPECT_EQ(shown[1], notice);
    EXPECT_TRUE(contains(notice, L"«Курсовые проекты (работы)», строка 3")) << notice;
}

TEST_F(BlankCheck, PrintingAsksAboutThePreviewsOwnDataAndGoingBackClosesIt) {
    fillPage1();
    MainForm->edit(L"edPrevDocum1").setText(L"Аттестат о среднем (полном) общем образовании");
    std::wstring asked;
    SetReportCommon::AskPrintAsItIsHook = [&](const std::wstring& q) {
        asked = q;
        return false;
    };
    bool closed = false;
    std::wstring stale;
    previewOf(SetReport::BlankoSheet1->Report1, [&](rep::TRepStandardPreview& w) {
        rep::TRepPrinter* printer = w.ReportPrinter;
        // Edited while the preview is open: the preview prints what it shows, and says that
        // the window holds something else now once she is back in it.
        MainForm->edit(L"edTown").setText(L"Город с очень длинным названием, который не войдёт в графу");
        guitest::activate(MainForm->hwnd());
        guitest::activate(w.hwnd());
        stale = w.Notice->text();
        w.PrintClick();
        guitest::pump();
        closed = rep::StandardPreviewOf(*printer) == nullptr;
    });
    EXPECT_TRUE(contains(stale, L"F5 обновит просмотр")) << stale;
    EXPECT_TRUE(contains(asked, L"«Документ о предшествующем уровне образования», строка 1")) << asked;
    EXPECT_FALSE(contains(asked, L"«Город»")) << asked;
    EXPECT_TRUE(contains(asked, L"Напечатать как есть?"));
    EXPECT_TRUE(closed);
}

TEST_F(BlankCheck, TextExportOfAPreviewWritesWhatThePreviewShows) {
    fillPage1();
    MainForm->edit(L"edTown").setText(L"г. Заречинск");
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring file = std::wstring(tmp) + L"blk_preview_data.TXT";
    DeleteFileW(file.c_str());
    previewOf(SetReport::BlankoSheet1->Report1, [&](rep::TRepStandardPreview& w) {
        MainForm->edit(L"edTown").setText(L"г. Другой");
        rep::TRepAsciiExportFilter filter(file);
        w.ReportPrinter->ExportToFilter(filter);
    });
    const std::string text = hostfiles::readBytes(file).value_or("");
    DeleteFileW(file.c_str());
    const std::string old = *ui::toCp1251(L"Заречинск"), now = *ui::toCp1251(L"Другой");
    EXPECT_NE(text.find(old), std::string::npos);
    EXPECT_EQ(text.find(now), std::string::npos);
}

TEST_F(BlankCheck, F5TakesWhatTheWindowHoldsNowWithItsFramesAndNotice) {
    fillPage1();
    std::wstring before, after;
    std::size_t marks = 0;
    std::vector<std::wstring> texts;
    previewOf(SetReport::BlankoSheet1->Report1, [&](rep::TRepStandardPreview& w) {
        before = w.Notice->text();
        MainForm->edit(L"edTown").setText(L"Город с очень длинным названием, который не войдёт в графу");
        w.RefreshClick();
        guitest::pump();
        after = w.Notice->text();
        marks = w.RepPreview->Marks().size();
        for (const auto& t : pagetest::ContentOf(w.ReportPrinter->GetPage(1).get()).texts) texts.push_back(t.text);
    });
    EXPECT_EQ(before, L"");
    EXPECT_TRUE(contains(after, L"«Город»")) << after;
    EXPECT_EQ(marks, 1u);
    bool town = false;
    for (const auto& t : texts) town |= contains(t, L"Город с очень");
    EXPECT_TRUE(town);
}

std::wstring dataFile(const char* name) {
    const std::string path = std::string(BLK_TEST_DATA) + "/blank/" + name;
    return std::wstring(path.begin(), path.end());
}

// Records of a page picture that would carry a picture of their own.
int bitmapRecords(HENHMETAFILE emf) {
    int n = 0;
    for (const ui::EmfRecord& r : ui::EmfRecords(emf)) {
        // A fill is recorded as a blit without a source.
        if (r.type == EMR_BITBLT) n += r.as<EMRBITBLT>().cbBmiSrc != 0;
        else if (r.type == EMR_STRETCHBLT) n += r.as<EMRSTRETCHBLT>().cbBmiSrc != 0;
        else
            n += r.type == EMR_STRETCHDIBITS || r.type == EMR_SETDIBITSTODEVICE || r.type == EMR_MASKBLT ||
                 r.type == EMR_PLGBLT || r.type == EMR_ALPHABLEND || r.type == EMR_TRANSPARENTBLT;
    }
    return n;
}

COLORREF pixelOf(HBITMAP bitmap, int x, int y) {
    ui::MemoryDC dc(CreateCompatibleDC(nullptr));
    ui::SelectGuard use(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

TEST_F(BlankCheck, BlankPicturesAreReadFromBmpPngAndJpegAndABadFileIsRefused) {
    for (const char* name : {"blank.bmp", "blank.png", "blank.jpg"}) {
        ui::BitmapHandle b = ui::LoadPictureFile(dataFile(name));
        ASSERT_TRUE(b) << name;
        BITMAP bm{};
        GetObjectW(b.get(), sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 42) << name;
        EXPECT_EQ(bm.bmHeight, 60) << name;
        const COLORREF c = pixelOf(b.get(), 40, 58);
        EXPECT_NEAR(GetRValue(c), 0, 8) << name;
        EXPECT_NEAR(GetGValue(c), 128, 8) << name;
        EXPECT_NEAR(GetBValue(c), 255, 8) << name;
    }
    EXPECT_EQ(pixelOf(ui::LoadPictureFile(dataFile("blank.png")).get(), 2, 2), RGB(255, 0, 0));
    // Said in words, not as the codec's number.
    const std::pair<const char*, const wchar_t*> refused[] = {
        {"broken.png", L"файл рисунка повреждён"}, {"missing.png", L"файл не найден"}, {"../../CMakeLists.txt", L"это не рисунок"}};
    for (const auto& [name, why] : refused) {
        try {
            ui::LoadPictureFile(dataFile(name));
            ADD_FAILURE() << name << " was read";
        } catch (const ui::Error& e) {
            EXPECT_TRUE(contains(e.message(), L"Не удалось прочитать рисунок")) << name;
            EXPECT_TRUE(contains(e.message(), why)) << ui::toUtf8(e.message());
        }
    }
    // A chosen picture gone since is named when the preview opens.
    SettingsUnit::BlankSettings.Picture1 = dataFile("gone.png");
    const Seen seen = previewOf(SetReport::BlankoSheet1->Report1);
    EXPECT_FALSE(seen.underlay);
    EXPECT_TRUE(contains(seen.notice, L"Рисунок бланка не показан")) << ui::toUtf8(seen.notice);
    EXPECT_TRUE(contains(seen.notice, L"gone.png: файл не найден")) << ui::toUtf8(seen.notice);
}

TEST_F(BlankCheck, TheBlankPictureIsUnderThePreviewOnlyNeverOnThePageOrInASavedFile) {
    fillPage1();
    SettingsUnit::BlankSettings.Picture1 = dataFile("blank.png");
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring saved = std::wstring(temp) + L"saved_with_blank.rep";
    COLORREF margin = 0, underText = 0;
    Seen seen = previewOf(SetReport::BlankoSheet1->Report1, [&](rep::TRepStandardPreview& w) {
        w.RepPreview->SetZoom(100);
        // The page-available message may still be on its way.
        w.RepPreview->ShowPageAfresh(1);
        const rep::TRepPreviewImage& image = w.RepPreview->Image();
        ui::MemoryDC dc(CreateCompatibleDC(nullptr));
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof bi.bmiHeader, image.Width(), -image.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        ui::BitmapHandle bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        ui::SelectGuard use(dc.get(), bitmap.get());
        image.Paint(dc.get());
        // The picture's blue shows in the bottom margin, its red (top left quarter) through the
        // surname's white box.
        margin = GetPixel(dc.get(), image.Width() * 3 / 4, image.Height() * 97 / 100);
        underText = GetPixel(dc.get(), image.Width() * 240 / 794, image.Height() * 52 / 1123);
        w.ReportPrinter->Save(saved);
    });
    EXPECT_TRUE(seen.underlay);
    EXPECT_NEAR(GetRValue(margin), 0, 24) << std::hex << margin;
    EXPECT_NEAR(GetBValue(margin), 255, 24);
    EXPECT_GT(GetRValue(underText), 200) << std::hex << underText;
    EXPECT_LT(GetBValue(underText), 60);
    // The page itself holds only the values.
    EXPECT_EQ(bitmapRecords(seen.page.get()), 0);
    rep::TRepPrinter loaded;
    loaded.Load(saved);
    ui::EnhMetaFile page = loaded.GetPage(1);
    ASSERT_TRUE(page);
    EXPECT_EQ(bitmapRecords(page.get()), 0);
    EXPECT_EQ(pagetest::ContentOf(page.get()).texts.size(), pagetest::ContentOf(seen.page.get()).texts.size());
    DeleteFileW(saved.c_str());

    // Without a picture chosen the preview draws the page alone.
    SettingsUnit::BlankSettings.Picture1.clear();
    EXPECT_FALSE(previewOf(SetReport::BlankoSheet1->Report1).underlay);
}

TEST_F(BlankCheck, TheShrinkSettingIsKeptInItsOwnSectionAndLeavesTheOffsetsAsTheyWere) {
    const std::wstring ini = SettingsUnit::IniPath();
    DeleteFileW(ini.c_str());
    SettingsUnit::CreateIniStub();
    SettingsUnit::TPrintOffsets offsets;
    offsets.DeltaX1 = 7;
    offsets.FontSizeColumn3 = 12;
    SettingsUnit::WritePrintOffsets(offsets);
    const UINT id = MainForm->menuId(L"mnShrinkToFit");
    auto checked = [&] { return (GetMenuState(MainForm->menu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    EXPECT_FALSE(checked());

    ASSERT_TRUE(MainForm->runMenuCommand(id));
    EXPECT_TRUE(SettingsUnit::BlankSettings.ShrinkToFit);
    EXPECT_TRUE(SettingsUnit::ReadBlankSettings().ShrinkToFit);
    EXPECT_TRUE(checked());
    SettingsUnit::TPrintOffsets read;
    EXPECT_TRUE(SettingsUnit::ReadPrintOffsets(read));
    EXPECT_EQ(read, offsets);

    ASSERT_TRUE(MainForm->runMenuCommand(id));
    EXPECT_FALSE(SettingsUnit::ReadBlankSettings().ShrinkToFit);
    EXPECT_FALSE(checked());

    // Folder names in Russian survive a file kept in any code page.
    SettingsUnit::TBlankSettings paths;
    paths.Picture1 = L"C:\\Users\\Секретарь\\бланк 100%25%.png";
    paths.Picture2 = L"D:\\scan\\%u0041 list 2.jpg";
    SettingsUnit::WriteBlankSettings(paths);
    EXPECT_EQ(SettingsUnit::ReadBlankSettings(), paths);
    wchar_t raw[512] = {};
    GetPrivateProfileStringW(L"Blanks", L"Picture1", L"", raw, 512, ini.c_str());
    for (const wchar_t* p = raw; *p; ++p) EXPECT_LT(*p, 0x7F) << "not ASCII in " << p - raw;
    EXPECT_TRUE(SettingsUnit::ReadPrintOffsets(read));
    EXPECT_EQ(read, offsets);
    // A folder of 300 Cyrillic letters comes back whole: no length limit on reading.
    paths.Picture1 = L"C:\\" + std::wstring(300, L'ж') + L"\\бланк.png";
    SettingsUnit::WriteBlankSettings(paths);
    EXPECT_EQ(SettingsUnit::ReadBlankSettings().Picture1, paths.Picture1);
    DeleteFileW(ini.c_str());
}

}  // namespace
