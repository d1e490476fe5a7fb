// The print-offset dialog driven by real keys and clicks, with the settings file beside the
// program in every state it can be found in.
#include <gtest/gtest.h>
#include <windows.h>

#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "shell/offsets/print_offsets.h"
#include "shell/offsets/printer_offsets.h"
#include "shell/offsets/settings_unit.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/gui_util.h"
#include "tests/win/host_files.h"
#include "tests/win/printer_env.h"
#include "ui/controls.h"
#include "ui/printer.h"
#include "ui/spin_edit.h"
#include "ui/updown.h"
#include "ui/utf8.h"

using namespace guitest;
using MainSet::MainForm;
using SettingsUnit::PrintOffsets;
using SettingsUnit::Settings;
using SettingsUnit::TPrintOffsets;

namespace {

TPrintOffsets offsets(int x1, int x2, int y1, int y2, int c2, int c3, int font) {
    return TPrintOffsets{x1, x2, y1, y2, c2, c3, font};
}

std::string iniWith(const TPrintOffsets& v) {
    return "[Settings]\r\nDeltaX1=" + std::to_string(v.DeltaX1) + "\r\nDeltaX2=" + std::to_string(v.DeltaX2) +
           "\r\nDeltaY1=" + std::to_string(v.DeltaY1) + "\r\nDeltaY2=" + std::to_string(v.DeltaY2) +
           "\r\nDeltaXColumn2=" + std::to_string(v.DeltaXColumn2) + "\r\nDeltaXColumn3=" +
           std::to_string(v.DeltaXColumn3) + "\r\nFontSizeColumn3=" + std::to_string(v.FontSizeColumn3) + "\r\n";
}

// What the dialog shows: the six value fields in offset order and the font size.
struct Shown {
    std::wstring x1, x2, y1, y2, c2, c3, font;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Shown& s) {
    auto n = [](const std::wstring& w) { return std::string(w.begin(), w.end()); };
    return os << "{" << n(s.x1) << "|" << n(s.x2) << "|" << n(s.y1) << "|" << n(s.y2) << "|" << n(s.c2) << "|"
              << n(s.c3) << "|" << n(s.font) << "}";
}

Shown shown() {
    return {Settings->meSetDeltaX1->text(),    Settings->meSetDeltaX2->text(),    Settings->meSetDeltaY1->text(),
            Settings->meSetDeltaY2->text(),    Settings->meSetDeltaXCol2->text(), Settings->meSetDeltaXCol3->text(),
            Settings->sedFontSizeCol3->field().text()};
}

std::wstring field3(int v) { return ui::UpDown::format(v, 3); }

Shown shownFor(const TPrintOffsets& v) {
    return {field3(v.DeltaX1), field3(v.DeltaX2),       field3(v.DeltaY1),
            field3(v.DeltaY2), field3(v.DeltaXColumn2), field3(v.DeltaXColumn3),
            std::to_wstring(v.FontSizeColumn3)};
}

void mouseButton(HWND hwnd, int x, int y, bool down) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    INPUT in[2] = {mouseAt(p), mouseAt(p, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)};
    SendInput(2, in, sizeof(INPUT));
    pump(30);
}

void setClipboardText(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    ui::GlobalHandle mem(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (void* p = mem ? GlobalLock(mem.get()) : nullptr) {
        memcpy(p, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(mem.get());
        // The clipboard owns the memory once it took it.
        if (SetClipboardData(CF_UNICODETEXT, mem.get())) mem.release();
    }
    CloseClipboard();
}

void selectAllInFocus() {
    press(VK_HOME);
    press(VK_END, true);
}

Script::Step act(std::function<void()> fn) {
    return [fn] {
        fn();
        return true;
    };
}

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ui::Application::get().errorHook = [this](const std::wstring& m) { errors.push_back(m); };
    }
    // Starts the program once the test has laid out the settings file.
    void start() {
        ui::Application::get().resetTerminated();
        Program::CreateForms();
        started = true;
        MainForm->show();
        activate(MainForm->hwnd());
    }
    void TearDown() override {
        if (started) Program::DestroyForms();
        ui::Application::get().errorHook = nullptr;
        ui::Application::get().resetTerminated();
        discardMessages();
        PrintOffsets = TPrintOffsets{};
    }

    static bool dialogUp() { return Settings->visible() && GetActiveWindow() == Settings->hwnd(); }

    // Opens the dialog by the Settings command and runs the steps while it is up; returns
    // once it has closed. The last step must close it (or the script's time runs out).
    void runDialog(std::vector<Script::Step> steps, bool byToolbar = false) {
        steps.insert(steps.begin(), [] { return dialogUp(); });
        steps.push_back([] { return !Settings->isModal(); });
        Script script(std::move(steps));
        if (byToolbar) click(*MainForm->toolbar().button(L"sbtSet"));
        else MainForm->mnSettingsClick();
        waitUntil([&] { return script.finished() || script.timedOut(); });
        EXPECT_TRUE(script.finished());
        EXPECT_FALSE(Settings->visible());
    }

    std::wstring boxText(const std::wstring& message) const { return ui::errorBoxText(message); }

    hostfiles::SavedIni ini;
    std::vector<std::wstring> errors;
    bool started = false;
};

TEST_F(SettingsDialog, IsLaidOutAsTheFormSays) {
    start();
    EXPECT_EQ(Settings->text(), L"Настройки");
    SIZE client = Settings->clientSize();
    // The form's 154 px, and a column beside it for millimetres, corrections and whose set.
    EXPECT_EQ(client.cx, 330);
    EXPECT_EQ(client.cy, 293);
    LONG style = GetWindowLongW(Settings->hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & WS_SYSMENU) << "no close box";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(style & WS_DLGFRAME);
    EXPECT_FALSE(Settings->visible()) << "hidden until the Settings command";
    RECT wr;
    GetWindowRect(Settings->hwnd(), &wr);
    EXPECT_NEAR((wr.left + wr.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((wr.top + wr.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    LOGFONTW lf{};
    GetObjectW(Settings->font(), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(lf.lfHeight, -11);

    struct Place {
        const wchar_t* name;
        const wchar_t* parent;
        int x, y, w, h;  // w, h 0: sized to the caption
        const wchar_t* text;
    };
    const Place places[] = {
        {L"Label1", L"Settings", 5, 1, 145, 16, L"Значение подстроек"},
        {L"SetGroupBox1", L"Settings", 2, 20, 150, 70, L"для 1-ой страницы"},
        {L"Label2", L"SetGroupBox1", 8, 19, 0, 0, L"По горизонтали"},
        {L"meSetDeltaX1", L"SetGroupBox1", 97, 17, 30, 21, L"  0"},
        {L"UpDownSetDeltaX1", L"SetGroupBox1", 127, 17, 11, 21, nullptr},
        {L"Label3", L"SetGroupBox1", 8, 43, 0, 0, L"По вертикали"},
        {L"meSetDeltaY1", L"SetGroupBox1", 97, 42, 30, 21, L"  0"},
        {L"UpDownSetDeltaY1", L"SetGroupBox1", 127, 42, 11, 21, nullptr},
        {L"SetGroupBox2", L"Settings", 2, 90, 150, 70, L"для 2-ой страницы"},
        {L"Label4", L"SetGroupBox2", 8, 19, 0, 0, L"По горизонтали"},
        {L"meSetDeltaX2", L"SetGroupBox2", 97, 17, 30, 21, L"  0"},
        {L"UpDownSetDeltaX2", L"SetGroupBox2", 127, 17, 11, 21, nullptr},
        {L"Label5", L"SetGroupBox2", 8, 43, 0, 0, L"По вертикали"},
        {L"meSetDeltaY2", L"SetGroupBox2", 97, 42, 30, 21, L"  0"},
        {L"UpDownSetDeltaY2", L"SetGroupBox2", 127, 42, 11, 21, nullptr},
        {L"SetGroupBox3", L"Settings", 2, 160, 150, 70, L"Смещения на 2 странице"},
        {L"Label6", L"SetGroupBox3", 8, 19, 0, 0, L"2 колонка"},
        {L"meSetDeltaXCol2", L"SetGroupBox3", 97, 17, 30, 21, L"  0"},
        {L"UpDownSetDeltaXCol2", L"SetGroupBox3", 127, 17, 11, 21, nullptr},
        {L"Label7", L"SetGroupBox3", 8, 43, 0, 0, L"3 колонка"},
        {L"meSetDeltaXCol3", L"SetGroupBox3", 97, 42, 30, 21, L"  0"},
        {L"UpDownSetDeltaXCol3", L"SetGroupBox3", 127, 42, 11, 21, nullptr},
        {L"Label8", L"Settings", 8, 234, 86, 26, L"Размер шрифта 3-ей колонки"},
        {L"sedFontSizeCol3", L"Settings", 102, 238, 44, 22, nullptr},
        {L"BitBtnOK", L"Settings", 2, 265, 150, 25, L"OK"},
        {L"lbMmDeltaX1", L"Settings", 158, 41, 62, 14, L"0,00 мм"},
        {L"edMmDeltaX1", L"Settings", 226, 37, 50, 21, L""},
        {L"lbMmDeltaXCol3", L"Settings", 158, 206, 62, 14, L"0,00 мм"},
        {L"edMmDeltaXCol3", L"Settings", 226, 202, 50, 21, L""},
        {L"cbWhose", L"Settings", 158, 244, 0, 0, L"для всех принтеров"},
        {L"bbCopyCommon", L"Settings", 158, 268, 82, 22, L"Взять общие"},
        {L"BitBtnCancel", L"Settings", 244, 265, 82, 25, L"Отмена"},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(std::string(p.name, p.name + wcslen(p.name)));
        ui::Window* w = Settings->control(p.name);
        ASSERT_NE(w, nullptr);
        ASSERT_NE(w->parentWindow(), nullptr);
        EXPECT_EQ(w->parentWindow()->name, p.parent);
        EXPECT_EQ(w->left(), p.x);
        EXPECT_EQ(w->top(), p.y);
        if (p.w) {
            EXPECT_EQ(w->width(), p.w);
            EXPECT_EQ(w->height(), p.h);
        }
        if (p.text) {
            EXPECT_EQ(w->text(), p.text);
        }
    }
    EXPECT_TRUE(GetWindowLongW(Settings->Label1->hwnd(), GWL_STYLE) & SS_RIGHT);
    GetObjectW(Settings->Label1->font(), sizeof lf, &lf);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfHeight, -13);
    for (ui::Edit* e : {Settings->meSetDeltaX1, Settings->meSetDeltaY1, Settings->meSetDeltaX2, Settings->meSetDeltaY2,
                        Settings->meSetDeltaXCol2, Settings->meSetDeltaXCol3}) {
        LONG es = GetWindowLongW(e->hwnd(), GWL_STYLE);
        EXPECT_TRUE(es & ES_READONLY) << e->name;
        EXPECT_TRUE(es & ES_RIGHT) << e->name;
    }
    for (ui::UpDown* u : {Settings->UpDownSetDeltaX1, Settings->UpDownSetDeltaY1, Settings->UpDownSetDeltaX2,
                          Settings->UpDownSetDeltaY2, Settings->UpDownSetDeltaXCol2, Settings->UpDownSetDeltaXCol3}) {
        EXPECT_EQ(u->min(), -200) << u->name;
        EXPECT_EQ(u->max(), 200) << u->name;
        EXPECT_EQ(u->position(), 0) << u->name;
    }
    EXPECT_EQ(Settings->UpDownSetDeltaX1->associated(), Settings->meSetDeltaX1);
    EXPECT_EQ(Settings->UpDownSetDeltaXCol3->associated(), Settings->meSetDeltaXCol3);
    EXPECT_EQ(Settings->sedFontSizeCol3->minValue(), -200);
    EXPECT_EQ(Settings->sedFontSizeCol3->maxValue(), 200);
    EXPECT_EQ(Settings->sedFontSizeCol3->value(), 10);
    EXPECT_EQ(Settings->defaultButton(), Settings->BitBtnOK);
    EXPECT_TRUE(Settings->BitBtnOK->isDefault());
}

TEST_F(SettingsDialog, WithoutAFileTheDialogMakesTheStubAndOkAddsTheSevenKeys) {
    start();
    EXPECT_EQ(PrintOffsets, offsets(0, 0, 0, 0, 0, 0, 10));
    std::optional<std::string> whileOpen;
    Shown shownWhileOpen;
    runDialog({act([&] {
                   whileOpen = ini.read();
                   shownWhileOpen = shown();
               }),
               act([] { click(*Settings->BitBtnOK); })},
              true);
    EXPECT_EQ(whileOpen, std::string("[Settings]\r\n"));
    EXPECT_EQ(shownWhileOpen, shownFor(offsets(0, 0, 0, 0, 0, 0, 10)));
    ASSERT_TRUE(ini.read());
    EXPECT_EQ(hostfiles::crlfLines(*ini.read()),
              (std::vector<std::string>{"[Settings]", "DeltaX1=0", "DeltaX2=0", "DeltaY1=0", "DeltaY2=0",
                                        "DeltaXColumn2=0", "DeltaXColumn3=0", "FontSizeColumn3=10"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsDialog, ShowsWhatTheFileHoldsWhenItOpens) {
    const Shown defaults = shownFor(offsets(0, 0, 0, 0, 0, 0, 10));
    struct Case {
        const char* name;
        std::string file;
        TPrintOffsets atStart;
        Shown inDialog;
        TPrintOffsets afterOk;
        bool asks = false;  // OK asks first: the file holds a bad value
    };
    const Case cases[] = {
        {"all seven keys", iniWith(offsets(-15, 7, 150, -150, 3, -3, 12)), offsets(-15, 7, 150, -150, 3, -3, 12),
         {L"-15", L"  7", L"150", L"-150", L"  3", L" -3", L"12"}, offsets(-15, 7, 150, -150, 3, -3, 12)},
        {"letters in one key", "[Settings]\r\nDeltaX1=5\r\nDeltaY2=abc\r\nFontSizeColumn3=14\r\n",
         offsets(0, 0, 0, 0, 0, 0, 10), defaults, offsets(0, 0, 0, 0, 0, 0, 10), true},
        {"an empty key", "[Settings]\r\nDeltaX1=\r\nDeltaX2=4\r\n", offsets(0, 0, 0, 0, 0, 0, 10), defaults,
         offsets(0, 0, 0, 0, 0, 0, 10), true},
        {"a missing key takes its default alone", "[Settings]\r\nDeltaX1=5\r\nDeltaY2=-6\r\nDeltaXColumn3=9\r\n",
         offsets(5, 0, 0, -6, 0, 9, 10), {L"  5", L"  0", L"  0", L" -6", L"  0", L"  9", L"10"},
         offsets(5, 0, 0, -6, 0, 9, 10)},
        // The up-downs go no further than 200: they show the value clamped, and OK keeps the
        // value as it was unless it is moved: looking at the settings changes nothing.
        {"values beyond the range", iniWith(offsets(500, -201, 200, -200, 0, 0, 300)),
         offsets(500, -201, 200, -200, 0, 0, 300), {L"200", L"-200", L"200", L"-200", L"  0", L"  0", L"200"},
         offsets(500, -201, 200, -200, 0, 0, 300)},
        // A shift past the paper is not in effect: the sheets print with the defaults, and the
        // dialog shows them.
        {"a shift off the paper", iniWith(offsets(100000, 0, 0, 0, 0, 0, 10)), offsets(100000, 0, 0, 0, 0, 0, 10),
         defaults, offsets(0, 0, 0, 0, 0, 0, 10), true},
    };
    std::vector<std::wstring> asked;
    SettingsUnit::TSettings::AskHook = [&](const std::wstring& q) {
        asked.push_back(q);
        return true;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        asked.clear();
        ini.write(c.file);
        start();
        EXPECT_EQ(PrintOffsets, c.atStart);
        Shown inDialog;
        TPrintOffsets whileOpen;
        runDialog({act([&] {
                       inDialog = shown();
                       whileOpen = PrintOffsets;
                   }),
                   act([] { press(VK_RETURN); })});
        EXPECT_EQ(inDialog, c.inDialog);
        EXPECT_EQ(whileOpen, c.atStart) << "the dialog alone does not change the offsets";
        EXPECT_EQ(PrintOffsets, c.afterOk);
        TPrintOffsets stored;
        EXPECT_TRUE(SettingsUnit::ReadPrintOffsets(stored));
        EXPECT_EQ(stored, c.afterOk);
        EXPECT_TRUE(errors.empty());
        // A set the file holds a bad value of is written over only once she has said yes.
        EXPECT_EQ(asked.size(), c.asks ? 1u : 0u);
        if (c.asks && !asked.empty()) {
            EXPECT_NE(asked[0].find(L"[Settings]"), std::wstring::npos) << ui::toUtf8(asked[0]);
        }
        Program::DestroyForms();
        started = false;
    }
    SettingsUnit::TSettings::AskHook = nullptr;
}

TEST_F(SettingsDialog, ABadValueIsNamedOnceAtStartAndNotWrittenOverWithoutHerYes) {
    const std::string file = "[Settings]\r\n; mine\r\nDeltaX1=5\r\nDeltaY2=abc\r\nFontSizeColumn3=14\r\n"
                             "[Printer: A[1]]\r\nDeltaY1=x\r\n";
    ini.write(file);
    std::wstring told;
    SettingsUnit::IniProblemsHook = [&](const std::wstring& m) { told = m; };
    SettingsUnit::TellIniProblems();
    SettingsUnit::IniProblemsHook = nullptr;
    EXPECT_NE(told.find(L"в разделе [Settings] значение DeltaY2 = «abc» — не целое число"), std::wstring::npos)
        << ui::toUtf8(told);
    EXPECT_NE(told.find(L"в разделе [Printer: A[1] значение DeltaY1 = «x»"), std::wstring::npos) << ui::toUtf8(told);
    EXPECT_NE(told.find(L"по умолчанию"), std::wstring::npos);

    start();
    std::wstring asked;
    bool openAfterNo = false;
    SettingsUnit::TSettings::AskHook = [&](const std::wstring& q) {
        asked = q;
        return false;
    };
    int refusedItem = -1;
    std::size_t refusals = 0;
    runDialog({act([&] {
                   press(VK_RETURN);
                   pump(50);
                   openAfterNo = Settings->visible();
                   // A printer whose name the file cannot hold is refused when chosen.
                   for (int i = 0; i < Settings->cbWhose->itemCount(); ++i)
                       if (Settings->cbWhose->item(i) == L"принтера «A[1»") refusedItem = i;
                   if (refusedItem > 0) ui::guarded([&] { Settings->ChooseSet(refusedItem); });
                   refusals = errors.size();
                   click(*Settings->BitBtnCancel);
               })});
    SettingsUnit::TSettings::AskHook = nullptr;
    EXPECT_NE(asked.find(L"DeltaY2"), std::wstring::npos) << ui::toUtf8(asked);
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(ini.read(), file) << "nothing written";
    ASSERT_GT(refusedItem, 0);
    EXPECT_EQ(refusals, 1u);
    EXPECT_EQ(Settings->EditedPrinter(), L"");
}

TEST_F(SettingsDialog, ShowsTheFileAsItIsNowNotTheOffsetsOfTheStart) {
    ini.write(iniWith(offsets(1, 2, 4, 0, 0, 0, 10)));
    start();
    ini.write(iniWith(offsets(1, 2, -9, 0, 0, 0, 14)));
    Shown inDialog;
    TPrintOffsets whileOpen;
    runDialog({act([&] {
                   inDialog = shown();
                   whileOpen = PrintOffsets;
               }),
               act([] { click(*Settings->BitBtnOK); })});
    EXPECT_EQ(inDialog, shownFor(offsets(1, 2, -9, 0, 0, 0, 14)));
    EXPECT_EQ(whileOpen, offsets(1, 2, 4, 0, 0, 0, 10));
    EXPECT_EQ(PrintOffsets, offsets(1, 2, -9, 0, 0, 0, 14));
}

TEST_F(SettingsDialog, TabRunsThroughTheButtonAndTheBoxesInTheirOrder) {
    start();
    // Each correction follows its offset; the copy button is off while the set for all
    // printers is shown.
    const std::vector<std::wstring> order{L"BitBtnOK",        L"meSetDeltaX2",   L"edMmDeltaX2",     L"meSetDeltaY2",
                                          L"edMmDeltaY2",     L"meSetDeltaX1",   L"edMmDeltaX1",     L"meSetDeltaY1",
                                          L"edMmDeltaY1",     L"meSetDeltaXCol2", L"edMmDeltaXCol2", L"meSetDeltaXCol3",
                                          L"edMmDeltaXCol3",  L"sedFontSizeCol3", L"cbWhose",        L"BitBtnOK"};
    const int stops = static_cast<int>(order.size()) - 1;
    std::vector<std::wstring> forward, parents, backward;
    auto named = [] {
        // The spin edit's and the list's own fields stand for them.
        const std::wstring parent = nameOf(GetParent(GetFocus()));
        return parent == L"sedFontSizeCol3" || parent == L"cbWhose" ? parent : focusedName();
    };
    runDialog({act([&] {
                   forward.push_back(named());
                   for (int i = 0; i < stops; ++i) {
                       press(VK_TAB);
                       forward.push_back(named());
                       parents.push_back(nameOf(GetParent(GetFocus())));
                   }
                   for (int i = 0; i < stops; ++i) {
                       press(VK_TAB, true);
                       backward.push_back(named());
                   }
               }),
               act([] { press(VK_RETURN); })});
    EXPECT_EQ(forward, order);
    EXPECT_EQ(parents, (std::vector<std::wstring>{L"SetGroupBox2", L"Settings", L"SetGroupBox2", L"Settings",
                                                  L"SetGroupBox1", L"Settings", L"SetGroupBox1", L"Settings",
                                                  L"SetGroupBox3", L"Settings", L"SetGroupBox3", L"Settings",
                                                  L"sedFontSizeCol3", L"cbWhose", L"Settings"}));
    EXPECT_EQ(backward, std::vector<std::wstring>(order.rbegin() + 1, order.rend()));
}

TEST_F(SettingsDialog, ArrowsStepTheOffsetsWithinTheirRangeAndTypingChangesNothing) {
    start();
    std::vector<std::pair<std::wstring, std::wstring>> seen;  // what the field showed, what was expected
    auto expectShown = [&](ui::Edit* e, const std::wstring& want) { seen.push_back({e->text(), want}); };
    runDialog({act([&] {
                   press(VK_TAB);  // meSetDeltaX2
                   for (int i = 0; i < 3; ++i) press(VK_UP);
                   expectShown(Settings->meSetDeltaX2, L"  3");
                   for (int i = 0; i < 5; ++i) press(VK_DOWN);
                   expectShown(Settings->meSetDeltaX2, L" -2");
                   // Typing, deleting and pasting leave the field as it is.
                   type(L"12a-");
                   press(VK_BACK);
                   press(VK_DELETE);
                   expectShown(Settings->meSetDeltaX2, L" -2");
                   setClipboardText(L"77");
                   SendMessageW(Settings->meSetDeltaX2->hwnd(), WM_PASTE, 0, 0);
                   press('V', false, true);
                   expectShown(Settings->meSetDeltaX2, L" -2");
                   // The ends of the range hold.
                   Settings->UpDownSetDeltaX2->setPosition(198);
                   for (int i = 0; i < 4; ++i) press(VK_UP);
                   expectShown(Settings->meSetDeltaX2, L"200");
                   press(VK_TAB);
                   press(VK_TAB);  // past its correction to meSetDeltaY2
                   Settings->UpDownSetDeltaY2->setPosition(-149);
                   press(VK_DOWN);
                   expectShown(Settings->meSetDeltaY2, L"-150");
                   Settings->UpDownSetDeltaY2->setPosition(-199);
                   for (int i = 0; i < 3; ++i) press(VK_DOWN);
                   expectShown(Settings->meSetDeltaY2, L"-200");
                   // The arrows take the mouse too: the upper one up, the lower one down.
                   HWND arrows = Settings->UpDownSetDeltaY1->hwnd();
                   click(arrows, 5, 4);
                   click(arrows, 5, 4);
                   click(arrows, 5, 16);
                   expectShown(Settings->meSetDeltaY1, L"  1");
                   press(VK_UP);  // the click left the keyboard in the field
                   expectShown(Settings->meSetDeltaY1, L"  2");
               }),
               act([] { press(VK_RETURN); })});
    for (const auto& [got, want] : seen) EXPECT_EQ(got, want);
    EXPECT_EQ(PrintOffsets, offsets(0, 200, 2, -200, 0, 0, 10));
    EXPECT_EQ(ini.read(), iniWith(offsets(0, 200, 2, -200, 0, 0, 10)));
}

TEST_F(SettingsDialog, EveryOffsetFitsItsFieldInFull) {
    start();
    ui::Edit& field = *Settings->meSetDeltaY2;
    RECT text{};
    SendMessageW(field.hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    ui::WindowDC dc(field.hwnd());
    ui::SelectGuard sel(dc.get(), field.font());
    for (int v = -200; v <= 200; ++v) {
        Settings->UpDownSetDeltaY2->setPosition(v);
        std::wstring s = field.text();
        ASSERT_EQ(std::stoi(s), v);
        SIZE ext{};
        GetTextExtentPoint32W(dc.get(), s.c_str(), static_cast<int>(s.size()), &ext);
        EXPECT_LE(ext.cx, text.right - text.left) << v;
    }
}

TEST_F(SettingsDialog, TheFontSizeTakesDigitsOnlyAndClampsWhenSteppedOrLeft) {
    start();
    std::vector<wchar_t> refused;
    Settings->sedFontSizeCol3->onRefusedKey = [&](wchar_t c) { refused.push_back(c); };
    wchar_t sep[4] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, 4);
    std::vector<std::pair<std::wstring, std::wstring>> seen;
    auto text = [] { return Settings->sedFontSizeCol3->field().text(); };
    auto expectText = [&](const std::wstring& want) { seen.push_back({text(), want}); };
    runDialog({act([&] {
                   press(VK_TAB, true);
                   press(VK_TAB, true);  // from OK past the list of sets back to the spin edit
                   selectAllInFocus();
                   type(L"abcЖ ");
                   expectText(L"10");
                   type(L"-15");
                   expectText(L"-15");
                   press(VK_UP);
                   expectText(L"-14");
                   press(VK_DOWN);
                   press(VK_DOWN);
                   expectText(L"-16");
                   selectAllInFocus();
                   type(L"+1");
                   type(std::wstring(1, sep[0]));
                   type(L"5");
                   expectText(L"+1" + std::wstring(1, sep[0]) + L"5");
                   selectAllInFocus();
                   type(L"199");
                   press(VK_UP);
                   press(VK_UP);
                   expectText(L"200");
                   selectAllInFocus();
                   type(L"-199");
                   press(VK_DOWN);
                   press(VK_DOWN);
                   expectText(L"-200");
                   // Leaving the field clamps what was typed.
                   selectAllInFocus();
                   type(L"500");
                   press(VK_TAB);
                   expectText(L"200");
                   // Its buttons step by one, a click at a time.
                   HWND buttons = Settings->sedFontSizeCol3->buttons();
                   Settings->sedFontSizeCol3->setValue(20);
                   click(buttons, 7, 3);
                   expectText(L"21");
                   click(buttons, 7, 15);
                   click(buttons, 7, 15);
                   expectText(L"19");
                   // Cleared, it counts as the minimum.
                   selectAllInFocus();
                   press(VK_DELETE);
                   expectText(L"");
               }),
               act([] { press(VK_RETURN); })});
    for (const auto& [got, want] : seen) EXPECT_EQ(got, want);
    EXPECT_EQ(refused, (std::vector<wchar_t>{L'a', L'b', L'c', L'Ж', L' '}));
    EXPECT_EQ(PrintOffsets.FontSizeColumn3, -200);
    EXPECT_EQ(hostfiles::crlfLines(*ini.read()).back(), "FontSizeColumn3=-200");
}

TEST_F(SettingsDialog, ATypedFontSizeBeyondTheRangeIsStoredClampedByEnter) {
    start();
    runDialog({act([] {
                   press(VK_TAB, true);
                   press(VK_TAB, true);
                   selectAllInFocus();
                   type(L"500");
               }),
               act([] { press(VK_RETURN); })});
    EXPECT_EQ(PrintOffsets.FontSizeColumn3, 200);
}

TEST_F(SettingsDialog, AHeldSpinButtonRepeatsUntilReleased) {
    start();
    int afterHold = 0, afterRelease = 0, atTop = 0;
    runDialog({act([&] {
                   HWND buttons = Settings->sedFontSizeCol3->buttons();
                   Settings->sedFontSizeCol3->setValue(0);
                   mouseButton(buttons, 7, 3, true);
                   waitUntil([&] { return Settings->sedFontSizeCol3->value() > 5; });
                   mouseButton(buttons, 7, 3, false);
                   afterHold = Settings->sedFontSizeCol3->value();
                   // Three repeat intervals without a step.
                   pump(300);
                   afterRelease = Settings->sedFontSizeCol3->value();
                   // Held at the top of the range, it stays there.
                   Settings->sedFontSizeCol3->setValue(198);
                   mouseButton(buttons, 7, 3, true);
                   waitUntil([&] { return Settings->sedFontSizeCol3->value() == 200; });
                   pump(300);
                   mouseButton(buttons, 7, 3, false);
                   atTop = Settings->sedFontSizeCol3->value();
               }),
               act([] { press(VK_RETURN); })});
    // One step at the press, then the repeat.
    EXPECT_GT(afterHold, 5);
    EXPECT_EQ(afterRelease, afterHold);
    EXPECT_EQ(atTop, 200);
    EXPECT_EQ(PrintOffsets.FontSizeColumn3, 200);
}

TEST_F(SettingsDialog, OkIsTheDefaultButtonAndEscapeOrCancelCloseWithoutWriting) {
    ini.write(iniWith(offsets(0, 0, 0, 0, 0, 0, 10)));
    start();
    const auto before = ini.read();
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Esc" : "Отмена");
        bool openAfter = true;
        runDialog({act([&] {
                       press(VK_TAB);
                       press(VK_UP);
                       if (escape) press(VK_ESCAPE);
                       else click(*Settings->BitBtnCancel);
                       pump(50);
                       openAfter = Settings->visible();
                   })});
        EXPECT_FALSE(openAfter);
        EXPECT_EQ(PrintOffsets.DeltaX2, 0);
        EXPECT_EQ(ini.read(), before);
    }
    runDialog({act([] {
        press(VK_TAB);
        press(VK_UP);
        press(VK_RETURN);
    })});
    EXPECT_EQ(PrintOffsets.DeltaX2, 1);
}

TEST_F(SettingsDialog, TheMenuItemOpensItAndEachShowingReloadsTheFile) {
    start();
    Shown second;
    Script first({[] { return dialogUp(); }, act([] {
                      for (int i = 0; i < 4; ++i) press(VK_TAB, true);  // meSetDeltaXCol3
                      press(VK_UP);
                      press(VK_RETURN);
                  }),
                  [] { return !Settings->isModal(); }});
    MainForm->runMenuCommand(MainForm->menuId(L"mnSettings"));
    waitUntil([&] { return first.finished() || first.timedOut(); });
    EXPECT_TRUE(first.finished());
    EXPECT_EQ(PrintOffsets.DeltaXColumn3, 1);
    // The file changed meanwhile: the next showing takes it.
    ini.write(iniWith(offsets(0, 0, 0, 0, 0, 8, 10)));
    runDialog({act([&] { second = shown(); }), act([] { press(VK_RETURN); })});
    EXPECT_EQ(second.c3, L"  8");
    // Without a file, the next showing makes the stub and the controls keep their values.
    ini.clear();
    Shown third;
    std::optional<std::string> stub;
    runDialog({act([&] {
                   third = shown();
                   stub = ini.read();
               }),
               act([] { press(VK_RETURN); })});
    EXPECT_EQ(third.c3, L"  8");
    EXPECT_EQ(stub, std::string("[Settings]\r\n"));
    EXPECT_EQ(ini.read(), iniWith(offsets(0, 0, 0, 0, 0, 8, 10)));
}

TEST_F(SettingsDialog, AFileThatCannotBeCreatedIsReportedAndTheDialogStaysOpen) {
    // A folder stands where the file should be: it can be neither read nor created.
    CreateDirectoryW(ini.path().c_str(), nullptr);
    start();
    EXPECT_EQ(PrintOffsets, offsets(0, 0, 0, 0, 0, 0, 10));
    const std::wstring message = boxText(L"Cannot create file " + ini.path());
    std::vector<std::wstring> atOpen, afterOk;
    bool openAfterOk = false;
    TPrintOffsets offsetsAfterOk;
    runDialog({act([&] {
                   atOpen = errors;
                   press(VK_TAB);
                   press(VK_UP);
                   click(*Settings->BitBtnOK);
                   pump(50);
                   afterOk = errors;
                   openAfterOk = Settings->visible();
                   offsetsAfterOk = PrintOffsets;
                   RemoveDirectoryW(ini.path().c_str());
                   click(*Settings->BitBtnOK);
               })});
    EXPECT_EQ(atOpen, std::vector<std::wstring>{message});
    EXPECT_EQ(afterOk, (std::vector<std::wstring>{message, message}));
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(offsetsAfterOk, offsets(0, 1, 0, 0, 0, 0, 10)) << "the offsets hold the new values at once";
    EXPECT_EQ(ini.read(), iniWith(offsets(0, 1, 0, 0, 0, 0, 10)));
    EXPECT_EQ(errors.size(), 2u);
}

TEST_F(SettingsDialog, ClosingTheErrorBoxDoesNotRunTheActivationAgain) {
    CreateDirectoryW(ini.path().c_str(), nullptr);
    start();
    ui::Application::get().errorHook = nullptr;  // the real error box
    std::vector<std::wstring> boxes;
    auto closeBoxes = [&] {
        if (HWND box = findSystemDialog(L"Приложение к Диплому")) {
            if (GetWindow(box, GW_OWNER) == Settings->hwnd()) {
                boxes.push_back(messageBoxText(box));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
    };
    DWORD quietUntil = 0;
    Script script({[&] {
                       closeBoxes();
                       return !boxes.empty();
                   },
                   [&] {
                       if (!quietUntil) quietUntil = GetTickCount() + 1000;
                       closeBoxes();
                       return static_cast<LONG>(GetTickCount() - quietUntil) > 0 && dialogUp();
                   },
                   act([&] {
                       RemoveDirectoryW(ini.path().c_str());
                       click(*Settings->BitBtnOK);
                   }),
                   [] { return !Settings->isModal(); }});
    MainForm->mnSettingsClick();
    waitUntil([&] { return script.finished() || script.timedOut(); });
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(boxes, std::vector<std::wstring>{boxText(L"Cannot create file " + ini.path())});
    EXPECT_TRUE(ini.read());
}

TEST_F(SettingsDialog, KeysThatCannotBeWrittenAreReportedAndTheDialogStaysOpen) {
    struct Case {
        const char* name;
        std::function<std::optional<std::string>(std::function<void()>&)> lock;  // why not, or how to undo
    };
    ini.write(iniWith(offsets(3, 0, 0, 0, 0, 0, 10)));
    std::unique_ptr<hostfiles::ImmutableFile> immutable;
    HANDLE held = INVALID_HANDLE_VALUE;
    const Case cases[] = {
        {"another program holds the file",
         [&](std::function<void()>& undo) -> std::optional<std::string> {
             held = CreateFileW(ini.path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             if (held == INVALID_HANDLE_VALUE) return "cannot open the file";
             undo = [&] {
                 CloseHandle(held);
                 held = INVALID_HANDLE_VALUE;
             };
             return std::nullopt;
         }},
        {"the file is immutable",
         [&](std::function<void()>& undo) -> std::optional<std::string> {
             immutable = std::make_unique<hostfiles::ImmutableFile>(ini.path());
             if (!immutable->ready()) return immutable->whyNot();
             undo = [&] { immutable->release(); };
             return std::nullopt;
         }},
    };
    start();
    std::vector<std::string> skipped;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        ini.write(iniWith(offsets(3, 0, 0, 0, 0, 0, 10)));
        std::function<void()> undo;
        if (auto why = c.lock(undo)) {
            skipped.push_back(std::string(c.name) + ": " + *why);
            continue;
        }
        std::vector<std::wstring> afterOk;
        bool openAfterOk = false;
        std::optional<std::string> fileAfterOk;
        runDialog({act([&] {
                       press(VK_TAB, true);
                       press(VK_UP);  // the font size goes one up from what the dialog shows
                       click(*Settings->BitBtnOK);
                       pump(50);
                       afterOk = errors;
                       openAfterOk = Settings->visible();
                       undo();
                       fileAfterOk = ini.read();
                       click(*Settings->BitBtnOK);
                   })});
        EXPECT_EQ(afterOk, std::vector<std::wstring>{boxText(L"Unable to write to " + ini.path())});
        EXPECT_TRUE(openAfterOk);
        EXPECT_EQ(fileAfterOk, iniWith(offsets(3, 0, 0, 0, 0, 0, 10)));
        // The second OK wrote what the dialog held.
        TPrintOffsets back;
        EXPECT_TRUE(SettingsUnit::ReadPrintOffsets(back));
        EXPECT_EQ(back, PrintOffsets);
    }
    if (!skipped.empty()) GTEST_SKIP() << "not run: " << skipped.front();
}

TEST_F(SettingsDialog, TheFileBesideTheProgramCountsWhateverTheWorkingDirectory) {
    hostfiles::ScratchFolder elsewhere;
    const std::string other = iniWith(offsets(77, 77, 77, 77, 77, 77, 77));
    hostfiles::writeBytes(elsewhere.file(L"Blk.ini"), other);
    ini.write(iniWith(offsets(5, 0, 0, 0, 0, 0, 10)));
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.path().c_str()));
    start();
    Shown inDialog;
    runDialog({act([&] { inDialog = shown(); }), act([] {
                   press(VK_TAB);
                   press(VK_DOWN);
                   press(VK_RETURN);
               })});
    SetCurrentDirectoryW(before);
    EXPECT_EQ(inDialog.x1, L"  5");
    EXPECT_EQ(ini.read(), iniWith(offsets(5, -1, 0, 0, 0, 0, 10)));
    EXPECT_EQ(hostfiles::readBytes(elsewhere.file(L"Blk.ini")), other);
}

TEST_F(SettingsDialog, OffsetsShowInMillimetresAndTakeCorrectionsInMillimetres) {
    ini.write(iniWith(offsets(10, 0, -4, 0, 0, 0, 10)));
    start();
    std::wstring mmX1, mmY1, afterEnter, afterBad, afterTooFar;
    int x1AfterEnter = 0, y1AfterBad = 0;
    std::size_t errorsAfterBad = 0, errorsAfterTooFar = 0;
    runDialog({act([&] {
                   mmX1 = Settings->lbMm[0]->text();
                   mmY1 = Settings->lbMm[1]->text();
                   // 1.5 mm less is 5.67 steps: 6.
                   Settings->edCorrectionMm[0]->focus();
                   type(L"-1,5");
                   press(VK_RETURN);
                   x1AfterEnter = Settings->UpDownSetDeltaX1->position();
                   afterEnter = Settings->lbMm[0]->text() + L"|" + Settings->edCorrectionMm[0]->text();
               }),
               act([&] {
                   Settings->edCorrectionMm[1]->focus();
                   type(L"1,5 см");
                   press(VK_RETURN);
               }),
               act([&] {
                   y1AfterBad = Settings->UpDownSetDeltaY1->position();
                   afterBad = Settings->edCorrectionMm[1]->text();
                   errorsAfterBad = errors.size();
                   Settings->edCorrectionMm[1]->setText(L"60");
                   press(VK_RETURN);
               }),
               act([&] {
                   errorsAfterTooFar = errors.size();
                   afterTooFar = Settings->lbMm[1]->text();
                   // A correction typed and not yet applied counts when OK is pressed.
                   Settings->edCorrectionMm[1]->setText(L"+0,5");
                   click(*Settings->BitBtnOK);
               })});
    EXPECT_EQ(mmX1, L"2,65 мм");
    EXPECT_EQ(mmY1, L"-1,06 мм");
    EXPECT_EQ(x1AfterEnter, 4);
    EXPECT_EQ(afterEnter, L"1,06 мм|");
    // Bad input: a message naming the offset, nothing changed, the text kept for mending.
    EXPECT_EQ(y1AfterBad, -4);
    EXPECT_EQ(afterBad, L"1,5 см");
    ASSERT_EQ(errorsAfterBad, 1u);
    EXPECT_NE(errors[0].find(L"«1,5 см»"), std::wstring::npos);
    EXPECT_NE(errors[0].find(L"страница 1, по вертикали"), std::wstring::npos);
    ASSERT_EQ(errorsAfterTooFar, 2u);
    EXPECT_NE(errors[1].find(L"52,92 мм"), std::wstring::npos);
    EXPECT_EQ(afterTooFar, L"-1,06 мм");
    // -4 + 0.5 mm (1.89 steps: 2).
    EXPECT_EQ(PrintOffsets, offsets(4, 0, -2, 0, 0, 0, 10));
    EXPECT_EQ(ini.read(), iniWith(offsets(4, 0, -2, 0, 0, 0, 10)));
}

TEST_F(SettingsDialog, APrintersOwnSetIsMadeFromTheCommonOneAndLeavesSettingsAsItWas) {
    if (printer_env::NoPrinterRun()) GTEST_SKIP() << "no printer in this run";
    const std::string settings = "[Settings]\r\nDeltaX1 = 3\r\n; common\r\nDeltaY1=1\r\n";
    ini.write(settings);
    start();
    const TPrintOffsets common = offsets(3, 0, 1, 0, 0, 0, 10);
    ASSERT_EQ(PrintOffsets, common);
    // The queue of these tests is the system's default printer.
    const std::wstring pdf = ui::applicationPrinter().printers().at(
        static_cast<std::size_t>(ui::applicationPrinter().defaultIndex())).name;
    int item = -1;
    std::wstring whoseBefore, whoseAfterStep;
    runDialog({act([&] {
                   EXPECT_EQ(Settings->EditedPrinter(), L"");
                   for (int i = 0; i < Settings->cbWhose->itemCount(); ++i)
                       if (Settings->cbWhose->item(i) == L"принтера «" + pdf + L"»") item = i;
                   ASSERT_GT(item, 0);
                   Settings->ChooseSet(item);
                   whoseBefore = Settings->lbWhose->text();
                   EXPECT_EQ(shown(), shownFor(common));
                   Settings->meSetDeltaX1->focus();
                   press(VK_UP);
                   whoseAfterStep = Settings->lbWhose->text();
                   click(*Settings->BitBtnOK);
               })});
    EXPECT_EQ(whoseBefore, L"Своих нет, показаны общие:");
    EXPECT_EQ(whoseAfterStep, L"Свои подстройки:");
    const TPrintOffsets own = offsets(4, 0, 1, 0, 0, 0, 10);
    EXPECT_EQ(PrintOffsets, common);
    EXPECT_EQ(SettingsUnit::PrinterOffsets(pdf), own);
    const std::string section = "[Printer: " + std::string(pdf.begin(), pdf.end()) + "]\r\n";
    auto withSection = [&](const TPrintOffsets& v) { return settings + section + iniWith(v).substr(12); };
    EXPECT_EQ(ini.read(), withSection(own));

    // Next time the dialog opens on the default printer's own set; the common one is copied in.
    std::wstring printerShown;
    Shown before, copied;
    runDialog({act([&] {
                   printerShown = Settings->EditedPrinter();
                   before = shown();
                   click(*Settings->bbCopyCommon);
                   copied = shown();
                   Settings->meSetDeltaY2->focus();
                   press(VK_DOWN);
                   press(VK_RETURN);
               })});
    EXPECT_EQ(printerShown, pdf);
    EXPECT_EQ(before, shownFor(own));
    EXPECT_EQ(copied, shownFor(common));
    EXPECT_EQ(PrintOffsets, common);
    EXPECT_EQ(SettingsUnit::PrinterOffsets(pdf), offsets(3, 0, 1, -1, 0, 0, 10));
    EXPECT_EQ(ini.read(), withSection(offsets(3, 0, 1, -1, 0, 0, 10)));
    EXPECT_TRUE(errors.empty());
}

}  // namespace
