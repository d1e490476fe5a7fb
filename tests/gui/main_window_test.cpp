// The main window driven as the secretary drives it: keys, clicks and menu commands.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>

#include "report/run/rep_printer.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "shell/main/discipline_table.h"
#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/gui_util.h"
#include "ui/controls.h"
#include "ui/error.h"

using namespace guitest;
using MainSet::MainForm;

namespace {

int previews1 = 0, previews2 = 0;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ui::Application::get().resetTerminated();
        Program::CreateForms();
        previews1 = previews2 = 0;
        SetReport::BlankoSheet1->Report1.OnPreview = [](rep::TRepPrinter&) { ++previews1; };
        SetReport2::BlankoSheet2->Report1.OnPreview = [](rep::TRepPrinter&) { ++previews2; };
        MainForm->show();
        activate(MainForm->hwnd());
    }
    void TearDown() override {
        Program::DestroyForms();
        ui::Application::get().resetTerminated();
        discardMessages();
    }
    static RECT rectIn(ui::Window& w, ui::Window& panel) {
        RECT r;
        GetWindowRect(w.hwnd(), &r);
        MapWindowPoints(HWND_DESKTOP, panel.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static std::vector<std::wstring> tabWalk(int presses) {
        std::vector<std::wstring> seen;
        for (int i = 0; i < presses; ++i) {
            press(VK_TAB);
            seen.push_back(focusedName());
        }
        return seen;
    }
    static std::vector<std::wstring> expectedPage1Order() {
        std::vector<std::wstring> o = {L"edSurName", L"edName", L"edBirthDay", L"edTown", L"edSchool1", L"edSchool2",
                                       L"edSchool3", L"edSchool4", L"edPrevDocum1", L"edPrevDocum2", L"edPrevDocum3",
                                       L"cbTrial", L"edEntry1", L"edEntry2", L"edEntry3", L"edEndLern1", L"edEndLern2",
                                       L"edEndLern3", L"edTimeLern", L"edSpecial", L"edSpecialicy", L"edNumToDipl",
                                       L"edRegNo", L"edDateOut", L"edPresentDate", L"edQualify"};
        for (const wchar_t* g : {L"edSpec", L"edCourseWork", L"edPraktic"})
            for (int i = 1; i <= 4; ++i) o.push_back(g + std::to_wstring(i));
        for (const wchar_t* n : {L"edNameDiplPrj0", L"edNameDiplPrj1", L"edNameDiplPrj2", L"edResult1", L"edResult2",
                                 L"edExamen1", L"edExamen2"})
            o.push_back(n);
        for (int i = 1; i <= 10; ++i) o.push_back(L"edExamMore" + std::to_wstring(i));
        o.push_back(L"bbPrintSheet1");
        return o;
    }
};

TEST_F(MainWindow, FreshStartShowsDefaultsOnPageOneScrolledToTop) {
    EXPECT_EQ(MainForm->text(), L"Приложение к диплому");
    EXPECT_EQ(ui::Application::get().title(), L"Приложение к Диплому");
    SIZE client = MainForm->clientSize();
    EXPECT_EQ(client.cx, 589);
    EXPECT_EQ(client.cy, 370);
    LONG style = GetWindowLongW(MainForm->hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    EXPECT_EQ(MainForm->PageCtrlSet().activePage(), 0);
    EXPECT_EQ(MainForm->ScrollBox1().scrollPos(), 0);
    EXPECT_EQ(MainForm->ScrollBox2().scrollPos(), 0);
    struct Default {
        const wchar_t* field;
        const wchar_t* text;
    };
    const Default defaults[] = {
        {L"edTown", L"г. Заречинск"},
        {L"edSchool1", L"Заречинский Техникум"},
        {L"edSchool2", L"Экономики и Права"},
        {L"edSchool3", L"Межсоюза России"},
        {L"edSchool4", L""},
        {L"edEntry1", L"Заречинский Техникум"},
        {L"edEntry2", L"Экономики и Права Межсоюза России"},
        {L"edEndLern1", L"Заречинском Техникуме"},
        {L"edEndLern2", L"Экономики и Права Межсоюза России"},
        {L"edEndLern3", L""},
        {L"edSurName", L""},
        {L"cbTrial", L"прошел"},
    };
    for (const auto& d : defaults) EXPECT_EQ(MainForm->fieldText(d.field), d.text) << d.field;
    EXPECT_EQ(MainForm->combo(L"cbTrial").itemIndex(), 0);
    EXPECT_EQ(MainForm->combo(L"cbTrial").itemCount(), 2);
    EXPECT_EQ(MainForm->combo(L"cbTrial").item(1), L"прошла");
    for (int slot = 23; slot <= 142; ++slot) EXPECT_EQ(MainForm->DynControls(slot)->text(), L"") << slot;
    for (int i = 1; i <= 40; ++i) EXPECT_EQ(MainForm->combo(L"cbMark" + std::to_wstring(i)).itemIndex(), -1);
    // Only the main window is visible; the other four exist hidden.
    EXPECT_TRUE(IsWindowVisible(MainForm->hwnd()));
    EXPECT_FALSE(IsWindowVisible(SetReport::BlankoSheet1->hwnd()));
    EXPECT_FALSE(IsWindowVisible(SetReport2::BlankoSheet2->hwnd()));
}

TEST_F(MainWindow, TabRunsThroughPageOneInTheFieldTableOrder) {
    MainForm->control(L"edSurName")->focus();
    pump();
    auto expected = expectedPage1Order();
    std::vector<std::wstring> seen = {focusedName()};
    auto rest = tabWalk(static_cast<int>(expected.size()));
    seen.insert(seen.end(), rest.begin(), rest.end());
    // After the last stop the walk wraps to the first.
    expected.push_back(L"edSurName");
    EXPECT_EQ(seen, expected);
}

TEST_F(MainWindow, TabEdgeCasesOfPageOne) {
    struct Step {
        const wchar_t* from;
        const wchar_t* to;
    };
    const Step steps[] = {
        {L"edPraktic4", L"edNameDiplPrj0"}, {L"edNameDiplPrj0", L"edNameDiplPrj1"},
        {L"edExamMore10", L"bbPrintSheet1"}, {L"edQualify", L"edSpec1"},
        {L"edSpec4", L"edCourseWork1"},     {L"edPrevDocum3", L"cbTrial"},
        {L"cbTrial", L"edEntry1"},
    };
    for (const auto& s : steps) {
        MainForm->control(s.from)->focus();
        pump();
        press(VK_TAB);
        EXPECT_EQ(focusedName(), s.to) << s.from;
    }
    // Shift+Tab goes back.
    MainForm->control(L"edNameDiplPrj0")->focus();
    press(VK_TAB, true);
    EXPECT_EQ(focusedName(), L"edPraktic4");
}

TEST_F(MainWindow, TabScrollsTheFocusedFieldIntoView) {
    MainForm->control(L"edExamMore9")->focus();
    press(VK_TAB);
    ASSERT_EQ(focusedName(), L"edExamMore10");
    int pos = MainForm->ScrollBox1().scrollPos();
    RECT r = rectIn(*MainForm->DynControls(22), MainForm->PanelSet1());
    EXPECT_GE(r.top, pos);
    EXPECT_LE(r.bottom, pos + MainForm->ScrollBox1().clientSize().cy);
}

TEST_F(MainWindow, TabOnPageTwoRunsAlongEachRowToThePrintButton) {
    // Switch pages by clicking the second tab.
    ui::TabStrip& tabs = MainForm->PageCtrlSet().tabs();
    const RECT tab = tabs.tabRect(1);
    EXPECT_EQ(tab.right - tab.left, 170);
    click(tabs.hwnd(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ASSERT_EQ(MainForm->PageCtrlSet().activePage(), 1);
    // The field that had the focus is hidden now: the tabs take it, and turn with the arrows.
    ASSERT_EQ(GetFocus(), tabs.hwnd());
    press(VK_LEFT);
    EXPECT_EQ(MainForm->PageCtrlSet().activePage(), 0);
    EXPECT_TRUE(MainForm->PanelSet1().visible());
    press(VK_RIGHT);
    ASSERT_EQ(MainForm->PageCtrlSet().activePage(), 1);
    MainForm->DynControls(23)->focus();
    pump();
    std::vector<std::wstring> expected;
    for (int i = 1; i <= 40; ++i) {
        if (i > 1) expected.push_back(L"edDiscipline" + std::to_wstring(i));
        expected.push_back(L"edHours" + std::to_wstring(i));
        expected.push_back(L"cbMark" + std::to_wstring(i));
    }
    expected.push_back(L"bbPrintSheet2");
    expected.push_back(L"edDiscipline1");
    EXPECT_EQ(tabWalk(static_cast<int>(expected.size())), expected);
}

TEST_F(MainWindow, EnterOnPageOneRunsPrintPageOneAndOnPageTwoNothing) {
    MainForm->control(L"edBirthDay")->focus();
    pump();
    type(L"01.02.2003");
    press(VK_RETURN);
    EXPECT_EQ(previews1, 1);
    EXPECT_EQ(MainForm->fieldText(L"edBirthDay"), L"01.02.2003");
    MainForm->control(L"cbTrial")->focus();
    press(VK_RETURN);
    EXPECT_EQ(previews1, 2);

    MainForm->PageCtrlSet().setActivePage(1);
    MainForm->DynControls(23)->focus();
    pump();
    press(VK_RETURN);
    MainForm->DynControls(103)->focus();
    press(VK_RETURN);
    EXPECT_EQ(previews1, 2);
    EXPECT_EQ(previews2, 0);
}

TEST_F(MainWindow, EveryTriggerReachesItsCommand) {
    // A click is handled when the loop gets to it, which on a busy machine takes a while.
    auto reaches = [](int& count, int n) { return waitUntil([&] { return count == n; }); };
    click(*MainForm->toolbar().button(L"sbtPrint1"));
    EXPECT_TRUE(reaches(previews1, 1));
    click(*MainForm->toolbar().button(L"sbtPrint2"));
    EXPECT_TRUE(reaches(previews2, 1));
    MainForm->runMenuCommand(MainForm->menuId(L"mnPrintSheet1"));
    MainForm->runMenuCommand(MainForm->menuId(L"mnPrintSheet2"));
    EXPECT_EQ(previews1, 2);
    EXPECT_EQ(previews2, 2);
    MainForm->PageCtrlSet().setActivePage(1);
    MainForm->ScrollBox2().scrollTo(1000);
    pump();
    click(*MainForm->control(L"bbPrintSheet2"));
    EXPECT_TRUE(reaches(previews2, 3));
}

TEST_F(MainWindow, DynControlsHoldTheNamedControlsAtTheirPlaces) {
    struct Group {
        const wchar_t* prefix;
        int firstSlot, count, left, top, pitch, width;
        bool page2;
    };
    const Group groups[] = {
        {L"edSpec", 1, 4, 412, 462, 22, 140, false},       {L"edCourseWork", 5, 4, 5, 418, 22, 400, false},
        {L"edPraktic", 9, 4, 5, 530, 22, 400, false},      {L"edExamMore", 13, 10, 5, 815, 22, 400, false},
        {L"edDiscipline", 23, 40, 8, 90, 22, 353, true},   {L"edHours", 63, 40, 376, 90, 22, 65, true},
        {L"cbMark", 103, 40, 456, 90, 22, 95, true},
    };
    for (const auto& g : groups)
        for (int i = 1; i <= g.count; ++i) {
            int slot = g.firstSlot + i - 1;
            ui::Window* w = MainForm->DynControls(slot);
            ASSERT_NE(w, nullptr) << slot;
            EXPECT_EQ(w, MainForm->control(g.prefix + std::to_wstring(i))) << slot;
            ui::Panel& panel = g.page2 ? MainForm->PanelSet2() : MainForm->PanelSet1();
            EXPECT_EQ(GetParent(w->hwnd()), panel.hwnd()) << slot;
            RECT r = rectIn(*w, panel);
            EXPECT_EQ(r.left, g.left) << slot;
            EXPECT_EQ(r.top, g.top + g.pitch * (i - 1)) << slot;
            EXPECT_EQ(r.right - r.left, g.width) << slot;
            int h = dynamic_cast<ui::ComboBox*>(w) ? dynamic_cast<ui::ComboBox*>(w)->fieldHeight() : r.bottom - r.top;
            EXPECT_NEAR(h, 21, 1) << slot;
        }
    EXPECT_EQ(MainForm->DynControls(0), nullptr);
    EXPECT_EQ(MainForm->DynControls(143), nullptr);
    // Row 40 ends at 969, above the print button.
    RECT last = rectIn(*MainForm->DynControls(62), MainForm->PanelSet2());
    EXPECT_EQ(last.bottom, 969);
}

TEST_F(MainWindow, GradeListsHoldThirteenItemsAndShowThemAll) {
    const auto& items = MainSet::GradeItems();
    for (int i = 1; i <= 40; ++i) {
        auto& c = MainForm->combo(L"cbMark" + std::to_wstring(i));
        ASSERT_EQ(c.itemCount(), 13);
        for (int k = 0; k < 13; ++k) EXPECT_EQ(c.item(k), items[static_cast<size_t>(k)]);
        EXPECT_EQ(c.dropDownCount(), 13);
    }
    EXPECT_EQ(MainForm->combo(L"cbMark1").item(12), std::wstring(17, L'x'));
    // The open list is tall enough for every item: no scroll bar.
    MainForm->PageCtrlSet().setActivePage(1);
    auto& c = MainForm->combo(L"cbMark1");
    SetCursorPos(0, 0);
    c.focus();
    c.showDropDown(true);
    pump();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(c.hwnd(), &info));
    RECT lr;
    GetClientRect(info.hwndList, &lr);
    int itemH = static_cast<int>(SendMessageW(c.hwnd(), CB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(lr.bottom, 13 * itemH);
    EXPECT_FALSE(GetWindowLongW(info.hwndList, GWL_STYLE) & WS_VSCROLL && IsWindowVisible(info.hwndList) &&
                 SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0) > 0);
    press(VK_ESCAPE);
    EXPECT_FALSE(c.droppedDown());
    EXPECT_EQ(c.itemIndex(), -1);
    // A grade chosen with the keyboard; one typed by hand is shown the same.
    press(VK_DOWN);
    EXPECT_EQ(c.text(), L"5 (пять)");
    auto& c2 = MainForm->combo(L"cbMark2");
    c2.focus();
    pump();
    type(L"зачтено");
    EXPECT_EQ(c2.text(), L"зачтено");
    EXPECT_EQ(c2.itemIndex(), -1);
}

TEST_F(MainWindow, LabelsAndToolbarAsLaidOut) {
    struct Lbl {
        const wchar_t* name;
        const wchar_t* caption;
        int x, y;
    };
    const Lbl labels[] = {
        {L"lbFIO", L"Фамилия, имя, отчество", 7, 10},
        {L"lbBlkToDipl2", L"к ДИПЛОМУ", 432, 144},
        {L"Label1", L"Решением Государственной аттестационной комиссии", 435, 286},
        {L"lbSpec", L"по специальности", 437, 446},
    };
    const ui::Panel& panel = MainForm->PanelSet1();
    for (const auto& l : labels) {
        const ui::Panel::Caption* c = panel.caption(l.name);
        ASSERT_NE(c, nullptr) << l.name;
        EXPECT_EQ(c->text(), l.caption);
        EXPECT_EQ(c->rect().left, l.x);
        EXPECT_EQ(c->rect().top, l.y);
    }
    LOGFONTW lf{};
    GetObjectW(panel.caption(L"lbBlkToDipl2")->font(), sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    GetObjectW(panel.caption(L"Label1")->font(), sizeof(lf), &lf);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_TRUE(panel.caption(L"Label1")->format() & DT_CENTER);
    // The panel draws them: the caption's box holds text-coloured pixels on screen.
    MainForm->PageCtrlSet().setActivePage(0);
    MainForm->ScrollBox1().scrollTo(0);
    UpdateWindow(MainForm->hwnd());
    const RECT fio = panel.caption(L"lbFIO")->rect();
    EXPECT_GT(darkPixels(panel.hwnd(), RECT{fio.left, fio.top, fio.left + 40, fio.bottom}), 20);

    struct Tool {
        const wchar_t* name;
        int x;
        const wchar_t* hint;
    };
    const Tool tools[] = {
        {L"sbtOpen", 3, L"Открыть настройки"},       {L"sbtSave", 28, L"Сохранить настройки"},
        {L"sbtSet", 87, L""},                        {L"sbtPrint1", 145, L"Печать первой страницы"},
        {L"sbtPrint2", 313, L"Печать второй страницы"}, {L"sbtAbout", 390, L"О программе"},
    };
    ui::ToolBar& bar = MainForm->toolbar();
    ASSERT_EQ(bar.buttons().size(), std::size(tools));
    for (const auto& t : tools) {
        ui::ToolButton* b = bar.button(t.name);
        ASSERT_NE(b, nullptr) << t.name;
        EXPECT_EQ(b->rect().left, t.x);
        EXPECT_EQ(b->rect().top, 2);
        EXPECT_EQ(b->rect().right - b->rect().left, 25);
        EXPECT_EQ(b->hint(), t.hint);
    }
    // The hints' window comes with the first hover over a button that has one, and holds
    // each hint over its button, none over the button without.
    SendMessageW(bar.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(bar.button(L"sbtSet")->rect().left + 5, 5));
    EXPECT_EQ(bar.hintWindow(), nullptr);
    SendMessageW(bar.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(bar.button(L"sbtPrint2")->rect().left + 5, 5));
    ASSERT_NE(bar.hintWindow(), nullptr);
    std::map<LONG, std::wstring> hints;
    for (int i = 0;; ++i) {
        wchar_t text[80]{};
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.lpszText = text;
        if (!SendMessageW(bar.hintWindow(), TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&ti))) break;
        EXPECT_EQ(ti.hwnd, bar.hwnd());
        EXPECT_EQ(ti.rect.right - ti.rect.left, 25);
        hints[ti.rect.left] = text;
    }
    std::map<LONG, std::wstring> expected;
    for (const auto& t : tools)
        if (*t.hint) expected[t.x] = t.hint;
    EXPECT_EQ(hints, expected);
    ui::Window* exit = MainForm->control(L"bbExit");
    EXPECT_EQ(exit->text(), L"Выход");
    EXPECT_EQ(exit->left(), 416);
    EXPECT_EQ(exit->width(), 170);
}

TEST_F(MainWindow, MenuHasItsItemsMnemonicsAndSeparators) {
    HMENU bar = MainForm->menu();
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    auto caption = [](HMENU m, UINT pos) {
        wchar_t buf[128] = {};
        GetMenuStringW(m, pos, buf, 128, MF_BYPOSITION);
        return std::wstring(buf);
    };
    EXPECT_EQ(caption(bar, 0), L"&Файл");
    EXPECT_EQ(caption(bar, 1), L"&Настройки");
    EXPECT_EQ(caption(bar, 2), L"&Бланки");
    EXPECT_EQ(caption(bar, 3), L"&?");
    EXPECT_EQ(GetSubMenu(bar, 1), nullptr);  // runs the command itself
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 10);
    const wchar_t* expected[] = {L"&Открыть...",
                                 L"&Сохранить...",
                                 nullptr,
                                 L"Печать 1-й страницы...",
                                 L"Печать 2-й страницы...",
                                 L"Печать группы...",
                                 L"Калибровочная страница 1...",
                                 L"Калибровочная страница 2...",
                                 nullptr,
                                 L"Вы&ход"};
    for (UINT i = 0; i < 10; ++i) {
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof(mi);
        mi.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(file, i, TRUE, &mi);
        if (!expected[i]) EXPECT_TRUE(mi.fType & MFT_SEPARATOR) << i;
        else EXPECT_EQ(caption(file, i), expected[i]) << i;
    }
    HMENU blanks = GetSubMenu(bar, 2);
    ASSERT_EQ(GetMenuItemCount(blanks), 5);
    EXPECT_EQ(caption(blanks, 0), L"Рисунок бланка 1-й страницы...");
    EXPECT_EQ(caption(blanks, 1), L"Рисунок бланка 2-й страницы...");
    EXPECT_EQ(caption(blanks, 2), L"Убрать рисунки бланков");
    EXPECT_EQ(caption(blanks, 4), L"Уменьшать шрифт значений, не входящих в графу");
    EXPECT_EQ(caption(GetSubMenu(bar, 3), 0), L"О программе...");
}

TEST_F(MainWindow, ExitFromTheMenuEndsTheMessageLoop) {
    // The menu command arrives as the menu sends it.
    PostMessageW(MainForm->hwnd(), WM_COMMAND, MainForm->menuId(L"mnExit"), 0);
    ui::Application::get().run(*MainForm);
    EXPECT_TRUE(ui::Application::get().terminated());
    EXPECT_EQ(MainForm->hwnd(), nullptr);
}

TEST_F(MainWindow, TheExitButtonEndsTheMessageLoop) {
    click(*MainForm->control(L"bbExit"));
    ui::Application::get().run(*MainForm);
    EXPECT_EQ(MainForm->hwnd(), nullptr);
}

TEST_F(MainWindow, TheCloseBoxEndsTheMessageLoopWhenNothingWasTyped) {
    PostMessageW(MainForm->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ui::Application::get().run(*MainForm);
    EXPECT_EQ(MainForm->hwnd(), nullptr);
}

TEST(ProgramStart, TheRestMadeAfterTheFirstPaintGivesTheSameWindow) {
    ui::Application::get().resetTerminated();
    auto form = std::make_unique<MainSet::TMainForm>(true);
    EXPECT_EQ(form->DynControls(1), nullptr);
    EXPECT_EQ(form->control(L"bbPrintSheet1"), nullptr);
    form->show();
    EXPECT_EQ(focusedName(), L"edSurName");
    form->BuildRest();
    EXPECT_EQ(focusedName(), L"edSurName");
    EXPECT_EQ(form->defaultButton(), form->control(L"bbPrintSheet1"));
    // Tab runs from the last field of the first screen on to the first one below it.
    form->control(L"edEndLern3")->focus();
    press(VK_TAB);
    EXPECT_EQ(focusedName(), L"edTimeLern");
    for (int slot = 1; slot <= MainSet::kDynControlCount; ++slot) EXPECT_NE(form->DynControls(slot), nullptr) << slot;
    EXPECT_FALSE(form->Modified());
    form->PageCtrlSet().setActivePage(1);
    form->DynControls(102)->focus();  // row 40's hours
    press(VK_TAB);
    EXPECT_EQ(focusedName(), L"cbMark40");
    press(VK_TAB);
    EXPECT_EQ(focusedName(), L"bbPrintSheet2");
    form.reset();
    MainSet::MainForm = nullptr;
    discardMessages();
}

TEST(ErrorBox, FullStopAppendedAfterCharactersAboveTheFullStop) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    };
    const Case cases[] = {
        {L"Disk full", L"Disk full."}, {L"Готово.", L"Готово."},   {L"Why?", L"Why?."},
        {L"a-", L"a-"},                {L"100%", L"100%"},          {L"", L""},
        {L"x/", L"x/."},               {L"Файл", L"Файл."},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::errorBoxText(c.in), c.out) << c.in;
}

TEST(ErrorBox, AnExceptionInAHandlerIsShownAndTheProgramGoesOn) {
    std::vector<std::wstring> shown;
    ui::Application::get().errorHook = [&](const std::wstring& s) { shown.push_back(s); };
    Program::CreateForms();
    auto& b = dynamic_cast<ui::Button&>(*MainForm->control(L"bbPrintSheet1"));
    b.onClick = [] { throw ui::Error(L"Печать невозможна"); };
    SendMessageW(MainForm->PanelSet1().hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(b.hwnd()));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], L"Печать невозможна.");
    EXPECT_NE(MainForm->hwnd(), nullptr);
    Program::DestroyForms();
    ui::Application::get().errorHook = nullptr;
}

}  // namespace
