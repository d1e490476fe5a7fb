// The state file through the real main window: the Save and Open commands with their
// dialogs, the bytes written, every field back after a round trip, the reading rules, and
// saves that fail without harming the file they would replace.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "shell/main/system_set.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/gui_util.h"
#include "tests/gui/program_fixture.h"
#include "tests/win/host_files.h"
#include "ui/controls.h"
#include "ui/utf8.h"

using namespace guitest;
using MainSet::MainForm;

namespace {

// The 33 fixed fields of page 1; the other 142 are DynControls 1..142.
const wchar_t* const kFixedFields[] = {
    L"edSurName",     L"edName",         L"edBirthDay",     L"edTown",       L"edSchool1",      L"edSchool2",
    L"edSchool3",     L"edSchool4",      L"edPrevDocum1",   L"edPrevDocum2", L"edPrevDocum3",   L"cbTrial",
    L"edEntry1",      L"edEntry2",       L"edEntry3",       L"edEndLern1",   L"edEndLern2",     L"edEndLern3",
    L"edTimeLern",    L"edSpecial",      L"edSpecialicy",   L"edNumToDipl",  L"edRegNo",        L"edDateOut",
    L"edPresentDate", L"edQualify",      L"edNameDiplPrj0", L"edNameDiplPrj1", L"edNameDiplPrj2", L"edResult1",
    L"edResult2",     L"edExamen1",      L"edExamen2",
};

// Every field of the supplement record with its name.
std::vector<std::pair<std::wstring, ui::Window*>> allFields() {
    std::vector<std::pair<std::wstring, ui::Window*>> out;
    for (const wchar_t* n : kFixedFields) out.push_back({n, MainForm->control(n)});
    for (int slot = 1; slot <= MainSet::kDynControlCount; ++slot) {
        ui::Window* w = MainForm->DynControls(slot);
        out.push_back({w->name, w});
    }
    return out;
}

ui::ComboBox* comboOf(ui::Window* w) { return dynamic_cast<ui::ComboBox*>(w); }

// What the window holds: texts of the edit boxes, selected indices of the combo boxes.
struct Snapshot {
    std::map<std::wstring, std::wstring> texts;
    std::map<std::wstring, int> indices;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot() {
    Snapshot s;
    for (auto& [name, w] : allFields()) {
        if (auto* c = comboOf(w)) {
            s.indices[name] = c->itemIndex();
            s.texts[name] = c->text();
        } else {
            s.texts[name] = w->text();
        }
    }
    return s;
}

// Every text set to one value and every combo box to one item.
void fillWindow(const std::wstring& text, int index) {
    for (auto& [name, w] : allFields()) {
        if (auto* c = comboOf(w)) c->setItemIndex(index);
        else w->setText(text);
    }
}

std::string cp1251(const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(1251, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(1251, 0, s.c_str(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// A state file from its lines (UTF-16, written as Windows-1251), each ended by CR LF.
std::string fileOf(const std::vector<std::wstring>& lines) {
    std::string out;
    for (const auto& l : lines) out += cp1251(l) + "\r\n";
    return out;
}

// A whole file: 175 lines, indices "0" and texts empty unless given (line number -> text).
std::string fullFile(const std::map<int, std::wstring>& given) {
    std::vector<std::wstring> lines(175);
    lines[8] = L"0";
    for (int i = 136; i <= 175; ++i) lines[static_cast<size_t>(i - 1)] = L"0";
    for (const auto& [n, t] : given) lines[static_cast<size_t>(n - 1)] = t;
    return fileOf(lines);
}

// The lines of fullFile({}) from value `from` (1-based) to the last: what completes a file
// whose first values came before.
std::string restFrom(int from) {
    std::string out;
    for (int line = from; line <= 175; ++line) out += line == 9 || line >= 136 ? "0\r\n" : "\r\n";
    return out;
}

// The file of a freshly started window: the defaults of page 1, no item in any grade box.
std::string freshFile() {
    std::vector<std::wstring> lines(175);
    lines[0] = L"г. Заречинск";
    lines[1] = L"Заречинский Техникум";
    lines[2] = L"Экономики и Права";
    lines[3] = L"Межсоюза России";
    lines[8] = L"0";
    lines[12] = L"Заречинский Техникум";
    lines[13] = L"Экономики и Права Межсоюза России";
    lines[18] = L"Заречинском Техникуме";
    lines[20] = L"Экономики и Права Межсоюза России";
    for (int i = 136; i <= 175; ++i) lines[static_cast<size_t>(i - 1)] = L"-1";
    return fileOf(lines);
}

bool hasYesButton(HWND h) { return GetDlgItem(h, IDYES) != nullptr; }

class StateFile : public ProgramTest {
protected:

    // Save as the command does once its dialog was confirmed: failures reach the error box.
    void save(const std::wstring& path) {
        MainForm->SaveSetDialog().setFileName(path);
        bool done = false;
        ui::Application::get().post([&] {
            done = true;
            SystemSet::SaveState();
        });
        waitUntil([&] { return done; });
        pump(20);
    }
    void load(const std::wstring& path) {
        MainForm->OpenSetDialog().setFileName(path);
        bool done = false;
        ui::Application::get().post([&] {
            done = true;
            SystemSet::LoadState();
        });
        waitUntil([&] { return done; });
        pump(20);
    }

    // Runs a file command by its trigger and answers its dialog with path (and Yes to a
    // question about replacing a file when askedToReplace).
    void runFileCommand(const std::function<void()>& trigger, const std::wstring& title, const std::wstring& path,
                        bool askedToReplace = false) {
        std::vector<Script::Step> steps = {
            [&] {
                HWND dlg = findSystemDialog(title);
                return dlg && confirmFileDialog(dlg, path);
            },
        };
        if (askedToReplace) {
            steps.push_back([&] {
                for (HWND h : threadWindows())
                    if (IsWindowVisible(h) && classOf(h) == L"#32770" && hasYesButton(h)) {
                        question = messageBoxText(h);
                        PostMessageW(h, WM_COMMAND, IDYES, 0);
                        return true;
                    }
                return false;
            });
        }
        steps.push_back([&] { return findSystemDialog() == nullptr; });
        Script script(std::move(steps));
        trigger();
        waitUntil([&] { return script.finished() || script.timedOut(); });
        EXPECT_TRUE(script.finished());
    }

    hostfiles::ScratchFolder folder;
    std::wstring question;
};

TEST_F(StateFile, AFreshWindowSavedAtOnceWritesTheDefaultsByteForByte) {
    const std::wstring path = folder.file(L"Set1.Blk");
    runFileCommand([] { click(*MainForm->toolbar().button(L"sbtSave")); }, L"Сохранить текущее состояние как...", path);
    auto bytes = hostfiles::readBytes(path);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, freshFile());
    EXPECT_EQ(hostfiles::crlfLines(*bytes).size(), 175u);
    EXPECT_EQ(bytes->substr(bytes->size() - 2), "\r\n");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(hostfiles::listFolder(folder.path()), std::vector<std::wstring>{L"Set1.Blk"});
}

TEST_F(StateFile, SavingOverAFileAsksFirstAndThenReplacesItCompletely) {
    const std::wstring path = folder.file(L"old.Blk");
    hostfiles::writeBytes(path, std::string(20000, 'z') + "\r\n");
    runFileCommand([] { MainForm->runMenuCommand(MainForm->menuId(L"mnSave")); },
                   L"Сохранить текущее состояние как...", path, true);
    EXPECT_FALSE(question.empty());
    EXPECT_EQ(hostfiles::readBytes(path), freshFile());
    EXPECT_EQ(hostfiles::listFolder(folder.path()), std::vector<std::wstring>{L"old.Blk"});
}

TEST_F(StateFile, TheOpenCommandFillsTheWindowFromTheFile) {
    const std::wstring path = folder.file(L"Иванов.Blk");
    hostfiles::writeBytes(path, fullFile({{1, L"г. Новый"}, {6, L"Иванов"}, {9, L"1"}, {136, L"11"}}));
    runFileCommand([] { click(*MainForm->toolbar().button(L"sbtOpen")); }, L"Открыть состояние из...", path);
    EXPECT_EQ(MainForm->fieldText(L"edTown"), L"г. Новый");
    EXPECT_EQ(MainForm->fieldText(L"edSurName"), L"Иванов");
    EXPECT_EQ(MainForm->fieldText(L"cbTrial"), L"прошла");
    EXPECT_EQ(MainForm->combo(L"cbMark1").text(), L"зачет");
    EXPECT_EQ(MainForm->fieldText(L"edSchool1"), L"") << "a text left empty in the file is emptied";
    EXPECT_TRUE(errors.empty());
}

TEST_F(StateFile, OpenNamesAFileItRefusesWithTheReasonAndChangesNothing) {
    struct Case {
        const wchar_t* name;
        std::string bytes;  // none: no such file
        const wchar_t* reason;
    };
    const Case cases[] = {
        {L"нет такого.Blk", "", L"файл не найден"},
        {L"короткий.Blk", fullFile({{1, L"г. Новый"}}).substr(0, 300), L"файл обрывается: в нём "},
        {L"отчёт.Blk", std::string("\x01\0\0\0\x7C\0\0\0REP", 11), L"это не файл приложения: в строке 1 стоит управляющий символ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ui::toUtf8(c.name));
        errors.clear();
        if (!c.bytes.empty()) hostfiles::writeBytes(folder.file(c.name), c.bytes);
        const Snapshot before = snapshot();
        runFileCommand([] { click(*MainForm->toolbar().button(L"sbtOpen")); }, L"Открыть состояние из...",
                       folder.file(c.name));
        EXPECT_EQ(snapshot(), before);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find(std::wstring(L"Файл «") + c.name + L"» не открыт: "), std::wstring::npos)
            << ui::toUtf8(errors[0]);
        EXPECT_NE(errors[0].find(c.reason), std::wstring::npos) << ui::toUtf8(errors[0]);
        EXPECT_NE(errors[0].find(L"В окне ничего не изменилось"), std::wstring::npos);
    }
}

TEST_F(StateFile, SaveProposesTheFileTheDataCameFromAndATypedItemIsStoredAsItsIndex) {
    const std::wstring a = folder.file(L"Антонова.Blk"), b = folder.file(L"Борисов.Blk");
    hostfiles::writeBytes(a, fullFile({{6, L"Антонова"}}));
    hostfiles::writeBytes(b, fullFile({{6, L"Борисов"}}));
    // Saved as b, then a opened: Save must propose a, not b.
    runFileCommand([] { MainForm->runMenuCommand(MainForm->menuId(L"mnSave")); }, L"Сохранить текущее состояние как...",
                   b, true);
    runFileCommand([] { MainForm->runMenuCommand(MainForm->menuId(L"mnOpen")); }, L"Открыть состояние из...", a);
    ASSERT_EQ(MainForm->fieldText(L"edSurName"), L"Антонова");
    std::wstring proposed;
    Script script({[&] {
        HWND dlg = findSystemDialog(L"Сохранить текущее состояние как...");
        if (!dlg) return false;
        wchar_t name[MAX_PATH] = {};
        GetWindowTextW(GetDlgItem(dlg, 0x47c) ? GetDlgItem(dlg, 0x47c) : GetDlgItem(dlg, 0x480), name, MAX_PATH);
        proposed = name;
        PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    MainForm->runMenuCommand(MainForm->menuId(L"mnSave"));
    waitUntil([&] { return script.finished() || script.timedOut(); });
    EXPECT_NE(proposed.find(L"Антонова"), std::wstring::npos) << ui::toUtf8(proposed);

    // A grade typed exactly as an item of the list reads is that item.
    MainForm->combo(L"cbMark4").setItemIndex(-1);
    MainForm->combo(L"cbMark4").setText(L"4 (четыре)");
    save(a);
    const auto lines = hostfiles::crlfLines(*hostfiles::readBytes(a));
    ASSERT_EQ(lines.size(), 175u);
    EXPECT_EQ(lines[138], "1");
}

TEST_F(StateFile, EveryTextAndSelectionComesBackAfterSaveAndLoad) {
    // Texts as they may be typed: Cyrillic, blanks at both ends, signs, tabs, a long line.
    int i = 0;
    for (auto& [name, w] : allFields()) {
        ++i;
        if (auto* c = comboOf(w)) {
            c->setItemIndex(i % 15 - 1);  // every item, and none at all
            continue;
        }
        std::wstring t = L"№" + std::to_wstring(i) + L" «Ёлка» ёж";
        if (i % 3 == 0) t = L"  " + t + L"  ";
        if (i % 5 == 0) t += L"\t;\"'%$";
        if (i % 7 == 0) t.clear();
        if (i == 40) t = std::wstring(5000, L'ж');
        w->setText(t);
    }
    // And one typed with real keys.
    MainForm->edit(L"edSurName").focus();
    pump();
    press(VK_END);
    type(L"Петрова");
    Snapshot saved = snapshot();
    ASSERT_EQ(saved.texts.size(), 175u);
    ASSERT_EQ(saved.indices.size(), 41u);
    EXPECT_EQ(saved.texts[L"edSurName"].substr(saved.texts[L"edSurName"].size() - 7), L"Петрова");
    const std::wstring path = folder.file(L"round.Blk");
    save(path);
    ASSERT_TRUE(errors.empty()) << std::string(errors[0].begin(), errors[0].end());

    fillWindow(L"другое", 2);
    ASSERT_NE(snapshot(), saved);
    load(path);
    Snapshot back = snapshot();
    EXPECT_EQ(back.indices, saved.indices);
    for (const auto& [name, text] : saved.texts) EXPECT_EQ(back.texts[name], text) << std::string(name.begin(), name.end());

    // Lines by position: the order of the file, the third completion line before the second.
    auto lines = hostfiles::crlfLines(*hostfiles::readBytes(path));
    ASSERT_EQ(lines.size(), 175u);
    struct Line {
        int number;
        const wchar_t* field;
    };
    const Line byLine[] = {{1, L"edTown"},         {6, L"edSurName"},     {19, L"edEndLern1"},   {20, L"edEndLern3"},
                           {21, L"edEndLern2"},    {26, L"edCourseWork1"}, {33, L"edPraktic4"},   {41, L"edExamMore1"},
                           {50, L"edExamMore10"},  {51, L"edQualify"},    {52, L"edSpec1"},      {55, L"edSpec4"},
                           {56, L"edDiscipline1"}, {95, L"edDiscipline40"}, {96, L"edHours1"},   {135, L"edHours40"}};
    for (const Line& l : byLine)
        EXPECT_EQ(lines[static_cast<size_t>(l.number - 1)], cp1251(saved.texts[l.field])) << l.number;
    EXPECT_EQ(lines[8], std::to_string(saved.indices[L"cbTrial"]));
    EXPECT_EQ(lines[135], std::to_string(saved.indices[L"cbMark1"]));
    EXPECT_EQ(lines[174], std::to_string(saved.indices[L"cbMark40"]));
}

TEST_F(StateFile, TextTypedIntoAComboBoxComesBackAfterSaveAndLoad) {
    ui::ComboBox& mark = MainForm->combo(L"cbMark3");
    MainForm->PageCtrlSet().setActivePage(1);
    pump();
    mark.setItemIndex(4);
    mark.focus();
    pump();
    press(VK_HOME);
    press(VK_END, true);
    type(L"зачтено");
    ASSERT_EQ(mark.text(), L"зачтено");
    MainForm->combo(L"cbTrial").setItemIndex(-1);
    MainForm->combo(L"cbTrial").setText(L"прошел(а)");
    const std::wstring path = folder.file(L"typed.Blk");
    save(path);
    auto lines = hostfiles::crlfLines(*hostfiles::readBytes(path));
    ASSERT_EQ(lines.size(), 177u);
    EXPECT_EQ(lines[8], "-1");
    EXPECT_EQ(lines[137], "-1") << "a reader of 175 lines shows no grade, as for any typed one";
    EXPECT_EQ(lines[175], "cbTrial=" + cp1251(L"прошел(а)"));
    EXPECT_EQ(lines[176], "cbMark3=" + cp1251(L"зачтено"));
    mark.setItemIndex(0);
    MainForm->combo(L"cbTrial").setItemIndex(0);
    load(path);
    EXPECT_EQ(mark.text(), L"зачтено");
    EXPECT_EQ(MainForm->fieldText(L"cbTrial"), L"прошел(а)");
    EXPECT_TRUE(errors.empty());
}

TEST_F(StateFile, LoadingFollowsTheReadingRules) {
    const std::wstring kept = L"было";
    struct Case {
        const char* name;
        std::string bytes;
        bool changes;                                // false: the load fails and the window stays
        std::map<std::wstring, std::wstring> texts;  // besides these, every text is empty
        std::map<std::wstring, int> indices;         // besides these, every index is 0
    };
    const std::vector<std::wstring> eight = {L"a1", L"a2", L"a3", L"a4", L"a5", L"a6", L"a7", L"a8"};
    // Eight texts, the tail, then the values after the tail's `values` ones.
    auto withLines = [&](std::vector<std::wstring> tail, int values) {
        std::vector<std::wstring> l = eight;
        l.insert(l.end(), tail.begin(), tail.end());
        return fileOf(l) + restFrom(8 + values + 1);
    };
    const std::map<std::wstring, std::wstring> eightTexts = {
        {L"edTown", L"a1"},  {L"edSchool1", L"a2"}, {L"edSchool2", L"a3"}, {L"edSchool3", L"a4"},
        {L"edSchool4", L"a5"}, {L"edSurName", L"a6"}, {L"edName", L"a7"},    {L"edBirthDay", L"a8"}};
    auto plus = [](std::map<std::wstring, std::wstring> m, std::map<std::wstring, std::wstring> more) {
        m.insert(more.begin(), more.end());
        return m;
    };
    const Case cases[] = {
        {"an empty file", "", false, {}, {}},
        {"a file that ends early, without a last line end", cp1251(L"Новый\r\nгород"), false, {}, {}},
        {"100 lines of 175", fileOf({L"new"}) + restFrom(2).substr(0, restFrom(2).size() - restFrom(101).size()), false,
         {}, {}},
        {"random bytes", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), false, {}, {}},
        {"a control character in a text", "a\x02" "b\r\n" + restFrom(2), false, {}, {}},
        {"selections, and indices outside the lists",
         fullFile({{9, L"1"}, {136, L"11"}, {137, L"12"}, {138, L"13"}, {139, L"-1"}, {140, L"99"}, {141, L"-7"}}),
         true,
         {{L"cbMark1", L"зачет"}, {L"cbMark2", L"xxxxxxxxxxxxxxxxx"}, {L"cbMark3", L""}, {L"cbMark4", L""},
          {L"cbMark5", L""}, {L"cbMark6", L""}},
         {{L"cbTrial", 1}, {L"cbMark1", 11}, {L"cbMark2", 12}, {L"cbMark3", -1}, {L"cbMark4", -1}, {L"cbMark5", -1},
          {L"cbMark6", -1}}},
        {"an index followed by more on its line", withLines({L" \t1 прошла", L"p1"}, 2), true,
         plus(eightTexts, {{L"edPrevDocum1", L"p1"}}), {{L"cbTrial", 1}}},
        {"an empty index line takes the number of the next line", withLines({L"", L"", L"1", L"p1", L"p2"}, 3), true,
         plus(eightTexts, {{L"edPrevDocum1", L"p1"}, {L"edPrevDocum2", L"p2"}}), {{L"cbTrial", 1}}},
        {"an empty index line before a line of text", withLines({L"", L"прошла"}, 0), false, {}, {}},
        {"letters where an index is due", withLines({L"прошла"}, 0), false, {}, {}},
        {"digits and letters where an index is due", withLines({L"1x"}, 0), false, {}, {}},
        {"a bad grade index after good lines", fullFile({{1, L"new"}, {175, L"five"}}), false, {}, {}},
        {"blanks at both ends stay", fullFile({{1, L"  г. Заречинск  "}, {175, L"  2  "}}), true,
         {{L"edTown", L"  г. Заречинск  "}, {L"cbMark40", L"3 (три)"}}, {{L"cbMark40", 2}}},
        {"CR alone ends a line", "A\rB\r" + restFrom(3), true, {{L"edTown", L"A"}, {L"edSchool1", L"B"}}, {}},
        {"Ctrl+Z ends the file before its last line", fullFile({{1, L"Город"}}).substr(0, 40) + "\x1A" + fullFile({}), false,
         {}, {}},
        {"a long line", fileOf({std::wstring(20000, L'ю')}) + restFrom(2), true, {{L"edTown", std::wstring(20000, L'ю')}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fillWindow(kept, 2);
        Snapshot before = snapshot();
        const std::wstring path = folder.file(L"case.Blk");
        hostfiles::writeBytes(path, c.bytes);
        load(path);
        Snapshot after = snapshot();
        if (!c.changes) {
            EXPECT_EQ(after, before);
            continue;
        }
        for (auto& [name, text] : after.texts) {
            auto want = c.texts.find(name);
            if (want == c.texts.end() && after.indices.count(name)) continue;  // a combo box: by its index below
            EXPECT_EQ(text, want != c.texts.end() ? want->second : std::wstring()) << std::string(name.begin(), name.end());
        }
        for (auto& [name, index] : after.indices) {
            auto want = c.indices.find(name);
            int expected = want != c.indices.end() ? want->second : 0;
            EXPECT_EQ(index, expected) << std::string(name.begin(), name.end());
            if (want == c.indices.end()) {
                // Index 0: "прошел" in cbTrial, "5 (пять)" in a grade box.
                EXPECT_EQ(after.texts[name], name == L"cbTrial" ? L"прошел" : L"5 (пять)");
            }
        }
        EXPECT_TRUE(errors.empty());
    }
}

TEST_F(StateFile, AFileThatCannotBeReadChangesNothingAndSaysNothing) {
    fillWindow(L"было", 3);
    Snapshot before = snapshot();
    CreateDirectoryW(folder.file(L"folder.Blk").c_str(), nullptr);
    const std::wstring locked = folder.file(L"locked.Blk");
    hostfiles::writeBytes(locked, fullFile({{1, L"new"}}));
    HANDLE other = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    for (const wchar_t* name : {L"missing.Blk", L"folder.Blk", L"locked.Blk", L"no folder\\x.Blk"}) {
        load(folder.file(name));
        EXPECT_EQ(snapshot(), before) << std::string(name, name + wcslen(name));
    }
    CloseHandle(other);
    EXPECT_TRUE(errors.empty());
}

TEST_F(StateFile, AFailedSaveLeavesTheOldFileAndSaysWhy) {
    struct Case {
        const char* name;
        std::function<std::wstring()> prepare;  // gives the target
        std::wstring message;
    };
    const std::string old = fullFile({{1, L"старый"}});
    const Case cases[] = {
        {"into a folder that does not exist", [&] { return folder.file(L"нет\\Set1.Blk"); }, L"Invalid filename"},
        {"over a read-only file",
         [&] {
             hostfiles::writeBytes(folder.file(L"ro.Blk"), old);
             SetFileAttributesW(folder.file(L"ro.Blk").c_str(), FILE_ATTRIBUTE_READONLY);
             return folder.file(L"ro.Blk");
         },
         L"File access denied"},
        {"a text the file cannot carry",
         [&] {
             hostfiles::writeBytes(folder.file(L"text.Blk"), old);
             MainForm->edit(L"edSpecial").setText(L"Экономика 中");
             return folder.file(L"text.Blk");
         },
         L"Поле «Специальность» содержит символ, который нельзя сохранить в файле (U+4E2D)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        std::wstring target = c.prepare();
        auto before = hostfiles::readBytes(target);
        auto names = hostfiles::listFolder(folder.path());
        Snapshot window = snapshot();
        save(target);
        EXPECT_EQ(errors, std::vector<std::wstring>{ui::errorBoxText(c.message)});
        EXPECT_EQ(hostfiles::readBytes(target), before);
        EXPECT_EQ(hostfiles::listFolder(folder.path()), names) << "no temporary file is left";
        EXPECT_EQ(snapshot(), window);
    }
}

TEST_F(StateFile, ACharacterTheFileCannotHoldIsShownInItsFieldOnItsPage) {
    MainForm->edit(L"edSurName").focus();
    MainForm->DynControls(62 + 5)->setText(L"36 中");
    save(folder.file(L"x.Blk"));
    EXPECT_EQ(errors, std::vector<std::wstring>{L"Поле «Количество аудиторных часов» в строке 5 на странице 2 содержит "
                                                L"символ, который нельзя сохранить в файле (U+4E2D)."});
    EXPECT_EQ(MainForm->PageCtrlSet().activePage(), 1);
    EXPECT_EQ(focusedName(), L"edHours5");
}

TEST_F(StateFile, UnsavedInputIsNeverThrownAwayWithoutAsking) {
    // Nothing typed since the start, the last Open or the last Save: no question.
    auto answer = [this](int button) -> Script::Step {
        return [this, button] {
            HWND box = findSystemDialog(L"Приложение к Диплому");
            if (!box) return false;
            question = messageBoxText(box);
            PostMessageW(box, WM_COMMAND, button, 0);
            return true;
        };
    };
    auto closeBox = [] { PostMessageW(MainForm->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); };
    MainForm->edit(L"edSurName").focus();
    type(L"Петров");
    struct Case {
        const char* what;
        std::function<void()> trigger;
    };
    const Case goBack[] = {
        {"close box", closeBox},
        {"exit", [] { MainForm->runMenuCommand(MainForm->menuId(L"mnExit")); }},
        {"open", [] { click(*MainForm->toolbar().button(L"sbtOpen")); }},
    };
    for (const Case& c : goBack) {
        SCOPED_TRACE(c.what);
        question.clear();
        Script script({answer(IDCANCEL)});
        c.trigger();
        waitUntil([&] { return script.finished() || script.timedOut(); });
        pump(50);
        EXPECT_EQ(question, L"Введённые данные не сохранены. Сохранить их в файл?");
        EXPECT_NE(MainForm->hwnd(), nullptr);
        EXPECT_EQ(findSystemDialog(), nullptr) << "no open dialog after going back";
        EXPECT_EQ(MainForm->fieldText(L"edSurName"), L"Петров");
    }
    // Save: the save dialog, then the program ends with the input in the file.
    const std::wstring path = folder.file(L"Петров.Blk");
    Script save({answer(IDYES), [&] {
                     HWND dlg = findSystemDialog(L"Сохранить текущее состояние как...");
                     return dlg && confirmFileDialog(dlg, path);
                 }});
    closeBox();
    ui::Application::get().run(*MainForm);
    EXPECT_TRUE(save.finished());
    EXPECT_EQ(MainForm->hwnd(), nullptr);
    auto bytes = hostfiles::readBytes(path);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(hostfiles::crlfLines(*bytes)[5], cp1251(L"Петров"));
    EXPECT_TRUE(errors.empty());
}

TEST_F(StateFile, AfterSaveOrOpenTheProgramEndsWithoutAsking) {
    EXPECT_FALSE(MainForm->Modified());
    MainForm->edit(L"edName").setText(L"Иван");
    EXPECT_TRUE(MainForm->Modified());
    runFileCommand([] { MainForm->runMenuCommand(MainForm->menuId(L"mnSave")); },
                   L"Сохранить текущее состояние как...", folder.file(L"s2.Blk"));
    EXPECT_FALSE(MainForm->Modified());
    MainForm->edit(L"edName").setText(L"Пётр");
    // Discarding (No) and then opening a file: that file is the saved state.
    Script no({[this] {
                   HWND box = findSystemDialog(L"Приложение к Диплому");
                   if (box) PostMessageW(box, WM_COMMAND, IDNO, 0);
                   return box != nullptr;
               },
               [&] {
                   HWND dlg = findSystemDialog(L"Открыть состояние из...");
                   return dlg && confirmFileDialog(dlg, folder.file(L"s2.Blk"));
               }});
    MainForm->runMenuCommand(MainForm->menuId(L"mnOpen"));
    waitUntil([&] { return no.finished() || no.timedOut(); });
    EXPECT_EQ(MainForm->fieldText(L"edName"), L"Иван");
    EXPECT_FALSE(MainForm->Modified());
    PostMessageW(MainForm->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ui::Application::get().run(*MainForm);
    EXPECT_EQ(MainForm->hwnd(), nullptr);
}

TEST_F(StateFile, ASaveOntoAFullDiskLeavesTheOldFile) {
    hostfiles::SmallDisk disk;
    if (!disk.ready()) GTEST_SKIP() << "no small file system for the full-disk case: " << disk.whyNot();
    const std::wstring target = disk.file(L"Set1.Blk");
    const std::string old = fullFile({{1, L"старый"}});
    ASSERT_TRUE(hostfiles::writeBytes(target, old));
    ASSERT_TRUE(disk.fill(L"filler"));
    auto names = hostfiles::listFolder(disk.path());
    // Long texts, so that the new file cannot fit where the old one and the filler leave no room.
    for (int slot = 23; slot <= 62; ++slot) MainForm->DynControls(slot)->setText(std::wstring(300, L'д'));
    save(target);
    EXPECT_EQ(errors, std::vector<std::wstring>{ui::errorBoxText(L"Disk full")});
    EXPECT_EQ(hostfiles::readBytes(target), old);
    EXPECT_EQ(hostfiles::listFolder(disk.path()), names);
}

TEST_F(StateFile, ASaveOverAFileNobodyMayReplaceLeavesIt) {
    const std::wstring target = folder.file(L"Set1.Blk");
    const std::string old = fullFile({{1, L"старый"}});
    ASSERT_TRUE(hostfiles::writeBytes(target, old));
    hostfiles::ImmutableFile lock(target);
    if (!lock.ready()) GTEST_SKIP() << "cannot make an immutable file: " << lock.whyNot();
    save(target);
    lock.release();
    EXPECT_EQ(errors, std::vector<std::wstring>{ui::errorBoxText(L"File access denied")});
    EXPECT_EQ(hostfiles::readBytes(target), old);
    EXPECT_EQ(hostfiles::listFolder(folder.path()), std::vector<std::wstring>{L"Set1.Blk"});
}

}  // namespace
