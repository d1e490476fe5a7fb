// The standard preview window on real reports, driven with real keys and clicks: page keys,
// status text, zoom buttons, a page that fills in, saving and loading through the real file
// dialogs (driven with keys), the text export, and closing while the report still runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "report/export/ascii_export_filter.h"
#include "report/model/label.h"
#include "report/preview/standard_preview.h"
#include "report/run/progress_form.h"
#include "report/run/rep_printer.h"
#include "report/run/report.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/gui_util.h"
#include "tests/win/page_pictures.h"
#include "tests/win/printer_env.h"
#include "ui/printer.h"
#include "ui/timer.h"

using namespace guitest;
using pagetest::TextsOf;
using rep::TRepPreview;
using rep::TRepStandardPreview;

namespace {

int RoundHalfEven(long double x) { return static_cast<int>(std::nearbyint(x)); }

bool WineManagesWindows() {
    wchar_t value[8] = {};
    DWORD size = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", RRF_RT_REG_SZ, nullptr, value,
                        &size) == ERROR_SUCCESS &&
           (value[0] == L'N' || value[0] == L'n');
}

void SetUpA4(rep::TReport& r) {
    r.Page.SetPaperSize(rep::TRepPaperSize::A4);
    r.Page.ReadValues({100.0L, 2970.0L, 100.0L, 2100.0L, 100.0L, 100.0L, 0.0L});
    r.Page.Loaded();
    r.SetUnits(rep::TRepUnit::Native);
    r.ShowProgress = false;
}

// A report of numbered rows, one detail band each, over as many pages as they need.
struct RowReport {
    explicit RowReport(int rowCount, std::wstring prefix = L"Row") : rows(rowCount), prefix(std::move(prefix)) {
        SetUpA4(r);
        r.ReportTitle = L"Rows of " + this->prefix;
        auto& detail = r.AddBand(rep::TRepBandType::rbDetail);
        detail.Size.SetHeight(50);
        cell = &r.Own<rep::TRepLabel>();
        cell->SetParent(&detail);
        r.OnNeedData = [this](rep::TReport&, bool& more) {
            more = row < rows;
            if (more) cell->SetCaption(this->prefix + L" " + std::to_wstring(++row));
            if (onRow) onRow(row);
        };
    }
    rep::TReport r;
    rep::TRepLabel* cell = nullptr;
    int row = 0;
    int rows;
    std::wstring prefix;
    std::function<void(int)> onRow;
};

// A report of one page with one label.
struct OnePageReport {
    explicit OnePageReport(const std::wstring& text) {
        SetUpA4(r);
        r.ReportTitle = L"One page";
        auto& l = r.Own<rep::TRepLabel>();
        l.SetParent(&r);
        l.SetCaption(text);
    }
    rep::TReport r;
};

// The preview of a report, shown in the standard window.
struct Session {
    explicit Session(rep::TReport& r) {
        r.OnPreview = [this](rep::TRepPrinter& p) {
            printer = &p;
            rep::ShowStandardPreview(p);
            window = rep::StandardPreviewOf(p);
            ++opened;
        };
    }
    rep::TRepPrinter* printer = nullptr;
    TRepStandardPreview* window = nullptr;  // valid while the window is open
    int opened = 0;

    bool Ready() const {
        return window && printer->Status() == rep::stFinished && window->RepPreview->Image().HasPage();
    }
    std::wstring Status() const { return window->Status->text(); }
    std::wstring Shown() const {
        auto t = TextsOf(window->RepPreview->Image().PagePicture());
        return t.empty() ? L"" : t.front();
    }
    std::vector<std::wstring> PageTexts(int n) const { return TextsOf(printer->GetPage(n).get()); }
};

// Runs the preview with the script's steps; a window still open when time runs out is
// closed, so that a failing test cannot hang.
void RunPreview(rep::TReport& r, Session& s, std::vector<Script::Step> steps, int timeoutMs = 30000) {
    Script script(std::move(steps), timeoutMs);
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutMs) + 2000;
    ui::Timer watchdog(250, [&] {
        if (static_cast<LONG>(GetTickCount() - deadline) <= 0) return;
        closeModalWindows();
        if (s.printer && rep::StandardPreviewOf(*s.printer)) s.window->close();
    });
    watchdog.start();
    r.Preview();
    EXPECT_TRUE(script.finished()) << "steps done: " << script.stepsDone();
}

// Input that the running modal loop (a file dialog's) handles itself.
void TapNoPump(WORD vk) {
    sendKey(vk, false);
    sendKey(vk, true);
}

constexpr int kTypeCombo = 0x470;   // "Save as type"
constexpr int kNameCombo = 0x47c;   // the file name box of the explorer dialog
constexpr int kNameEdit = 0x480;    // the same in the plain dialog

// The steps of a file dialog as the user works it: the toolbar button, then (for a save)
// the type chosen with the arrow keys, the name typed in and Enter.
std::vector<Script::Step> FileDialogSteps(Session& s, ui::ToolButton* TRepStandardPreview::*button,
                                          const std::wstring& path, int typeDownPresses = 0) {
    auto dlg = std::make_shared<HWND>(nullptr);
    std::vector<Script::Step> steps;
    steps.push_back([&s, button] {
        activate(s.window->hwnd());
        sendClick(*(s.window->*button));
        return true;
    });
    steps.push_back([dlg] {
        *dlg = findSystemDialog();
        return *dlg != nullptr;
    });
    for (int i = 0; i < typeDownPresses; ++i)
        steps.push_back([dlg] {
            SetFocus(GetDlgItem(*dlg, kTypeCombo));
            TapNoPump(VK_DOWN);
            return true;
        });
    steps.push_back([dlg, path] {
        HWND name = GetDlgItem(*dlg, kNameCombo);
        if (!name) name = GetDlgItem(*dlg, kNameEdit);
        SetFocus(name);
        sendText(path);
        return true;
    });
    steps.push_back([dlg] {
        TapNoPump(VK_RETURN);
        return true;
    });
    steps.push_back([dlg] { return !IsWindow(*dlg) || !IsWindowVisible(*dlg); });
    return steps;
}

std::wstring TempPath(const std::wstring& name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

std::string FileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class PreviewWindow : public ::testing::Test {
protected:
    void SetUp() override { ui::Application::get().resetTerminated(); }
    void TearDown() override {
        rep::ShowMessageHook = nullptr;
        discardMessages();
    }
};

Script::Step Then(std::function<void()> fn) {
    return [fn] {
        fn();
        return true;
    };
}

TEST_F(PreviewWindow, OpensWorkingThenCountsThePagesAndShowsPageOneAtWidth) {
    RowReport rep(150);
    Session s(rep.r);
    struct Opening {
        std::wstring caption, status;
        bool gaugeVisible = false, maximised = false, widthDown = false, fitDown = true;
        int gauge = -1, zoom = 0;
        rep::TRepPreviewZoomMode mode = rep::pzFitPage;
        bool askedMaximised = false;
        SIZE client{}, predicted{}, view{};
    } at;
    bool seen = false;
    rep.r.OnStartPage = [&](rep::TReport&) {
        if (seen) return;
        seen = true;
        TRepStandardPreview& w = *s.window;
        at = {w.text(), w.Status->text(), w.ProgressGauge->visible(), IsZoomed(w.hwnd()) != FALSE,
              w.ZoomToWidth->down(), w.ZoomToFit->down(), w.ProgressGauge->Position(), w.RepPreview->Zoom(),
              w.RepPreview->ZoomMode(), w.AskedMaximised(), w.clientSize(), w.maximizedClientSize(),
              {w.RepPreview->width(), w.RepPreview->height()}};
    };
    int pages = 0, zoom = 0, expectedZoom = -1;
    std::wstring status, shown;
    rep::TRepPreviewZoomMode mode = rep::pzPercent;
    RunPreview(rep.r, s,
               {[&] { return s.Ready(); }, Then([&] {
                    pump(50);
                    pages = s.printer->PageCount();
                    status = s.Status();
                    shown = s.Shown();
                    zoom = s.window->RepPreview->Zoom();
                    mode = s.window->RepPreview->ZoomMode();
                    expectedZoom = RoundHalfEven(static_cast<long double>(s.window->RepPreview->width()) /
                                                 s.printer->XSize(s.printer->PaperWidth()) * 90);
                    s.window->close();
                })});
    EXPECT_EQ(at.caption, L"Rows of Row");
    EXPECT_EQ(at.status, L"Working...");
    EXPECT_TRUE(at.gaugeVisible);
    EXPECT_EQ(at.gauge, 0);
    // Without a window manager Wine keeps a window maximised only when it manages the
    // windows itself (X11 driver "Managed" = "N").
    if (WineManagesWindows()) {
        EXPECT_TRUE(at.maximised);
        // Laid out before it was shown, at the size it was then shown at.
        EXPECT_EQ(at.predicted.cx, at.client.cx);
        EXPECT_EQ(at.predicted.cy, at.client.cy);
    }
    EXPECT_EQ(at.view.cx, at.client.cx);
    EXPECT_EQ(at.view.cy, at.client.cy - 33 - 19) << "between the toolbar and the status bar";
    EXPECT_TRUE(at.askedMaximised);
    EXPECT_TRUE(at.widthDown);
    EXPECT_FALSE(at.fitDown);
    EXPECT_EQ(at.zoom, 218);
    EXPECT_EQ(at.mode, rep::pzPercent);
    EXPECT_GE(pages, 3);
    EXPECT_EQ(status, L"Page 1 of " + std::to_wstring(pages));
    EXPECT_EQ(shown, L"Row 1");
    EXPECT_EQ(mode, rep::pzFitWidth);
    EXPECT_EQ(zoom, expectedZoom);
}

TEST_F(PreviewWindow, PageKeysMoveThroughThePagesAndRewriteTheStatus) {
    RowReport rep(1);
    Session s(rep.r);
    int pages = 0;
    // Four pages: the rows run until page 4 has begun.
    rep.rows = 100000;
    rep.onRow = [&](int) {
        if (s.printer && s.printer->PageCount() == 4) rep.rows = rep.row;
    };
    struct Press {
        WORD key;
        bool shift, ctrl, alt;
        int page;
        const char* what;
    };
    const Press presses[] = {
        {VK_NEXT, false, false, false, 2, "PgDn"},
        {VK_NEXT, false, false, false, 3, "PgDn"},
        {VK_PRIOR, false, false, false, 2, "PgUp"},
        {VK_NEXT, false, true, false, 4, "Ctrl+PgDn"},
        {VK_NEXT, false, false, false, 4, "PgDn on the last page"},
        {VK_PRIOR, false, true, false, 1, "Ctrl+PgUp"},
        {VK_PRIOR, false, false, false, 1, "PgUp on the first page"},
        {VK_END, false, false, false, 4, "End"},
        {VK_HOME, false, false, false, 1, "Home"},
        {VK_NEXT, true, true, false, 2, "Ctrl+Shift+PgDn"},
        {VK_NEXT, true, false, false, 3, "Shift+PgDn"},
        {VK_PRIOR, true, true, false, 2, "Ctrl+Shift+PgUp"},
        {VK_END, true, true, false, 4, "Ctrl+Shift+End"},
        {VK_HOME, false, true, false, 1, "Ctrl+Home"},
        {VK_NEXT, false, true, true, 2, "Ctrl+Alt+PgDn"},
    };
    struct Seen {
        int page;
        std::wstring status, shown;
    };
    std::vector<Seen> seen;
    std::vector<std::wstring> firstRows;  // by page
    std::vector<Script::Step> steps{[&] { return s.Ready(); }, Then([&] {
                                        pages = s.printer->PageCount();
                                        for (int i = 1; i <= pages; ++i) firstRows.push_back(s.PageTexts(i).front());
                                        activate(s.window->hwnd());
                                    })};
    for (const Press& p : presses)
        steps.push_back(Then([&, p] {
            press(p.key, p.shift, p.ctrl, p.alt);
            waitUntil([&] { return s.window->RepPreview->PageNumber() == p.page; }, 500);
            seen.push_back({s.window->RepPreview->PageNumber(), s.Status(), s.Shown()});
        }));
    steps.push_back(Then([&] { s.window->close(); }));
    RunPreview(rep.r, s, steps);
    ASSERT_EQ(pages, 4);
    ASSERT_EQ(seen.size(), std::size(presses));
    ASSERT_EQ(firstRows.size(), 4u);
    EXPECT_EQ(firstRows.front(), L"Row 1");
    for (size_t i = 0; i < seen.size(); ++i) {
        const Press& p = presses[i];
        EXPECT_EQ(seen[i].page, p.page) << p.what;
        EXPECT_EQ(seen[i].status, L"Page " + std::to_wstring(p.page) + L" of 4") << p.what;
        EXPECT_EQ(seen[i].shown, firstRows[static_cast<size_t>(p.page - 1)]) << p.what;
    }
}

TEST_F(PreviewWindow, OnePageReportKeepsPageOneWhateverTheKey) {
    OnePageReport rep(L"Иванов");
    Session s(rep.r);
    std::vector<std::wstring> statuses;
    std::vector<int> pagesShown;
    std::vector<Script::Step> steps{[&] { return s.Ready(); }, Then([&] { activate(s.window->hwnd()); })};
    for (WORD key : {VK_PRIOR, VK_NEXT, VK_HOME, VK_END})
        steps.push_back(Then([&, key] {
            s.window->Status->setText(L"");
            press(key);
            waitUntil([&] { return !s.Status().empty(); }, 500);
            statuses.push_back(s.Status());
            pagesShown.push_back(s.window->RepPreview->PageNumber());
        }));
    steps.push_back(Then([&] { press(VK_ESCAPE); }));
    RunPreview(rep.r, s, steps);
    EXPECT_EQ(statuses, std::vector<std::wstring>(4, L"Page 1 of 1"));
    EXPECT_EQ(pagesShown, std::vector<int>(4, 1));
}

TEST_F(PreviewWindow, ZoomButtonsFormARadioGroupAndFitPageFollowsTheWindowSize) {
    RowReport rep(10);
    Session s(rep.r);
    struct State {
        int zoom;
        rep::TRepPreviewZoomMode mode;
        bool fit, hundred, width;
    };
    std::vector<State> states;
    auto record = [&] {
        TRepStandardPreview& w = *s.window;
        states.push_back({w.RepPreview->Zoom(), w.RepPreview->ZoomMode(), w.ZoomToFit->down(), w.ZoomTo100->down(),
                          w.ZoomToWidth->down()});
    };
    int fitMaximised = 0, fitRestored = 0, widthRestored = 0;
    auto fitZoom = [&] {
        TRepPreview& v = *s.window->RepPreview;
        return std::min(RoundHalfEven(static_cast<long double>(v.width()) / s.printer->XSize(2100) * 95),
                        RoundHalfEven(static_cast<long double>(v.height()) / s.printer->YSize(2970) * 95));
    };
    RunPreview(rep.r, s,
               {[&] { return s.Ready(); }, Then([&] {
                    activate(s.window->hwnd());
                    click(*s.window->ZoomToFit);
                    record();
                    fitMaximised = fitZoom();
                    click(*s.window->ZoomTo100);
                    record();
                    click(*s.window->ZoomToWidth);
                    record();
                    click(*s.window->ZoomToFit);
                    ShowWindow(s.window->hwnd(), SW_RESTORE);
                    SetWindowPos(s.window->hwnd(), nullptr, 0, 0, 640, 420, SWP_NOZORDER | SWP_NOMOVE);
                    pump(50);
                    record();
                    fitRestored = fitZoom();
                    click(*s.window->ZoomToWidth);
                    record();
                    widthRestored = RoundHalfEven(static_cast<long double>(s.window->RepPreview->width()) /
                                                  s.printer->XSize(2100) * 90);
                    s.window->close();
                })});
    ASSERT_EQ(states.size(), 5u);
    EXPECT_EQ(states[0].zoom, fitMaximised);
    EXPECT_EQ(states[0].mode, rep::pzFitPage);
    EXPECT_TRUE(states[0].fit && !states[0].hundred && !states[0].width);
    EXPECT_EQ(states[1].zoom, 100);
    EXPECT_EQ(states[1].mode, rep::pzPercent);
    EXPECT_TRUE(!states[1].fit && states[1].hundred && !states[1].width);
    EXPECT_EQ(states[2].mode, rep::pzFitWidth);
    EXPECT_TRUE(!states[2].fit && !states[2].hundred && states[2].width);
    // The smaller window refits the whole page.
    EXPECT_EQ(states[3].zoom, fitRestored);
    EXPECT_NE(fitRestored, fitMaximised);
    EXPECT_EQ(states[3].mode, rep::pzFitPage);
    EXPECT_EQ(states[4].zoom, widthRestored);
}

TEST_F(PreviewWindow, NextPageWhileItIsProducedShowsBlankThenFillsInAtPageWidth) {
    RowReport rep(100000);
    Session s(rep.r);
    bool pressed = false, blank = false;
    int pageThen = 0, zoomThen = 0;
    std::wstring statusThen;
    rep.onRow = [&](int) {
        if (pressed || !s.printer || s.printer->PageCount() != 2) return;
        pressed = true;
        // Page 1 is complete and shown; page 2 has just begun.
        activate(s.window->hwnd());
        waitUntil([&] { return s.window->RepPreview->Image().HasPage(); }, 1000);
        click(*s.window->ZoomTo100);
        press(VK_NEXT);
        pageThen = s.window->RepPreview->PageNumber();
        blank = !s.window->RepPreview->Image().HasPage();
        statusThen = s.Status();
        zoomThen = s.window->RepPreview->Zoom();
        rep.rows = rep.row + 5;  // page 2 ends a few rows later, with the run
    };
    int pageAfter = 0;
    std::wstring shownAfter;
    rep::TRepPreviewZoomMode modeAfter = rep::pzPercent;
    RunPreview(rep.r, s,
               {[&] { return s.Ready() && s.window->RepPreview->PageNumber() == 2; }, Then([&] {
                    pageAfter = s.window->RepPreview->PageNumber();
                    shownAfter = s.Shown();
                    modeAfter = s.window->RepPreview->ZoomMode();
                    s.window->close();
                })});
    EXPECT_TRUE(pressed);
    EXPECT_EQ(pageThen, 2);
    EXPECT_TRUE(blank);
    EXPECT_EQ(statusThen, L"Page 2 of 2");
    EXPECT_EQ(zoomThen, 100);
    EXPECT_EQ(pageAfter, 2);
    EXPECT_EQ(shownAfter.substr(0, 4), L"Row ");
    EXPECT_NE(shownAfter, L"Row 1");
    EXPECT_EQ(modeAfter, rep::pzFitWidth);
}

TEST_F(PreviewWindow, ClosingDuringTheRunCancelsItAndFiresAfterPreview) {
    RowReport rep(100000);
    Session s(rep.r);
    int afterPreview = 0;
    bool cancelled = false, escaped = false;
    rep.r.AfterPreview = [&](rep::TReport&) {
        ++afterPreview;
        cancelled = s.printer->Cancelled();
    };
    rep.onRow = [&](int) {
        if (escaped || !s.printer || s.printer->PageCount() != 3) return;
        escaped = true;
        activate(s.window->hwnd());
        press(VK_ESCAPE);
        waitUntil([&] { return afterPreview > 0; }, 2000);
    };
    RunPreview(rep.r, s, {});
    EXPECT_TRUE(escaped);
    EXPECT_EQ(afterPreview, 1);
    EXPECT_TRUE(cancelled);
    EXPECT_LT(rep.row, 300);
    EXPECT_TRUE(rep.r.Available());
    EXPECT_EQ(rep.r.RepPrinter(), nullptr);
}

TEST_F(PreviewWindow, SaveToAReportFileThenLoadShowsTheSamePages) {
    const std::wstring file = TempPath(L"blk_preview_saved.REP");
    const std::wstring text = TempPath(L"blk_preview_after_load.TXT");
    DeleteFileW(file.c_str());
    DeleteFileW(text.c_str());
    std::vector<std::vector<std::wstring>> saved;
    {
        RowReport rep(150, L"Saved");
        Session s(rep.r);
        std::vector<Script::Step> steps{[&] { return s.Ready(); }};
        for (auto& step : FileDialogSteps(s, &TRepStandardPreview::Save, file)) steps.push_back(step);
        steps.push_back([&] { return Exists(file); });
        steps.push_back(Then([&] {
            for (int i = 1; i <= s.printer->PageCount(); ++i) saved.push_back(s.PageTexts(i));
            s.window->close();
        }));
        RunPreview(rep.r, s, steps);
    }
    ASSERT_TRUE(Exists(file));
    ASSERT_GE(saved.size(), 3u);
    OnePageReport other(L"something else");
    Session s(other.r);
    std::vector<std::wstring> messages;
    rep::ShowMessageHook = [&](const std::wstring& m) { messages.push_back(m); };
    std::wstring statusBefore, statusLoaded, statusLast;
    std::vector<std::wstring> firstShown, lastShown;
    std::vector<Script::Step> steps{[&] { return s.Ready(); }, Then([&] { statusBefore = s.Status(); })};
    for (auto& step : FileDialogSteps(s, &TRepStandardPreview::Load, file)) steps.push_back(step);
    steps.push_back([&] { return s.printer->PageCount() == static_cast<int>(saved.size()); });
    steps.push_back(Then([&] {
        statusLoaded = s.Status();
        firstShown = TextsOf(s.window->RepPreview->Image().PagePicture());
        activate(s.window->hwnd());
        press(VK_END);
        statusLast = s.Status();
        lastShown = TextsOf(s.window->RepPreview->Image().PagePicture());
    }));
    // The loaded pages have no report behind them: the text type writes nothing, and says why.
    for (auto& step : FileDialogSteps(s, &TRepStandardPreview::Save, text, 1)) steps.push_back(step);
    steps.push_back([&] { return !messages.empty(); });
    steps.push_back(Then([&] { s.window->close(); }));
    RunPreview(other.r, s, steps);
    const auto n = std::to_wstring(saved.size());
    EXPECT_EQ(statusLoaded, L"Page 1 of " + n);
    EXPECT_EQ(firstShown, saved.front());
    EXPECT_EQ(statusLast, L"Page " + n + L" of " + n);
    EXPECT_EQ(lastShown, saved.back());
    EXPECT_FALSE(Exists(text));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"loaded from a report file"), std::wstring::npos);
    EXPECT_NE(messages[0].find(L"Nothing was saved"), std::wstring::npos);
    DeleteFileW(file.c_str());
}

TEST_F(PreviewWindow, AfterALoadPrinterSetupChoosesHowTheLoadedPagesPrint) {
    if (printer_env::NoPrinterRun()) GTEST_SKIP() << "no printer in this run";
    const std::wstring file = TempPath(L"blk_preview_setup.REP");
    {
        rep::TRepPrinter saved;
        saved.BeginDoc();
        saved.NewPage();
        saved.EndDoc();
        saved.Save(file);
    }
    ASSERT_TRUE(Exists(file));
    OnePageReport other(L"shown before the load");
    Session s(other.r);
    auto dlg = std::make_shared<HWND>(nullptr);
    short copies = 0;
    RunPreview(other.r, s,
               {[&] { return s.Ready(); }, Then([&] {
                    s.printer->Load(file);
                    activate(s.window->hwnd());
                    sendClick(*s.window->PrintSetup);
                }),
                [dlg] {
                    *dlg = findSystemDialog();
                    return *dlg != nullptr;
                },
                [dlg] {
                    constexpr int kCopiesEdit = 0x482;
                    SetFocus(GetDlgItem(*dlg, kCopiesEdit));
                    SendMessageW(GetDlgItem(*dlg, kCopiesEdit), EM_SETSEL, 0, -1);
                    sendText(L"3");
                    TapNoPump(VK_RETURN);
                    return true;
                },
                [dlg] { return !IsWindow(*dlg) || !IsWindowVisible(*dlg); },
                Then([&] {
                    ui::GlobalLockGuard<DEVMODEW> dm(s.printer->Printer().getPrinter().devMode);
                    if (dm) copies = dm->dmCopies;
                    s.window->close();
                })},
               15000);
    EXPECT_EQ(copies, 3);
    DeleteFileW(file.c_str());
}

TEST_F(PreviewWindow, SaveAsTextWritesTheTextExportAndKeepsTheStoredPages) {
    const std::wstring viaDialog = TempPath(L"blk_preview_export.TXT");
    const std::wstring direct = TempPath(L"blk_preview_export_direct.TXT");
    DeleteFileW(viaDialog.c_str());
    DeleteFileW(direct.c_str());
    RowReport rep(80, L"Exported");
    Session s(rep.r);
    int pagesBefore = 0, pagesAfter = 0;
    std::vector<std::wstring> firstBefore, firstAfter;
    std::vector<Script::Step> steps{[&] { return s.Ready(); }, Then([&] {
                                        pagesBefore = s.printer->PageCount();
                                        firstBefore = s.PageTexts(1);
                                        rep.row = 0;  // the export runs the report again
                                    })};
    for (auto& step : FileDialogSteps(s, &TRepStandardPreview::Save, viaDialog, 1)) steps.push_back(step);
    steps.push_back([&] { return Exists(viaDialog); });
    steps.push_back(Then([&] {
        pagesAfter = s.printer->PageCount();
        firstAfter = s.PageTexts(1);
        s.window->close();
    }));
    RunPreview(rep.r, s, steps);
    rep.row = 0;
    {
        rep::TRepAsciiExportFilter filter(direct);
        rep.r.ExportToFilter(filter);
    }
    const std::string got = FileBytes(viaDialog), want = FileBytes(direct);
    EXPECT_FALSE(want.empty());
    EXPECT_EQ(got, want);
    EXPECT_NE(got.find("Exported 80"), std::string::npos);
    EXPECT_EQ(pagesAfter, pagesBefore);
    EXPECT_EQ(firstAfter, firstBefore);
    DeleteFileW(viaDialog.c_str());
    DeleteFileW(direct.c_str());
}

TEST_F(PreviewWindow, LoadingAFileThatDoesNotExistSaysSoAndChangesNothing) {
    const std::wstring missing = TempPath(L"blk_preview_no_such_file.REP");
    DeleteFileW(missing.c_str());
    std::vector<std::wstring> messages;
    rep::ShowMessageHook = [&](const std::wstring& m) { messages.push_back(m); };
    RowReport rep(150);
    Session s(rep.r);
    std::wstring statusBefore, statusAfter, shownBefore, shownAfter;
    int pagesBefore = 0, pagesAfter = 0;
    std::vector<Script::Step> steps{[&] { return s.Ready(); }, Then([&] {
                                        activate(s.window->hwnd());
                                        press(VK_NEXT);
                                        statusBefore = s.Status();
                                        shownBefore = s.Shown();
                                        pagesBefore = s.printer->PageCount();
                                    })};
    for (auto& step : FileDialogSteps(s, &TRepStandardPreview::Load, missing)) steps.push_back(step);
    steps.push_back([&] { return !messages.empty(); });
    steps.push_back(Then([&] {
        statusAfter = s.Status();
        shownAfter = s.Shown();
        pagesAfter = s.printer->PageCount();
        s.window->close();
    }));
    RunPreview(rep.r, s, steps);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"File does not exist"});
    EXPECT_EQ(statusAfter, statusBefore);
    EXPECT_EQ(shownAfter, shownBefore);
    EXPECT_EQ(pagesAfter, pagesBefore);
    EXPECT_EQ(statusBefore, L"Page 2 of " + std::to_wstring(pagesBefore));
}

TEST_F(PreviewWindow, ProgressShowsTheGaugeOnlyBetweenNoneAndAll) {
    RowReport rep(10);
    Session s(rep.r);
    std::vector<std::pair<int, bool>> seen;
    RunPreview(rep.r, s,
               {[&] { return s.Ready(); }, Then([&] {
                    for (int p : {40, 100, 1, 0, 99}) {
                        PostMessageW(s.window->RepPreview->hwnd(), rep::WM_REPPROGRESS, static_cast<WPARAM>(p), 0);
                        pump(20);
                        seen.emplace_back(s.window->ProgressGauge->Position(), s.window->ProgressGauge->visible());
                    }
                    s.window->close();
                })});
    EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{40, true}, {100, false}, {1, true}, {0, false}, {99, true}}));
}

TEST_F(PreviewWindow, WithoutOnPreviewTheReportOpensTheStandardWindow) {
    OnePageReport rep(L"default window");
    TRepStandardPreview* w = nullptr;
    rep.r.OnStartPage = [&](rep::TReport& r) { w = rep::StandardPreviewOf(*r.RepPrinter()); };
    int afterPreview = 0;
    rep.r.AfterPreview = [&](rep::TReport&) { ++afterPreview; };
    std::wstring shown;
    Script script({[&] { return w && w->RepPreview->Image().HasPage(); }, Then([&] {
                       auto t = TextsOf(w->RepPreview->Image().PagePicture());
                       shown = t.empty() ? L"" : t.front();
                       activate(w->hwnd());
                       press(VK_ESCAPE);
                   })});
    ui::Timer watchdog(20000, [&] {
        closeModalWindows();
        if (w) w->close();
    });
    watchdog.start();
    rep.r.Preview();
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(shown, L"default window");
    EXPECT_EQ(afterPreview, 1);
}

TEST_F(PreviewWindow, TheCloseBoxFreesTheWindowAndLetsGoOfThePrinter) {
    rep::TRepPrinter p;
    p.Title = L"Close box";
    int gone = 0;
    p.HookAfterPreview = [&] { ++gone; };
    rep::ShowStandardPreview(p);
    TRepStandardPreview* w = rep::StandardPreviewOf(p);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->text(), L"Close box");
    EXPECT_EQ(p.Client, w->RepPreview->hwnd());
    EXPECT_TRUE(p.ShowingPreview());
    PostMessageW(w->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(waitUntil([&] { return rep::StandardPreviewOf(p) == nullptr; }));
    EXPECT_EQ(gone, 1);
    EXPECT_FALSE(p.ShowingPreview());
    EXPECT_EQ(p.Client, nullptr);
}

TEST_F(PreviewWindow, APrinterAboutToBeFreedTakesItsWindowsWithIt) {
    rep::TRepPrinter p;
    int gone = 0;
    p.HookAfterPreview = [&] { ++gone; };
    rep::ShowStandardPreview(p);
    ASSERT_NE(rep::StandardPreviewOf(p), nullptr);
    rep::FreeStandardPreviewsOf(p);
    EXPECT_EQ(rep::StandardPreviewOf(p), nullptr);
    EXPECT_EQ(gone, 1);
    EXPECT_FALSE(p.ShowingPreview());
}

TEST_F(PreviewWindow, ClosedWhileItsSaveDialogIsOpenTheWindowGoesWhenTheDialogDoes) {
    RowReport rep(10);
    Session s(rep.r);
    auto dlg = std::make_shared<HWND>(nullptr);
    bool openAfterClose = false;
    int afterPreview = 0;
    rep.r.AfterPreview = [&](rep::TReport&) { ++afterPreview; };
    RunPreview(rep.r, s,
               {[&] { return s.Ready(); }, Then([&] {
                    activate(s.window->hwnd());
                    sendClick(*s.window->Save);
                }),
                [dlg] {
                    *dlg = findSystemDialog();
                    return *dlg != nullptr;
                },
                Then([&] {
                    // The window is asked to close while its save handler waits on the dialog.
                    PostMessageW(s.window->hwnd(), WM_CLOSE, 0, 0);
                    pump(50);
                    openAfterClose = rep::StandardPreviewOf(*s.printer) != nullptr;
                }),
                Then([dlg] { PostMessageW(*dlg, WM_COMMAND, IDCANCEL, 0); })});
    EXPECT_TRUE(openAfterClose);
    EXPECT_EQ(afterPreview, 1);
}

// A second preview of a report whose first preview is still open gets its own window,
// report printer and run; the second call returns first, when its window closes.
TEST_F(PreviewWindow, ASecondPreviewOfTheSameReportOpensItsOwnWindowAndTheCallsNest) {
    OnePageReport rep(L"nested");
    std::vector<rep::TRepPrinter*> printers;
    rep.r.OnStartPage = [&](rep::TReport& r) { printers.push_back(r.RepPrinter()); };
    int afterPreview = 0;
    rep.r.AfterPreview = [&](rep::TReport&) { ++afterPreview; };
    auto windowOf = [&](size_t i) { return i < printers.size() ? rep::StandardPreviewOf(*printers[i]) : nullptr; };
    auto ready = [&](size_t i) {
        TRepStandardPreview* w = windowOf(i);
        return w && printers[i]->Status() == rep::stFinished && w->RepPreview->Image().HasPage();
    };
    std::vector<std::string> order;
    HWND first = nullptr, second = nullptr;
    bool firstOpenWhileSecond = false, firstOpenAfterSecond = false;
    // The run is over for the report too (Available again) before the second call.
    Script outer({[&] { return ready(0) && rep.r.Available(); },
                  Then([&] {
                      first = windowOf(0)->hwnd();
                      Script inner({[&] { return ready(1); }, Then([&] {
                                        second = windowOf(1)->hwnd();
                                        firstOpenWhileSecond = IsWindowVisible(first) != FALSE;
                                        activate(second);
                                        press(VK_ESCAPE);
                                    })},
                                   20000);
                      order.push_back("second called");
                      rep.r.Preview();
                      order.push_back("second returned");
                      firstOpenAfterSecond = windowOf(0) != nullptr && IsWindowVisible(first);
                  }),
                  Then([&] {
                      activate(first);
                      press(VK_ESCAPE);
                  })},
                 40000);
    ui::Timer watchdog(45000, [&] {
        for (size_t i = 0; i < printers.size(); ++i)
            if (TRepStandardPreview* w = windowOf(i)) w->close();
    });
    watchdog.start();
    rep.r.Preview();
    order.push_back("first returned");
    EXPECT_TRUE(outer.finished());
    ASSERT_EQ(printers.size(), 2u);
    EXPECT_NE(printers[0], printers[1]);
    EXPECT_NE(first, second);
    EXPECT_TRUE(firstOpenWhileSecond);
    EXPECT_TRUE(firstOpenAfterSecond);
    EXPECT_EQ(order, (std::vector<std::string>{"second called", "second returned", "first returned"}));
    EXPECT_EQ(afterPreview, 2);
    EXPECT_EQ(rep.r.RepPrinter(), nullptr);
}

// For looking at the window: with BLK_PREVIEW_SHOT_MS set, the window waits that long at
// page width and again at fit page, so that a screenshot can be taken from outside.
TEST_F(PreviewWindow, HoldsStillForScreenshots) {
    const char* env = std::getenv("BLK_PREVIEW_SHOT_MS");
    if (!env) GTEST_SKIP() << "BLK_PREVIEW_SHOT_MS is not set";
    const int ms = std::atoi(env);
    RowReport rep(150, L"Иванов Пётр Сергеевич, строка");
    Session s(rep.r);
    RunPreview(
        rep.r, s,
        {[&] { return s.Ready(); }, Then([&] {
             activate(s.window->hwnd());
             press(VK_NEXT);
             pump(ms);
             click(*s.window->ZoomToFit);
             pump(ms);
             s.window->close();
         })},
        2 * ms + 30000);
}

}  // namespace
