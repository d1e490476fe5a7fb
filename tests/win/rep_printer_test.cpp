// The report printer: pages recorded into the page store and announced to a client
// window, read back, spilled, saved and loaded; the misuse it refuses; the preview's
// commands and hooks; and documents sent to the CUPS PDF queue, read back from the PDF.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "report/model/units.h"
#include "report/run/export_library.h"
#include "report/run/page_file.h"
#include "report/run/printer_settings.h"
#include "report/run/rep_error.h"
#include "report/run/rep_printer.h"
#include "tests/win/page_pictures.h"
#include "tests/win/pdf_words.h"
#include "tests/win/printer_env.h"
#include "ui/app.h"
#include "ui/printer.h"
#include "ui/utf8.h"

namespace {

using namespace rep;
using pagetest::ContentOf;
using pagetest::TextsOf;
using pagetest::FileExists;
using pagetest::ScratchFolder;
using pagetest::Lower;
using pagetest::TempFolder;

// A real window that keeps the two notifications it is posted, in order.
class ClientWindow {
public:
    struct Note {
        UINT msg;
        WPARAM value;
        bool operator==(const Note&) const = default;
    };

    ClientWindow() {
        static const ATOM cls = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"RepPrinterTestClient";
            return RegisterClassW(&wc);
        }();
        hwnd_ = CreateWindowExW(0, MAKEINTATOM(cls), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ClientWindow() { DestroyWindow(hwnd_); }
    ClientWindow(const ClientWindow&) = delete;
    ClientWindow& operator=(const ClientWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Delivers what is queued for the window and hands over what it received.
    std::vector<Note> Take() {
        MSG m;
        while (PeekMessageW(&m, hwnd_, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        return std::exchange(notes_, {});
    }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_REPPROGRESS || msg == WM_REPPAGEAVAILABLE) {
            if (auto* self = reinterpret_cast<ClientWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA)))
                self->notes_.push_back({msg, wp});
            return 0;
        }
        return DefWindowProcW(h, msg, wp, lp);
    }
    HWND hwnd_;
    std::vector<Note> notes_;
};

ClientWindow::Note Available(int n) { return {WM_REPPAGEAVAILABLE, static_cast<WPARAM>(n)}; }

// Text as a printable draws it: its position converted by the report printer, Arial
// `heightNative` tall, top-left aligned, transparent.
void DrawWord(TRepPrinter& p, long double x, long double y, const std::wstring& text,
              long double heightNative = 40) {
    HDC dc = p.Canvas();
    ASSERT_NE(dc, nullptr);
    ui::FontHandle font(CreateFontW(-p.YSize(heightNative), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial"));
    ui::SelectGuard use(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ExtTextOutW(dc, p.XPos(x), p.YPos(y), 0, nullptr, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
}

std::wstring PageWord(int page) { return L"Seite" + std::to_wstring(page); }

// A page-store document of `pages` pages, each showing PageWord(n) at (200, 300 + n).
void RecordDocument(TRepPrinter& p, int pages) {
    p.SetPaperSize(TRepPaperSize::A4);
    p.BeginDoc();
    for (int n = 1; n <= pages; ++n) {
        p.NewPage();
        DrawWord(p, 200, 300 + n, PageWord(n));
    }
    p.EndDoc();
}

int ScreenDpi() {
    ui::WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

std::string Utf8(const std::wstring& s) { return ui::toUtf8(s); }

// --- The page store ---------------------------------------------------------------

TEST(RepPrinter, StartsReadyForAPageStoreDocument) {
    TRepPrinter p;
    EXPECT_EQ(p.PrinterOK(), !ui::applicationPrinter().printers().empty());
    EXPECT_EQ(p.Destination, dtPageStore);
    EXPECT_EQ(p.Status(), stReady);
    EXPECT_EQ(p.PageCount(), 0);
    EXPECT_EQ(p.PageNumber(), 0);
    EXPECT_EQ(p.AvailablePages(), 0);
    EXPECT_EQ(p.XFactor(), 1.0L);
    EXPECT_EQ(p.YFactor(), 1.0L);
    EXPECT_EQ(p.Client, nullptr);
    EXPECT_FALSE(p.ShowingPreview());
    EXPECT_EQ(p.Stream(), nullptr);
    EXPECT_EQ(p.TopWaste(), p.Settings().TopOffset());
    EXPECT_EQ(p.LeftWaste(), p.Settings().LeftOffset());
    if (p.PrinterOK()) { EXPECT_EQ(p.PrinterIndex(), ui::applicationPrinter().defaultIndex()); }
}

TEST(RepPrinter, OnePageRunAnnouncesItsPageOnceAtTheEnd) {
    ClientWindow client;
    TRepPrinter p;
    p.Client = client.hwnd();
    p.SetPaperSize(TRepPaperSize::A4);
    p.BeginDoc();
    EXPECT_EQ(p.Status(), stBusy);
    const long double factor = ScreenDpi() / 254.0L;
    EXPECT_EQ(p.XFactor(), factor);
    EXPECT_EQ(p.YFactor(), factor);
    EXPECT_EQ(p.LeftWaste(), 0);
    EXPECT_EQ(p.TopWaste(), 0);
    ASSERT_NE(p.Stream(), nullptr);
    EXPECT_TRUE(p.Stream()->InMemory());

    p.NewPage();
    DrawWord(p, 500, 700, L"Иванов");
    EXPECT_EQ(p.PageCount(), 1);
    EXPECT_EQ(p.AvailablePages(), 0);
    EXPECT_FALSE(p.GetPage(1)) << "the open page is not stored yet";
    EXPECT_TRUE(client.Take().empty());

    p.EndDoc();
    EXPECT_EQ(p.AvailablePages(), 1);
    EXPECT_EQ(p.PageCount(), 1);
    EXPECT_EQ(p.Status(), stFinished);
    EXPECT_EQ(p.Canvas(), nullptr);
    EXPECT_EQ(client.Take(), std::vector{Available(1)});
    const ui::EnhMetaFile page = p.GetPage(1);
    ASSERT_TRUE(page);
    EXPECT_EQ(TextsOf(page.get()), std::vector<std::wstring>{L"Иванов"});
}

TEST(RepPrinter, PagesBecomeAvailableOneByOneInOrder) {
    ClientWindow client;
    TRepPrinter p;
    p.Client = client.hwnd();
    p.SetPaperSize(TRepPaperSize::A4);
    p.BeginDoc();
    const int pages = 5;
    for (int n = 1; n <= pages; ++n) {
        p.NewPage();
        SCOPED_TRACE(n);
        EXPECT_EQ(p.PageNumber(), n);
        EXPECT_EQ(p.PageCount(), n);
        EXPECT_EQ(p.AvailablePages(), n - 1);
        if (n > 1) { EXPECT_EQ(client.Take(), std::vector{Available(n - 1)}); }
        // Completed pages read back while the run goes on; the open one does not.
        for (int k = 1; k < n; ++k)
            EXPECT_EQ(TextsOf(p.GetPage(k).get()), std::vector{PageWord(k)});
        EXPECT_FALSE(p.GetPage(n));
        DrawWord(p, 200, 300, PageWord(n));
    }
    p.EndDoc();
    EXPECT_EQ(client.Take(), std::vector{Available(pages)});
    EXPECT_EQ(p.AvailablePages(), pages);
    for (int k : {3, 1, 5, 2, 4}) EXPECT_EQ(TextsOf(p.GetPage(k).get()), std::vector{PageWord(k)});
}

TEST(RepPrinter, PageAvailableMessagesArePostedNotSent) {
    // The run never waits for its client: nothing arrives until the client's queue runs.
    ClientWindow client;
    TRepPrinter p;
    p.Client = client.hwnd();
    p.SetPaperSize(TRepPaperSize::A4);
    p.BeginDoc();
    for (int n = 0; n < 3; ++n) p.NewPage();
    p.SetProgress(45);
    p.EndDoc();
    EXPECT_EQ(p.ProgressPercent(), 45);
    EXPECT_EQ(client.Take(), (std::vector<ClientWindow::Note>{
                                 Available(1), Available(2), {WM_REPPROGRESS, 45}, Available(3)}));
}

TEST(RepPrinter, MisuseFailsWithTheEngineError) {
    struct Case {
        const char* what;
        std::function<void(TRepPrinter&)> before;
        std::function<void(TRepPrinter&)> call;
        const char* message;
    };
    const auto begin = [](TRepPrinter& p) { p.BeginDoc(); };
    const auto newPage = [](TRepPrinter& p) { p.NewPage(); };
    const auto finished = [](TRepPrinter& p) { RecordDocument(p, 1); };
    const Case cases[] = {
        {"NewPage before BeginDoc", [](TRepPrinter&) {}, newPage, "Illegal call to NewPage"},
        {"NewPage after EndDoc", finished, newPage, "Illegal call to NewPage"},
        {"NewPage after AbortDoc", [](TRepPrinter& p) { p.BeginDoc(); p.NewPage(); p.AbortDoc(); },
         newPage, "Illegal call to NewPage"},
        {"BeginDoc while busy", [](TRepPrinter& p) { p.BeginDoc(); p.NewPage(); }, begin,
         "Report printer not ready"},
        {"BeginDoc after EndDoc", finished, begin, "Report printer not ready"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TRepPrinter p;
        p.SetPaperSize(TRepPaperSize::A4);
        c.before(p);
        const auto status = p.Status();
        const int pages = p.PageCount();
        const int available = p.AvailablePages();
        try {
            c.call(p);
            ADD_FAILURE() << "no error";
        } catch (const ERepError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        // Refused calls leave the document as it was.
        EXPECT_EQ(p.Status(), status);
        EXPECT_EQ(p.PageCount(), pages);
        EXPECT_EQ(p.AvailablePages(), available);
    }
}

TEST(RepPrinter, BeginDocOnABusyPrinterKeepsItsCancelRequest) {
    TRepPrinter p;
    p.SetPaperSize(TRepPaperSize::A4);
    p.BeginDoc();
    p.NewPage();
    p.NewPage();
    p.Cancel();
    EXPECT_THROW(p.BeginDoc(), ERepError);
    EXPECT_TRUE(p.Cancelled());
    EXPECT_EQ(p.AvailablePages(), 1);
}

TEST(RepPrinter, GetPageOutsideTheStoredPagesIsNone) {
    TRepPrinter p;
    EXPECT_FALSE(p.GetPage(1)) << "no document yet";
    RecordDocument(p, 3);
    for (int n : {0, -1, 4, 1000}) EXPECT_FALSE(p.GetPage(n)) << n;
    for (int n : {1, 3}) EXPECT_TRUE(p.GetPage(n)) << n;
}

TEST(RepPrinter, RecordedPageHoldsTextWhereItWasDrawn) {
    struct Case {
        long double x, y;  // native units, 0.1 mm
    };
    const Case cases[] = {{0, 0}, {500, 700}, {1234.5L, 2222.2L}, {2000, 2900}, {13, 27}};
    TRepPrinter p;
    p.SetPaperSize(TRepPaperSize::A4);
    p.BeginDoc();
    p.NewPage();
    for (const Case& c : cases) DrawWord(p, c.x, c.y, L"x");
    p.EndDoc();
    const ui::EnhMetaFile page = p.GetPage(1);
    const auto texts = ContentOf(page.get()).texts;
    ASSERT_EQ(texts.size(), std::size(cases));
    const int dpi = ScreenDpi();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        // The nearest screen pixel, halves to even.
        EXPECT_EQ(texts[i].reference.x, std::lrint(cases[i].x * dpi / 254.0L));
        EXPECT_EQ(texts[i].reference.y, std::lrint(cases[i].y * dpi / 254.0L));
    }
    // The picture's frame is the A4 sheet, to within a screen pixel and the rounding of
    // the screen's size in millimetres.
    const auto header = ui::EmfRecords(page.get()).front().as<ENHMETAHEADER>();
    EXPECT_NEAR(header.rclFrame.right - header.rclFrame.left, 21000, 150);
    EXPECT_NEAR(header.rclFrame.bottom - header.rclFrame.top, 29700, 200);
}

TEST(RepPrinter, LandscapePagesAreRecordedAcross) {
    TRepPrinter p;
    if (!p.Settings().FieldSupported(DM_ORIENTATION)) GTEST_SKIP() << "no printer takes an orientation";
    struct Case {
        TRepPaperSize size;
        bool landscape;
    };
    for (const Case c : {Case{TRepPaperSize::A4, false}, Case{TRepPaperSize::A4, true},
                         Case{TRepPaperSize::Default, false}, Case{TRepPaperSize::Default, true}}) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.size) << (c.landscape ? " landscape" : ""));
        TRepPrinter q;
        q.SetPaperSize(c.size);
        q.SetOrientation(c.landscape ? TRepOrientation::poLandscape : TRepOrientation::poPortrait);
        // Default paper is what the printer reports for its page.
        const int width = c.size == TRepPaperSize::A4 ? 2100 : q.Settings().PaperWidth();
        const int length = c.size == TRepPaperSize::A4 ? 2970 : q.Settings().PaperLength();
        ASSERT_GT(width, 0);
        EXPECT_EQ(q.PaperWidth(), c.landscape ? length : width);
        EXPECT_EQ(q.PaperLength(), c.landscape ? width : length);
        q.BeginDoc();
        q.NewPage();
        q.EndDoc();
        const auto header = ui::EmfRecords(q.GetPage(1).get()).front().as<ENHMETAHEADER>();
        const long frameW = header.rclFrame.right - header.rclFrame.left;
        const long frameH = header.rclFrame.bottom - header.rclFrame.top;
        EXPECT_EQ(frameW > frameH, c.landscape);
        EXPECT_NEAR(frameW, (c.landscape ? length : width) * 10, 200);
    }
}

TEST(RepPrinter, AbortDocKeepsOnlyTheCompletedPages) {
    ClientWindow client;
    TRepPrinter p;
    p.Client = client.hwnd();
    p.SetPaperSize(TRepPaperSize::A4);
    p.BeginDoc();
    p.NewPage();
    DrawWord(p, 100, 100, PageWord(1));
    p.NewPage();
    DrawWord(p, 100, 100, PageWord(2));
    p.AbortDoc();
    EXPECT_EQ(p.Status(), stFinished);
    EXPECT_EQ(p.PageCount(), 2);
    EXPECT_EQ(p.AvailablePages(), 1);
    EXPECT_EQ(client.Take(), std::vector{Available(1)});
    EXPECT_TRUE(p.GetPage(1));
    EXPECT_FALSE(p.GetPage(2));
    // Ending an ended document changes nothing.
    p.EndDoc();
    p.AbortDoc();
    EXPECT_EQ(p.AvailablePages(), 1);
    EXPECT_TRUE(client.Take().empty());
}

TEST(RepPrinter, LongDocumentMovesToATemporaryFileThatGoesWithThePrinter) {
    ScratchFolder folder;
    std::wstring tempName;
    int pages = 0;
    {
        TRepPrinter p;
        p.SetPaperSize(TRepPaperSize::A4);
        p.BeginDoc();
        const TRepStream* stream = p.Stream();
        // Each page draws 60 lines, so a few pages pass the 100000 bytes kept in memory.
        while (stream->InMemory()) {
            ASSERT_LT(pages, 100) << "the page store never left memory";
            p.NewPage();
            ++pages;
            for (int line = 0; line < 60; ++line)
                DrawWord(p, 100, 100 + 45 * line,
                         PageWord(pages) + L" строка " + std::to_wstring(line) + L" Приложение к диплому");
        }
        EXPECT_GT(pages, 2);
        EXPECT_GT(stream->Size(), TRepStream::kMemoryLimit);
        p.NewPage();
        DrawWord(p, 100, 100, PageWord(++pages));
        p.EndDoc();

        tempName = stream->TempFileName();
        const std::wstring temp = Lower(TempFolder());
        EXPECT_EQ(Lower(tempName).substr(0, temp.size() + 3), temp + L"rep") << Utf8(tempName);
        EXPECT_EQ(Lower(tempName).substr(tempName.size() - 4), L".tmp");
        EXPECT_TRUE(FileExists(tempName));
        for (int k : {pages, 1, pages - 1})
            EXPECT_EQ(TextsOf(p.GetPage(k).get()).front().substr(0, PageWord(k).size()), PageWord(k));
        p.Save(folder.file(L"long.REP"));
    }
    EXPECT_FALSE(FileExists(tempName)) << "the temporary file outlived its report printer";

    TRepPrinter loaded;
    loaded.Load(folder.file(L"long.REP"));
    EXPECT_EQ(loaded.PageCount(), pages);
    EXPECT_EQ(TextsOf(loaded.GetPage(pages).get()), std::vector{PageWord(pages)});
}

TEST(RepPrinter, LoadingOverASpilledStoreDeletesItsTemporaryFile) {
    ScratchFolder folder;
    {
        TRepPrinter small;
        RecordDocument(small, 2);
        small.Save(folder.file(L"small.REP"));
    }
    TRepPrinter p;
    p.SetPaperSize(TRepPaperSize::A4);
    p.BeginDoc();
    while (p.Stream()->InMemory()) {
        p.NewPage();
        for (int line = 0; line < 60; ++line) DrawWord(p, 100, 100 + 45 * line, L"Заполнение страницы");
    }
    const std::wstring tempName = p.Stream()->TempFileName();
    ASSERT_TRUE(FileExists(tempName));
    p.Load(folder.file(L"small.REP"));
    EXPECT_TRUE(p.Cancelled()) << "the busy run is told to stop";
    EXPECT_FALSE(FileExists(tempName));
    EXPECT_EQ(p.Status(), stFinished);
    EXPECT_EQ(p.PageCount(), 2);
}

class RepPrinterFile : public testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Coding, RepPrinterFile, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Compressed" : "Plain"; });

TEST_P(RepPrinterFile, SavedPagesLoadIntoAnotherPrinter) {
    ScratchFolder folder;
    const std::wstring name = folder.file(L"Приложение.REP");
    std::vector<std::vector<std::uint8_t>> pictures;
    {
        TRepPrinter p;
        p.SetCompression(GetParam());
        p.SetPaperSize(TRepPaperSize::A4);
        p.BeginDoc();
        for (int n = 1; n <= 4; ++n) {
            p.NewPage();
            p.Save(name);
            EXPECT_FALSE(FileExists(name)) << "saved before the document was finished";
            DrawWord(p, 150 * n, 200 * n, PageWord(n));
        }
        p.EndDoc();
        p.Save(name);
        for (int n = 1; n <= 4; ++n) pictures.push_back(ui::EmfBytes(p.GetPage(n).get()));
    }
    ASSERT_TRUE(FileExists(name));

    TRepPrinter q;
    int hooks = 0;
    q.OnPrint = [&] { ++hooks; };
    q.OnPrintSetup = [&] { ++hooks; };
    q.OnExportToFilter = [&](TRepExportFilter&) { ++hooks; };
    q.Load(name);
    EXPECT_EQ(q.Status(), stFinished);
    EXPECT_EQ(q.PageCount(), 4);
    EXPECT_EQ(q.AvailablePages(), 4);
    for (int n : {3, 1, 4, 2}) EXPECT_EQ(ui::EmfBytes(q.GetPage(n).get()), pictures[n - 1]) << n;
    EXPECT_FALSE(q.GetPage(5));
    // The loaded pages belong to no report: its commands are gone.
    EXPECT_FALSE(q.OnPrint);
    EXPECT_FALSE(q.OnPrintSetup);
    EXPECT_FALSE(q.OnExportToFilter);
    TRepExportFilter filter(L"x.txt");
    q.PrinterSetup();
    q.ExportToFilter(filter);
    EXPECT_EQ(hooks, 0);
    EXPECT_THROW(q.BeginDoc(), ERepError);

    // A loaded report saves again, byte for byte.
    const std::wstring copy = folder.file(L"copy.REP");
    q.Save(copy);
    EXPECT_EQ(pagetest::FileBytes(copy), pagetest::FileBytes(name));
}

TEST(RepPrinter, AFailedLoadLeavesThePagesHeldSoFar) {
    ScratchFolder folder;
    const std::wstring good = folder.file(L"good.REP");
    {
        TRepPrinter p;
        RecordDocument(p, 2);
        p.Save(good);
    }
    std::vector<std::uint8_t> damaged = pagetest::FileBytes(good);
    damaged.resize(damaged.size() - 40);
    pagetest::WriteFileBytes(folder.file(L"cut.REP"), damaged);
    pagetest::WriteFileBytes(folder.file(L"text.REP"), {'h', 'e', 'l', 'l', 'o'});

    for (const wchar_t* bad : {L"missing.REP", L"cut.REP", L"text.REP"}) {
        SCOPED_TRACE(Utf8(bad));
        TRepPrinter p;
        RecordDocument(p, 3);
        int printed = 0;
        p.OnPrint = [&] { ++printed; };
        EXPECT_ANY_THROW(p.Load(folder.file(bad)));
        EXPECT_EQ(p.Status(), stFinished);
        EXPECT_EQ(p.PageCount(), 3);
        for (int n = 1; n <= 3; ++n) EXPECT_EQ(TextsOf(p.GetPage(n).get()), std::vector{PageWord(n)});
        p.Print();
        EXPECT_EQ(printed, 1) << "the report's commands stay";
    }
}

TEST(RepPrinter, LeavingThePreviewCancelsABusyRunAndRunsTheHook) {
    struct Case {
        const char* what;
        bool busy;
        bool from, to;
        bool hookThrows;
        int hookCalls;
        bool cancelled;
    };
    const Case cases[] = {
        {"closed while busy", true, true, false, false, 1, true},
        {"closed when finished", false, true, false, false, 1, false},
        {"hook fails", true, true, false, true, 1, true},
        {"opened", true, false, true, false, 0, false},
        {"still closed", true, false, false, false, 0, false},
        {"still open", true, true, true, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TRepPrinter p;
        p.SetPaperSize(TRepPaperSize::A4);
        if (c.busy) {
            p.BeginDoc();
            p.NewPage();
        } else {
            RecordDocument(p, 1);
        }
        p.SetShowingPreview(c.from);
        int calls = 0;
        bool cancelledInHook = false;
        p.HookAfterPreview = [&] {
            ++calls;
            cancelledInHook = p.Cancelled();
            if (c.hookThrows) throw ERepError("hook failed");
        };
        if (c.hookThrows)
            EXPECT_THROW(p.SetShowingPreview(c.to), ERepError);
        else
            p.SetShowingPreview(c.to);
        EXPECT_EQ(p.ShowingPreview(), c.to);
        EXPECT_EQ(calls, c.hookCalls);
        EXPECT_EQ(p.Cancelled(), c.cancelled);
        if (calls) { EXPECT_EQ(cancelledInHook, c.cancelled) << "the run is cancelled before the hook"; }
    }
}

TEST(RepPrinter, PreviewCommandsGoToTheirHooks) {
    TRepPrinter p;
    RecordDocument(p, 1);
    TRepExportFilter filter(L"out.txt");
    // Without hooks nothing happens (Preview without its hook opens the standard window).
    p.PrinterSetup();
    p.ExportToFilter(filter);

    std::vector<std::string> calls;
    p.OnPreview = [&](TRepPrinter& self) { calls.push_back(&self == &p ? "preview" : "preview of another"); };
    p.OnPrint = [&] { calls.push_back("print"); };
    p.OnPrintSetup = [&] { calls.push_back("setup"); };
    p.OnExportToFilter = [&](TRepExportFilter& f) { calls.push_back(&f == &filter ? "export" : "export of another"); };
    p.Preview();
    p.Print();
    p.PrinterSetup();
    p.ExportToFilter(filter);
    EXPECT_EQ(calls, (std::vector<std::string>{"preview", "print", "setup", "export"}));
}

TEST(RepPrinter, ProgressReachesTheClientWithItsValue) {
    ClientWindow client;
    TRepPrinter p;
    p.SetProgress(10);  // no client: only kept
    EXPECT_EQ(p.ProgressPercent(), 10);
    p.Client = client.hwnd();
    for (int percent : {0, 3, 5, 100}) p.SetProgress(percent);
    EXPECT_EQ(p.ProgressPercent(), 100);
    EXPECT_EQ(client.Take(), (std::vector<ClientWindow::Note>{
                                 {WM_REPPROGRESS, 0}, {WM_REPPROGRESS, 3}, {WM_REPPROGRESS, 5}, {WM_REPPROGRESS, 100}}));
}

TEST(NoPrinter, ReportPrinterStillRecordsPagesAndPrintsNothing) {
    SKIP_UNLESS_NO_PRINTER();
    TRepPrinter p;
    EXPECT_FALSE(p.PrinterOK());
    p.SetPrinterIndex(3);  // ignored without printers
    EXPECT_EQ(p.PrinterIndex(), -1);
    EXPECT_EQ(p.PaperSize(), TRepPaperSize::A4);
    RecordDocument(p, 2);
    EXPECT_EQ(p.PageCount(), 2);
    EXPECT_EQ(TextsOf(p.GetPage(2).get()), std::vector{PageWord(2)});
    p.Print();  // no hook, no printer: nothing
    EXPECT_FALSE(p.Printer().printing());
}

// --- The printer: the CUPS PDF queue -------------------------------------------------

// A document name of its own for every job, so that jobs of earlier runs never count.
std::wstring JobTitle(const std::wstring& what) {
    static int serial = 0;
    return what + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++serial);
}

// The job's pages as pdftotext reads them; fails the test when the job does not come.
std::vector<pdfwords::Page> PrintedPages(const std::wstring& title) {
    const std::wstring pdf = pdfwords::WaitForJob(title);
    if (pdf.empty()) {
        ADD_FAILURE() << "no PDF for job " << Utf8(title);
        return {};
    }
    auto pages = pdfwords::Read(pdf);
    printer_env::DeletePdfs(title);
    if (!pages) {
        ADD_FAILURE() << "pdftotext could not read " << Utf8(pdf);
        return {};
    }
    return *pages;
}

std::vector<std::string> WordsOf(const pdfwords::Page& page) {
    std::vector<std::string> words;
    for (const auto& w : page.words) words.push_back(w.text);
    return words;
}

struct PrinterRun {
    TRepPrinter p;
    ClientWindow client;
    int afterPrint = 0;

    explicit PrinterRun(const std::wstring& title, int first = 0, int last = 0) {
        p.Destination = dtPrinter;
        p.Title = title;
        p.FirstPage = first;
        p.LastPage = last;
        p.Client = client.hwnd();
        p.HookAfterPrint = [this] { ++afterPrint; };
        p.SetPaperSize(TRepPaperSize::A4);
        p.SetOrientation(TRepOrientation::poPortrait);
    }
};

// Prints a one-page job and waits for it. The queue writes its jobs in order: once this
// one is there, a job started earlier would be too.
void PrintMarkerJob() {
    const std::wstring marker = JobTitle(L"marker");
    {
        PrinterRun run(marker);
        run.p.BeginDoc();
        run.p.NewPage();
        DrawWord(run.p, 300, 400, L"marker");
        run.p.EndDoc();
    }
    EXPECT_EQ(PrintedPages(marker).size(), 1u);
}

TEST(RepPrinterPdf, PageRangeSendsOnlyItsPages) {
    SKIP_UNLESS_PDF_PRINTER();
    const std::wstring title = JobTitle(L"range");
    {
        PrinterRun run(title, 2, 3);
        TRepPrinter& p = run.p;
        ASSERT_TRUE(p.PrinterOK());
        p.BeginDoc();
        EXPECT_EQ(p.XFactor(), p.Printer().pixelsPerInchX() / 254.0L);
        EXPECT_EQ(p.YFactor(), p.Printer().pixelsPerInchY() / 254.0L);
        for (int n = 1; n <= 5; ++n) {
            SCOPED_TRACE(n);
            p.NewPage();
            const bool inRange = n == 2 || n == 3;
            EXPECT_EQ(p.PageInRange(), inRange);
            // Outside the range the page is drawn into a picture that is thrown away.
            EXPECT_EQ(p.Canvas() == p.Printer().handle(), inRange);
            EXPECT_EQ(p.Printer().printing(), n >= 2);
            if (inRange) { EXPECT_EQ(p.Printer().pageNumber(), n - 1); }
            DrawWord(p, 300, 400, PageWord(n));
        }
        p.EndDoc();
        EXPECT_FALSE(p.Printer().printing());
        EXPECT_FALSE(p.Printer().aborted());
        EXPECT_EQ(p.Status(), stFinished);
        EXPECT_EQ(p.AvailablePages(), 5);
        EXPECT_EQ(run.afterPrint, 1);
        EXPECT_EQ(run.client.Take(), (std::vector{Available(1), Available(2), Available(3),
                                                  Available(4), Available(5)}));
        EXPECT_FALSE(p.GetPage(2)) << "a printer document stores nothing";
    }
    const auto pages = PrintedPages(title);
    ASSERT_EQ(pages.size(), 2u) << "pages 2 and 3 only, no blank page";
    EXPECT_EQ(WordsOf(pages[0]), std::vector{Utf8(PageWord(2))});
    EXPECT_EQ(WordsOf(pages[1]), std::vector{Utf8(PageWord(3))});
}

TEST(RepPrinterPdf, RangeBeyondTheDocumentStartsNoJob) {
    SKIP_UNLESS_PDF_PRINTER();
    const std::wstring title = JobTitle(L"beyond");
    {
        PrinterRun run(title, 6, 0);
        TRepPrinter& p = run.p;
        p.BeginDoc();
        for (int n = 1; n <= 5; ++n) {
            p.NewPage();
            EXPECT_FALSE(p.PageInRange());
            DrawWord(p, 300, 400, PageWord(n));
            EXPECT_FALSE(p.Printer().printing());
        }
        p.EndDoc();
        EXPECT_FALSE(p.Printer().printing());
        EXPECT_EQ(run.afterPrint, 1);
    }
    PrintMarkerJob();
    EXPECT_TRUE(printer_env::PdfFiles(title).empty()) << "a job was started";
}

TEST(RepPrinterPdf, TextLandsAtItsNativePosition) {
    SKIP_UNLESS_PDF_PRINTER();
    struct Case {
        long double x, y;  // native units, 0.1 mm from the paper's top-left corner
        const wchar_t* word;
    };
    const Case cases[] = {
        {500, 500, L"Alpha"}, {1234, 777, L"Bravo"}, {100, 2700, L"Charlie"}, {1800, 1500, L"Delta"}};
    const std::wstring title = JobTitle(L"position");
    {
        PrinterRun run(title);
        TRepPrinter& p = run.p;
        p.BeginDoc();
        p.NewPage();
        for (const Case& c : cases) DrawWord(p, c.x, c.y, c.word);
        p.EndDoc();
    }
    const auto pages = PrintedPages(title);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pdfwords::PointsToMm(pages[0].width), 210.0, 0.5);
    EXPECT_NEAR(pdfwords::PointsToMm(pages[0].height), 297.0, 0.5);
    // pdftotext's box starts at the font's ascent, a little below the top of the text
    // cell where GDI puts a top-aligned text: the same distance for every word of one
    // font, so the words keep their distances exactly.
    const pdfwords::Word* first = pages[0].Find(Utf8(cases[0].word));
    ASSERT_NE(first, nullptr);
    const double cellToBox = pdfwords::PointsToMm(first->yMin) - static_cast<double>(cases[0].y) / 10;
    EXPECT_GE(cellToBox, 0.0);
    EXPECT_LE(cellToBox, 1.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.word));
        const pdfwords::Word* w = pages[0].Find(Utf8(c.word));
        ASSERT_NE(w, nullptr);
        // Measured from the paper's corner: XPos takes off the unprintable margin that
        // the printer's own origin adds back.
        EXPECT_NEAR(pdfwords::PointsToMm(w->xMin), static_cast<double>(c.x) / 10, 0.2);
        EXPECT_NEAR(pdfwords::PointsToMm(w->yMin) - cellToBox, static_cast<double>(c.y) / 10, 0.2);
    }
}

TEST(RepPrinterPdf, LoadedPagesPrintOnceEachFullSize) {
    SKIP_UNLESS_PDF_PRINTER();
    ScratchFolder folder;
    const std::wstring file = folder.file(L"three.REP");
    {
        TRepPrinter p;
        p.SetPaperSize(TRepPaperSize::A4);
        p.BeginDoc();
        for (int n = 1; n <= 3; ++n) {
            p.NewPage();
            DrawWord(p, 500, 300 * n, PageWord(n));
        }
        p.EndDoc();
        p.Save(file);
    }
    // On the margin-free queue, and on one that does not print the sheet's edge: the same
    // places on the paper.
    std::vector<double> lefts, tops;
    for (const wchar_t* queue : {L"", L"PDFM"}) {
        SCOPED_TRACE(Utf8(queue));
        const std::wstring title = JobTitle(L"stored");
        {
            TRepPrinter p;
            p.Load(file);
            if (*queue) {
                const auto& list = p.Printer().printers();
                int index = -1;
                for (std::size_t i = 0; i < list.size(); ++i)
                    if (list[i].name == queue) index = static_cast<int>(i);
                if (index < 0) GTEST_SKIP() << "no queue PDFM (scripts/printer.sh adds it)";
                p.SetPrinterIndex(index);
            }
            p.Title = title;
            p.Print();
            EXPECT_FALSE(p.Printer().printing());
            EXPECT_EQ(p.PageNumber(), 3);
        }
        const auto pages = PrintedPages(title);
        ASSERT_EQ(pages.size(), 3u) << "each stored page once, no blank page at the end";
        for (int n = 1; n <= 3; ++n) {
            SCOPED_TRACE(n);
            const auto& page = pages[static_cast<std::size_t>(n - 1)];
            EXPECT_EQ(WordsOf(page), std::vector{Utf8(PageWord(n))});
            // Stretched to the paper: a screen pixel of the recording is about 0.26 mm.
            const pdfwords::Word* w = page.Find(Utf8(PageWord(n)));
            ASSERT_NE(w, nullptr);
            EXPECT_NEAR(pdfwords::PointsToMm(w->xMin), 50.0, 0.5);
            lefts.push_back(pdfwords::PointsToMm(w->xMin));
            tops.push_back(pdfwords::PointsToMm(w->yMin));
        }
    }
    ASSERT_EQ(lefts.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(lefts[i + 3], lefts[i], 0.1);
        EXPECT_NEAR(tops[i + 3], tops[i], 0.1);
    }
}

TEST(RepPrinterPdf, CancelWhilePrintingStoredPagesAbortsTheJob) {
    SKIP_UNLESS_PDF_PRINTER();
    ScratchFolder folder;
    const std::wstring file = folder.file(L"four.REP");
    {
        TRepPrinter p;
        RecordDocument(p, 4);
        p.Save(file);
    }
    const std::wstring title = JobTitle(L"stopped");
    {
        TRepPrinter p;
        p.Load(file);
        p.Title = title;
        // Arrives while the first page is being printed, as a click on Cancel would.
        ui::Application::get().post([&p] { p.Cancel(); });
        p.Print();
        EXPECT_TRUE(p.Printer().aborted());
        EXPECT_FALSE(p.Printer().printing());
        EXPECT_EQ(p.PageNumber(), 1) << "printing stops at the page where the cancel came";
    }
    PrintMarkerJob();
    EXPECT_TRUE(printer_env::PdfFiles(title).empty()) << "the aborted job reached the queue";
}

TEST(RepPrinterPdf, CancelledRunKeepsWhatWasDrawnWhenThePrinterGoes) {
    SKIP_UNLESS_PDF_PRINTER();
    const std::wstring title = JobTitle(L"cancelled");
    {
        PrinterRun run(title);
        TRepPrinter& p = run.p;
        p.BeginDoc();
        p.NewPage();
        DrawWord(p, 300, 400, PageWord(1));
        p.NewPage();
        DrawWord(p, 300, 400, PageWord(2));
        p.Cancel();
        // The run stops here: neither EndDoc nor AbortDoc. Freeing ends the job.
        EXPECT_TRUE(p.Printer().printing());
    }
    const auto pages = PrintedPages(title);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(WordsOf(pages[1]), std::vector{Utf8(PageWord(2))});
}

TEST(RepPrinterPdf, AbortedPrinterDocumentReachesNoPaper) {
    SKIP_UNLESS_PDF_PRINTER();
    const std::wstring title = JobTitle(L"aborted");
    {
        PrinterRun run(title);
        run.p.BeginDoc();
        run.p.NewPage();
        DrawWord(run.p, 300, 400, PageWord(1));
        run.p.AbortDoc();
        EXPECT_FALSE(run.p.Printer().printing());
        EXPECT_EQ(run.afterPrint, 0);
        EXPECT_EQ(run.p.Status(), stFinished);
    }
    PrintMarkerJob();
    EXPECT_TRUE(printer_env::PdfFiles(title).empty());
}

TEST(RepPrinterPdf, LongTitleIsCutForTheJob) {
    SKIP_UNLESS_PDF_PRINTER();
    // 31 characters that name the job, then a tail that must not reach the queue.
    std::wstring title = JobTitle(L"long");
    title.resize(31, L'x');
    title += L"TAIL";
    const std::wstring cut = title.substr(0, 31);
    {
        PrinterRun run(title);
        run.p.BeginDoc();
        run.p.NewPage();
        DrawWord(run.p, 300, 400, PageWord(1));
        run.p.EndDoc();
        EXPECT_EQ(run.p.Printer().title(), cut);
    }
    const std::wstring pdf = pdfwords::WaitForJob(cut);
    ASSERT_FALSE(pdf.empty());
    const std::wstring file = pdf.substr(pdf.find_last_of(L'\\') + 1);
    // The queue adds its own suffix to the document name, never the rest of the title.
    EXPECT_EQ(file.find(L"TAIL"), std::wstring::npos) << Utf8(file);
    printer_env::DeletePdfs(cut);
}

}  // namespace
