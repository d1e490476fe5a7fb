// A whole group at once: state files read without the main window, pages in the order of
// the surnames, each page printed as its graduate's own print, a page range, and the
// files that cannot be read named before anything is shown.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <memory>

#include "report/preview/standard_preview.h"
#include "report/run/progress_form.h"
#include "report/run/rep_printer.h"
#include "sheets/blank_guard.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "shell/group/group_print.h"
#include "shell/group/group_sheet_dialog.h"
#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "shell/main/system_set.h"
#include "shell/offsets/blank_settings.h"
#include "shell/offsets/print_offsets.h"
#include "shell/state/state_file_io.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/gui_util.h"
#include "tests/gui/print_through_preview.h"
#include "tests/win/pdf_words.h"
#include "ui/file_dialog.h"
#include "ui/timer.h"
#include "ui/utf8.h"

using MainSet::MainForm;
using namespace guitest;

namespace {

// A folder of its own under the temporary folder, emptied and removed at the end.
class Folder {
public:
    Folder() {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        path_ = std::wstring(tmp) + L"blk-group-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~Folder() {
        for (const auto& f : made_) {
            DeleteFileW(f.c_str());
            RemoveDirectoryW(f.c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring file(const std::wstring& name, const std::string& bytes) {
        const std::wstring p = path_ + L"\\" + name;
        EXPECT_EQ(SystemSet::WriteFileReplacing(p, bytes), 0);
        made_.push_back(p);
        return p;
    }
    std::wstring folder(const std::wstring& name) {
        const std::wstring p = path_ + L"\\" + name;
        CreateDirectoryW(p.c_str(), nullptr);
        made_.push_back(p);
        return p;
    }
    std::wstring missing(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
    std::vector<std::wstring> made_;
};

SystemSet::TSettings graduate(const std::wstring& surname, int trial, const std::wstring& course) {
    SystemSet::TSettings rec;
    rec.Text("edTown") = L"г. Заречинск";
    rec.Text("edSurName") = surname;
    rec.Text("edName") = L"Иван Петрович";
    rec.Index("cbTrial") = trial;
    rec.Text("edRegNo") = L"123-" + surname.substr(surname.size() - 1);
    rec.Text("edCourseWork2") = course;
    rec.Text("edSpec1") = L"Бухгалтерский учёт";
    rec.Text("edDiscipline1") = L"Экономика";
    rec.Index("cbMark1") = 4;
    return rec;
}

// Reading files: what the window would show from each, and why a file is left out.
class GroupRead : public ::testing::Test {
protected:
    void SetUp() override {
        ui::Application::get().resetTerminated();
        Program::CreateForms();
        MainSet::GroupMessageHook = nullptr;
    }
    void TearDown() override { Program::DestroyForms(); }
};

TEST_F(GroupRead, ARecordFromAFileIsWhatTheWindowShowsOnceTheFileIsOpened) {
    Folder dir;
    SystemSet::TSettings rec = graduate(L"Петрова", 1, L"Курсовая работа");
    rec.Index("cbMark2") = -1;
    rec.Typed[*SystemSet::FindStateField("cbMark2")] = L"зачтено";
    rec.Index("cbMark3") = 20;  // off the list
    rec.Index("cbMark4") = -1;
    rec.Index("cbMark5") = 12;
    const std::wstring file = dir.file(L"a.Blk", SystemSet::EncodeState(rec));
    ASSERT_TRUE(SystemSet::LoadStateFrom(file));
    const auto fromFile = SystemSet::ShownFrom(rec);
    EXPECT_EQ(fromFile, SystemSet::ShownOnMainWindow());
    EXPECT_EQ(fromFile.Field(L"cbTrial"), L"прошла");
    EXPECT_EQ(fromFile.Field(L"cbMark2"), L"зачтено");
    EXPECT_EQ(fromFile.Field(L"cbMark3"), L"");
}

TEST_F(GroupRead, FilesAreOrderedBySurnameAndEveryUnreadableOneIsNamedWithItsReason) {
    Folder dir;
    std::vector<std::wstring> files = {
        dir.file(L"3.Blk", SystemSet::EncodeState(graduate(L"Сидорова", 1, L""))),
        dir.missing(L"нет такого.Blk"),
        dir.file(L"1.Blk", SystemSet::EncodeState(graduate(L"абрамов", 0, L""))),
        dir.file(L"пустой.Blk", ""),
        dir.file(L"текст.Blk", std::string(8, 'x') + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nнет\r\n"),
        dir.folder(L"папка.Blk"),
        dir.file(L"2.Blk", SystemSet::EncodeState(graduate(L"Ёлкин", 0, L""))),
    };
    const MainSet::TGroup group = MainSet::ReadGroup(files);
    ASSERT_EQ(group.Members.size(), 3u);
    EXPECT_EQ(group.Members[0].Record.Field(L"edSurName"), L"абрамов");
    EXPECT_EQ(group.Members[1].Record.Field(L"edSurName"), L"Ёлкин");
    EXPECT_EQ(group.Members[2].Record.Field(L"edSurName"), L"Сидорова");
    ASSERT_EQ(group.Unreadable.size(), 4u);
    const std::wstring message = MainSet::UnreadableMessage(group);
    for (const auto& [name, reason] :
         std::vector<std::pair<std::wstring, std::wstring>>{{L"нет такого.Blk", L"файл не найден"},
                                                            {L"пустой.Blk", L"файл пуст"},
                                                            {L"текст.Blk", L"это не файл приложения: в строке 9"},
                                                            {L"папка.Blk", L"папка"}}) {
        const auto at = message.find(name);
        ASSERT_NE(at, std::wstring::npos) << ui::toUtf8(name);
        EXPECT_NE(message.find(reason, at), std::wstring::npos) << ui::toUtf8(reason);
    }
    EXPECT_NE(message.find(L"без них?"), std::wstring::npos);

    // The state files of the folder: not the folder named like one, not other files.
    dir.file(L"заметки.txt", "x");
    const auto inFolder = MainSet::StateFilesIn(files[0].substr(0, files[0].find_last_of(L'\\')));
    ASSERT_EQ(inFolder.size(), 5u);
    EXPECT_EQ(inFolder[0], files[2]);  // "1.Blk"
    EXPECT_EQ(inFolder[4], files[4]);  // "текст.Blk"

    // Going on without them is the secretary's choice; cancelling opens nothing.
    std::wstring asked;
    MainSet::GroupMessageHook = [&](const std::wstring& m, bool question) {
        asked = m;
        EXPECT_TRUE(question);
        return false;
    };
    MainSet::PrintGroup(files, 1, nullptr);
    EXPECT_EQ(asked, message);
    MainSet::GroupMessageHook = nullptr;
}

TEST(GroupDialog, TheSheetIsChosenFromTheKeyboardAndEscChoosesNothing) {
    using MainSet::TGroupSheets;
    struct Case {
        std::vector<WORD> keys;
        TGroupSheets want;
    };
    const Case cases[] = {{{VK_RETURN}, TGroupSheets::First},
                          {{VK_TAB, VK_SPACE}, TGroupSheets::Second},
                          {{VK_TAB, VK_TAB, VK_SPACE}, TGroupSheets::Both},
                          {{VK_ESCAPE}, TGroupSheets::None}};
    for (const Case& c : cases) {
        MainSet::TGroupSheetDialog dialog(12);
        EXPECT_NE(dialog.Question->text().find(L"Выбрано файлов: 12"), std::wstring::npos);
        std::vector<Script::Step> steps{[&] { return IsWindowVisible(dialog.hwnd()) != FALSE; }};
        for (WORD k : c.keys) steps.push_back([k] {
            press(k);
            return true;
        });
        Script script(steps, 5000);
        EXPECT_EQ(dialog.Ask(), c.want);
        EXPECT_TRUE(script.finished());
    }
}

TEST(GroupDialog, SeveralFilesComeBackAsFullPathsAndOneAsItIs) {
    using ui::FileDialog;
    using V = std::vector<std::wstring>;
    const wchar_t several[] = L"C:\\group\0a.Blk\0b.Blk\0";
    EXPECT_EQ(FileDialog::splitMultiSelect(several), (V{L"C:\\group\\a.Blk", L"C:\\group\\b.Blk"}));
    const wchar_t atRoot[] = L"C:\\\0a.Blk\0b.Blk\0";
    EXPECT_EQ(FileDialog::splitMultiSelect(atRoot), (V{L"C:\\a.Blk", L"C:\\b.Blk"}));
    const wchar_t one[] = L"C:\\group\\a.Blk\0";
    EXPECT_EQ(FileDialog::splitMultiSelect(one), (V{L"C:\\group\\a.Blk"}));
}

// Printing: the group's PDF against each graduate's own print.
class SheetPrintGroup : public ::testing::Test {
protected:
    void SetUp() override {
        if (printer_env::NoPrinterRun()) GTEST_SKIP() << "no printer in this run";
        saved_ = SettingsUnit::PrintOffsets;
        SettingsUnit::PrintOffsets = {};
        SettingsUnit::PrintOffsets.DeltaX1 = 7;  // the same offsets for both kinds of print
        SettingsUnit::PrintOffsets.DeltaY1 = -3;
        ui::Application::get().resetTerminated();
        Program::CreateForms();
        MainForm->show();
        activate(MainForm->hwnd());
    }
    void TearDown() override {
        MainSet::GroupMessageHook = nullptr;
        Program::DestroyForms();
        SettingsUnit::PrintOffsets = saved_;
    }
    static const std::wstring& Stem() {
        static const std::wstring s = L"Grp" + std::to_wstring(GetTickCount() % 1000000);
        return s;
    }
    // The pages of the job whose name starts with prefix, the job then deleted.
    static std::vector<pdfwords::Page> job(const std::wstring& prefix) {
        const std::wstring file = pdfwords::WaitForJob(prefix);
        if (file.empty()) return {};
        auto pages = pdfwords::Read(file);
        DeleteFileW(file.c_str());
        return pages ? *pages : std::vector<pdfwords::Page>{};
    }
    // Runs the command's preview; once every page is in, optionally sets the page range as
    // the print dialog would, presses Print and closes the window.
    static void printGroup(const std::vector<std::wstring>& files, int first, int last, std::wstring* note) {
        printThroughPreview([] { return MainSet::GroupReport(); },
                            [&] { MainSet::PrintGroup(files, 1, MainForm->hwnd()); },
                            [&](rep::TReport& r, rep::TRepStandardPreview& w) {
                                if (note) {
                                    w.NextPageClick();
                                    *note = w.Note->text();
                                }
                                r.ShowProgress = false;
                                r.PrinterSettings.FirstPage = first;
                                r.PrinterSettings.LastPage = last;
                            });
    }
    SettingsUnit::TPrintOffsets saved_;
};

void expectSameWords(const pdfwords::Page& group, const pdfwords::Page& single) {
    ASSERT_EQ(group.words.size(), single.words.size());
    for (size_t i = 0; i < single.words.size(); ++i) {
        EXPECT_EQ(group.words[i].text, single.words[i].text);
        EXPECT_NEAR(group.words[i].xMin, single.words[i].xMin, 0.1);
        EXPECT_NEAR(group.words[i].yMin, single.words[i].yMin, 0.1);
        EXPECT_NEAR(group.words[i].xMax, single.words[i].xMax, 0.1);
    }
}

TEST_F(SheetPrintGroup, EachPageIsItsGraduatesOwnPrintInSurnameOrderAndARangePrintsPartOfTheGroup) {
    Folder dir;
    const std::wstring a = Stem() + L"a", b = Stem() + L"b", c = Stem() + L"c";
    // b's long course work widens its label: a page must not carry that over to the next.
    const std::wstring fileC = dir.file(L"c.Blk", SystemSet::EncodeState(graduate(c, 0, L"Учёт")));
    const std::wstring fileA = dir.file(L"a.Blk", SystemSet::EncodeState(graduate(a, 1, L"Анализ")));
    const std::wstring fileB =
        dir.file(L"b.Blk", SystemSet::EncodeState(graduate(b, 1, L"Очень длинная тема курсовой работы о балансе")));
    const std::vector<std::wstring> files = {fileC, dir.missing(L"gone.Blk"), fileA, fileB};

    // Each graduate's own print, through the main window as the secretary does it.
    std::vector<pdfwords::Page> singles;
    for (const auto& [file, surname] : {std::pair{fileA, a}, std::pair{fileB, b}, std::pair{fileC, c}}) {
        ASSERT_TRUE(SystemSet::LoadStateFrom(file));
        SetReport::BlankoSheet1->Report1.ShowProgress = false;
        printThroughPreview([] { return &SetReport::BlankoSheet1->Report1; }, [] { MainForm->mnPrintSheet1Click(); });
        auto pages = job(surname + L"_");
        ASSERT_EQ(pages.size(), 1u) << "no PDF of the single print of " << ui::toUtf8(surname);
        singles.push_back(pages.front());
    }
    const SystemSet::TSettings window = SystemSet::CollectState();

    std::wstring asked;
    MainSet::GroupMessageHook = [&](const std::wstring& m, bool) {
        asked = m;
        return true;
    };
    std::wstring note;
    printGroup(files, 0, 0, &note);
    EXPECT_NE(asked.find(L"gone.Blk"), std::wstring::npos);
    EXPECT_NE(asked.find(L"файл не найден"), std::wstring::npos);
    // The status bar names the graduate of the page shown (page 2 here).
    EXPECT_NE(note.find(b), std::wstring::npos) << ui::toUtf8(note);
    const auto whole = job(a + L"_");
    ASSERT_EQ(whole.size(), 3u) << "one job of three pages";
    for (size_t i = 0; i < 3; ++i) expectSameWords(whole[i], singles[i]);

    // After a paper jam: pages 2 and 3 only, b and c.
    printGroup(files, 2, 3, nullptr);
    const auto part = job(a + L"_");
    ASSERT_EQ(part.size(), 2u);
    expectSameWords(part[0], singles[1]);
    expectSameWords(part[1], singles[2]);

    // The main window is as it was.
    EXPECT_TRUE(SystemSet::CollectState() == window);
}

// Members made in memory, as ReadGroup makes them from their files.
std::vector<MainSet::TGroupMember> members(const std::vector<std::wstring>& surnames, const std::vector<bool>& longOnes) {
    std::vector<MainSet::TGroupMember> out;
    for (std::size_t i = 0; i < surnames.size(); ++i) {
        SystemSet::TSettings rec = graduate(surnames[i], 1, L"Анализ");
        if (longOnes[i])
            rec.Text("edDiscipline2") = L"Основы экономики, организации и управления производством на предприятиях "
                                        L"машиностроительной и приборостроительной отраслей";
        else
            rec.Text("edDiscipline2") = L"Физика";
        rec.Index("cbMark2") = 4;
        out.push_back({surnames[i] + L".Blk", SystemSet::ShownFrom(rec)});
    }
    return out;
}

// Checks of a group: each page with its own graduate's values, before anything prints.
class GroupCheck : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = SettingsUnit::BlankSettings;
        ui::Application::get().resetTerminated();
        Program::CreateForms();
    }
    void TearDown() override {
        SetReportCommon::AskPrintAsItIsHook = nullptr;
        Program::DestroyForms();
        SettingsUnit::BlankSettings = saved_;
        discardMessages();
    }
    SettingsUnit::TBlankSettings saved_;
};

TEST_F(GroupCheck, EveryPageIsCheckedWithItsOwnGraduateAndPrintListsThemAllFirst) {
    const std::string data = std::string(BLK_TEST_DATA) + "/blank/blank.png";
    SettingsUnit::BlankSettings.Picture2 = std::wstring(data.begin(), data.end());
    // The over-long discipline on the first, a middle and the last of four graduates.
    const auto group = members({L"Антонов", L"Борисов", L"Васильев", L"Григорьев"}, {true, false, true, true});
    std::vector<std::wstring> notices;
    std::vector<std::size_t> marks;
    std::wstring asked;
    bool underlay = false, printed = false, closed = false;
    SetReportCommon::AskPrintAsItIsHook = [&](const std::wstring& q) {
        asked = q;
        return false;
    };
    rep::TRepStandardPreview* window = nullptr;
    ui::Timer poll(50, [&] {
        if (!window || !window->ReportPrinter || window->ReportPrinter->Status() != rep::stFinished || printed) return;
        printed = true;
        underlay = window->RepPreview->Underlay() != nullptr;
        for (int n = 1; n <= window->ReportPrinter->PageCount(); ++n) {
            window->RepPreview->SetPageNumber(n);
            window->UpdateStatus();
            notices.push_back(window->NoticeText());
            marks.push_back(window->RepPreview->Marks().size());
        }
        rep::TRepPrinter* printer = window->ReportPrinter;
        window->PrintClick();
        pump();
        // Going back to correct the values closes the preview.
        closed = rep::StandardPreviewOf(*printer) == nullptr;
        if (!closed) window->close();
    });
    poll.start();
    MainSet::PreviewGroup(group, 2, [&](rep::TRepStandardPreview& w) { window = &w; });
    poll.stop();
    ASSERT_EQ(notices.size(), 4u);
    EXPECT_TRUE(underlay) << "the blank picture under the group's pages";
    // The label grows with its text, across the hours and the grade and off the paper.
    const std::wstring cut = L"«Наименование дисциплин» в строке 2 на странице 2: выходит за край бумаги, заходит на "
                             L"«Количество аудиторных часов» в строке 2";
    for (std::size_t i : {0u, 2u, 3u}) {
        EXPECT_NE(notices[i].find(group[i].FullName()), std::wstring::npos) << ui::toUtf8(notices[i]);
        EXPECT_NE(notices[i].find(cut), std::wstring::npos) << ui::toUtf8(notices[i]);
        EXPECT_GE(marks[i], 1u);
    }
    EXPECT_EQ(notices[1], L"");
    EXPECT_EQ(marks[1], 0u);
    // One question before the job, naming every graduate whose blank would be spoilt.
    for (const wchar_t* who : {L"Антонов", L"Васильев", L"Григорьев"})
        EXPECT_NE(asked.find(who), std::wstring::npos) << ui::toUtf8(asked);
    EXPECT_EQ(asked.find(L"Борисов"), std::wstring::npos) << ui::toUtf8(asked);
    EXPECT_NE(asked.find(L"(стр. 4)"), std::wstring::npos) << ui::toUtf8(asked);
    EXPECT_TRUE(closed);
}

TEST_F(GroupCheck, AReportFileLoadedIntoTheGroupsPreviewHasNoGraduateNotes) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring file = std::wstring(tmp) + L"blk_group_load.REP";
    {
        rep::TRepPrinter saved;
        saved.BeginDoc();
        for (int i = 0; i < 5; ++i) saved.NewPage();
        saved.EndDoc();
        saved.Save(file);
    }
    const auto group = members({L"Антонов", L"Борисов"}, {true, false});
    rep::TRepStandardPreview* window = nullptr;
    std::wstring note = L"?", notice = L"?";
    int pages = 0;
    bool started = false;
    std::unique_ptr<Script> script;
    ui::Timer poll(50, [&] {
        if (started || !window || !window->ReportPrinter || window->ReportPrinter->Status() != rep::stFinished) return;
        started = true;
        script = std::make_unique<Script>(std::vector<Script::Step>{
            [] { return findSystemDialog() != nullptr; },
            [&] { return confirmFileDialog(findSystemDialog(), file); },
            [&] { return window->ReportPrinter->PageCount() == 5; },
            [&] {
                // The loaded report is longer than the group: its last page has no graduate.
                window->LastPageClick();
                pages = window->RepPreview->PageNumber();
                note = window->Note->text();
                notice = window->NoticeText();
                window->close();
                return true;
            }});
        window->LoadClick();
    });
    poll.start();
    MainSet::PreviewGroup(group, 2, [&](rep::TRepStandardPreview& w) { window = &w; });
    poll.stop();
    DeleteFileW(file.c_str());
    EXPECT_TRUE(script && script->finished());
    EXPECT_EQ(pages, 5);
    EXPECT_EQ(note, L"");
    EXPECT_EQ(notice, L"");
}

TEST_F(SheetPrintGroup, CancelStopsTheJobSoNothingReachesTheQueueAndSaysWhatWasSent) {
    std::vector<std::wstring> surnames;
    for (int i = 0; i < 30; ++i) surnames.push_back(Stem() + L"x" + std::to_wstring(10 + i));
    const auto group = members(surnames, std::vector<bool>(surnames.size(), false));
    const std::wstring prefix = surnames.front() + L"_";
    printer_env::DeletePdfs(prefix);
    std::vector<std::wstring> told;
    rep::ShowMessageHook = [&](const std::wstring& m) { told.push_back(m); };
    SetReportCommon::AskPrintAsItIsHook = [](const std::wstring&) { return true; };
    std::wstring counted;
    int state = 0;
    rep::TRepStandardPreview* window = nullptr;
    ui::Timer poll(20, [&] {
        if (state == 0 && window && window->ReportPrinter && window->ReportPrinter->Status() == rep::stFinished) {
            state = 1;
            window->PrintClick();  // the job runs inside; this tick's timer goes on meanwhile
            state = 3;
            window->close();
        } else if (state == 1) {
            HWND h = FindWindowW(nullptr, L"Printing progress");
            auto* form = h ? dynamic_cast<rep::TRepProgressForm*>(ui::Window::fromHandle(h)) : nullptr;
            if (!form || form->Info->text().rfind(L"Page 3 of 30", 0) != 0) return;
            counted = form->Info->text();
            state = 2;
            SendMessageW(form->CancelButton->hwnd(), BM_CLICK, 0, 0);
        }
    });
    poll.start();
    MainSet::PreviewGroup(group, 2, [&](rep::TRepStandardPreview& w) { window = &w; });
    poll.stop();
    rep::ShowMessageHook = nullptr;
    SetReportCommon::AskPrintAsItIsHook = nullptr;
    EXPECT_EQ(counted, L"Page 3 of 30");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(L"Печать отменена"), std::wstring::npos) << ui::toUtf8(told[0]);
    EXPECT_NE(told[0].find(surnames[0]), std::wstring::npos) << ui::toUtf8(told[0]);
    EXPECT_EQ(told[0].find(surnames[10]), std::wstring::npos) << ui::toUtf8(told[0]);
    // No job reaches the queue: not the pages before the cancel, nor any after it.
    EXPECT_EQ(pdfwords::WaitForJob(prefix, 6), L"");
}

TEST_F(SheetPrintGroup, BothPagesPrintTheFirstPagesThenAfterTheTurnTheSecondOnesInTheSameOrder) {
    const std::vector<std::wstring> surnames{Stem() + L"m1", Stem() + L"m2"};
    const auto group = members(surnames, {false, false});
    const std::wstring prefix = surnames.front() + L"_";
    printer_env::DeletePdfs(prefix);
    std::vector<std::wstring> told;
    MainSet::GroupMessageHook = [&](const std::wstring& m, bool) {
        told.push_back(m);
        return true;
    };
    bool done = false;
    rep::TRepStandardPreview* window = nullptr;
    ui::Timer poll(50, [&] {
        if (done || !window || !window->ReportPrinter || window->ReportPrinter->Status() != rep::stFinished) return;
        done = true;
        MainSet::GroupReport()->ShowProgress = false;
        window->PrintClick();
        window->close();
    });
    poll.start();
    MainSet::PreviewGroup(group, 3, [&](rep::TRepStandardPreview& w) { window = &w; });
    poll.stop();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(L"Переверните стопку"), std::wstring::npos) << ui::toUtf8(told[0]);
    // Two jobs of two pages: the first pages, then the second, each in the group's order.
    std::vector<std::vector<pdfwords::Page>> jobs;
    for (int i = 0; i < 2; ++i) {
        const std::wstring file = pdfwords::WaitForJob(prefix);
        ASSERT_FALSE(file.empty()) << "job " << i + 1;
        auto pages = pdfwords::Read(file);
        DeleteFileW(file.c_str());
        ASSERT_TRUE(pages);
        jobs.push_back(*pages);
    }
    // The first job's pages carry the surname, the second's the disciplines.
    const auto isFirst = [&](const std::vector<pdfwords::Page>& j) { return j[0].Find(ui::toUtf8(surnames[0])) != nullptr; };
    if (!isFirst(jobs[0])) std::swap(jobs[0], jobs[1]);
    ASSERT_EQ(jobs[0].size(), 2u);
    ASSERT_EQ(jobs[1].size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(jobs[0][i].Find(ui::toUtf8(surnames[i]))) << "first page of graduate " << i + 1;
        EXPECT_TRUE(jobs[1][i].Find("Физика")) << "second page of graduate " << i + 1;
    }
}

}  // namespace
