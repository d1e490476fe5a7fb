// Where the secretary's keys go: into the first field at start, back into her field after
// every window that took the keyboard, onto the other page by Ctrl+Tab; and that a field
// takes all she types.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "shell/main/about_set.h"
#include "shell/main/main_form.h"
#include "shell/offsets/settings_unit.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/program_fixture.h"
#include "ui/utf8.h"

using namespace guitest;
using MainSet::MainForm;

namespace {

class Focus : public ProgramTest {
protected:
    // Runs a command whose window the script closes; returns when both are done.
    static void runClosing(const std::function<void()>& command, std::vector<Script::Step> steps) {
        Script script(std::move(steps));
        command();
        waitUntil([&] { return script.finished() || script.timedOut(); }, 20000);
        EXPECT_TRUE(script.finished());
        pump(100);
    }
    static bool activeIs(HWND h) { return h && IsWindowVisible(h) && GetActiveWindow() == h; }
    static HWND previewOf(rep::TReport& r) {
        rep::TRepPrinter* p = r.RepPrinter();
        auto* w = p ? rep::StandardPreviewOf(*p) : nullptr;
        return w ? w->hwnd() : nullptr;
    }
};

TEST_F(Focus, StartsInTheFirstFieldAndComesBackAfterEveryWindowThatTookIt) {
    EXPECT_EQ(focusedName(), L"edSurName");
    type(L"Ив");
    EXPECT_EQ(MainForm->fieldText(L"edSurName"), L"Ив");

    struct Case {
        const char* what;
        const wchar_t* field;
        std::function<void()> command;
        std::vector<Script::Step> close;
    };
    auto escWhenActive = [](std::function<HWND()> window) -> Script::Step {
        return [window] {
            HWND h = window();
            if (!h || !IsWindowVisible(h)) return false;
            activate(h);
            press(VK_ESCAPE);
            return true;
        };
    };
    auto& sheet1 = SetReport::BlankoSheet1->Report1;
    auto& sheet2 = SetReport2::BlankoSheet2->Report1;
    const Case cases[] = {
        {"about box", L"edTown", [] { click(*MainForm->toolbar().button(L"sbtAbout")); },
         {escWhenActive([] { return AboutSet::About->hwnd(); }), [] { return !AboutSet::About->isModal(); }}},
        {"settings dialog", L"edEntry2", [] { MainForm->runMenuCommand(MainForm->menuId(L"mnSettings")); },
         {[] {
              if (!activeIs(SettingsUnit::Settings->hwnd())) return false;
              press(VK_F4, false, false, true);
              return true;
          },
          [] { return !SettingsUnit::Settings->isModal(); }}},
        {"open dialog", L"edBirthDay", [] { MainForm->runMenuCommand(MainForm->menuId(L"mnOpen")); },
         {[] {
              // Unsaved input: first the question, answered "No".
              HWND d = findSystemDialog(L"Приложение к Диплому");
              if (d) PostMessageW(d, WM_COMMAND, IDNO, 0);
              return d != nullptr;
          },
          [] {
              HWND d = findSystemDialog(L"Открыть состояние из...");
              if (d) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
              return d != nullptr;
          }}},
        {"question box", L"edSpecial", [] { MainForm->runMenuCommand(MainForm->menuId(L"mnExit")); },
         {[] {
              HWND d = findSystemDialog(L"Приложение к Диплому");
              if (d) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
              return d != nullptr;
          }}},
        {"preview of page 1", L"edRegNo", [] { MainForm->runMenuCommand(MainForm->menuId(L"mnPrintSheet1")); },
         {escWhenActive([&] { return previewOf(sheet1); })}},
        {"preview of page 2", L"edHours3", [] { MainForm->runMenuCommand(MainForm->menuId(L"mnPrintSheet2")); },
         {escWhenActive([&] { return previewOf(sheet2); })}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MainForm->showField(*MainForm->control(c.field));
        press(VK_END);
        ASSERT_EQ(focusedName(), c.field);
        runClosing(c.command, c.close);
        EXPECT_TRUE(activeIs(MainForm->hwnd()));
        EXPECT_EQ(focusedName(), c.field);
        const std::wstring before = MainForm->fieldText(c.field);
        type(L"ж");
        EXPECT_EQ(MainForm->fieldText(c.field), before + L"ж") << "what she types next lands in her field";
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(Focus, CtrlTabAndCtrlPageKeysTurnThePagesToTheirFirstField) {
    ui::PageControl& pages = MainForm->PageCtrlSet();
    MainForm->showField(*MainForm->control(L"edExamMore10"));
    struct Step {
        WORD vk;
        bool shift;
        int page;
        const wchar_t* field;
    };
    const Step steps[] = {
        {VK_TAB, false, 1, L"edDiscipline1"}, {VK_TAB, false, 0, L"edSurName"}, {VK_NEXT, false, 1, L"edDiscipline1"},
        {VK_PRIOR, false, 0, L"edSurName"},   {VK_TAB, true, 1, L"edDiscipline1"}, {VK_NEXT, false, 0, L"edSurName"},
    };
    for (const Step& s : steps) {
        press(s.vk, s.shift, true);
        EXPECT_EQ(pages.activePage(), s.page) << s.vk;
        EXPECT_EQ(focusedName(), s.field) << s.vk;
    }
    EXPECT_EQ(MainForm->ScrollBox1().scrollPos(), 0);
}

TEST_F(Focus, FieldsTakeTypingBeyondThirtyThousandCharacters) {
    for (const wchar_t* name : {L"edPrevDocum2", L"edDiscipline1", L"cbMark1"}) {
        SCOPED_TRACE(testing::Message() << ui::toUtf8(name));
        ui::Window& field = *MainForm->control(name);
        field.setText(std::wstring(30000, L'а'));
        MainForm->showField(field);
        press(VK_END);
        type(L"яя");
        EXPECT_EQ(field.text().size(), 30002u);
    }
}

TEST_F(Focus, TheAboutBoxAndTheSettingsAreOwnedByTheMainWindowAndTheAboutBoxTakesItsKeys) {
    auto owned = [](HWND h) {
        return GetWindow(h, GW_OWNER) == MainForm->hwnd() && !(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    };
    bool settingsOwned = false;
    runClosing([] { MainForm->runMenuCommand(MainForm->menuId(L"mnSettings")); },
               {[&] {
                    HWND h = SettingsUnit::Settings->hwnd();
                    if (!activeIs(h)) return false;
                    settingsOwned = owned(h);
                    press(VK_F4, false, false, true);
                    return true;
                }});
    EXPECT_TRUE(settingsOwned);
    // Esc, then Space on the button that Tab reaches, each close the about box.
    for (bool space : {false, true}) {
        bool aboutOwned = false;
        std::wstring focused;
        runClosing([] { MainForm->runMenuCommand(MainForm->menuId(L"mnAbout")); },
                   {[&] {
                        HWND h = AboutSet::About->hwnd();
                        if (!activeIs(h)) return false;
                        aboutOwned = owned(h);
                        press(VK_TAB);
                        focused = focusedName();
                        press(space ? VK_SPACE : VK_ESCAPE);
                        return true;
                    },
                    [] { return !AboutSet::About->isModal(); }});
        EXPECT_TRUE(aboutOwned);
        EXPECT_EQ(focused, L"bbOKAbout");
        EXPECT_FALSE(AboutSet::About->visible()) << (space ? "space" : "escape");
    }
}

}  // namespace
