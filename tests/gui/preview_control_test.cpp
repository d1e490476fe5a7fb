// The preview control on a real window, attached to a report printer that records pages:
// zoom rules, page rules, the page that fills in, the printer link, painting and scrolling.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "report/model/units.h"
#include "report/preview/rep_preview.h"
#include "report/run/rep_printer.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/gui_util.h"
#include "tests/win/page_pictures.h"
#include "ui/form.h"
#include "ui/subclass.h"
#include "ui/timer.h"

using namespace guitest;
using pagetest::TextsOf;
using rep::TRepPreview;
using rep::TRepPrinter;

namespace {

int ScreenDpi() {
    ui::WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int RoundHalfEven(long double x) { return static_cast<int>(std::nearbyint(x)); }

// A report printer recording A4 portrait pages, each with its number as text and a blue
// square in the middle of the page.
class PagePrinter {
public:
    PagePrinter() {
        p.SetPaperSize(rep::TRepPaperSize::A4);
        p.SetOrientation(rep::TRepOrientation::poPortrait);
    }
    bool IsA4() const { return p.PaperWidth() == 2100 && p.PaperLength() == 2970; }
    void Begin() { p.BeginDoc(); }
    // Opens the next page (closing, and so storing, the one before) and draws on it.
    void NewPage() {
        p.NewPage();
        HDC dc = p.Canvas();
        const std::wstring text = L"page " + std::to_wstring(p.PageCount());
        TextOutW(dc, 100, 100, text.c_str(), static_cast<int>(text.size()));
        const int cx = p.XSize(1050), cy = p.YSize(1485);
        ui::BrushHandle blue(CreateSolidBrush(RGB(0, 0, 255)));
        const RECT square{cx - 40, cy - 40, cx + 40, cy + 40};
        FillRect(dc, &square, blue.get());
    }
    void End() { p.EndDoc(); }
    void Pages(int n) {
        Begin();
        for (int i = 0; i < n; ++i) NewPage();
        End();
    }
    TRepPrinter p;
};

std::wstring ShownText(const TRepPreview& v) {
    auto t = TextsOf(v.Image().PagePicture());
    return t.empty() ? L"" : t.front();
}

// A plain window holding one preview control of the given outer size.
LRESULT CALLBACK countFrames(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
    if (m == WM_NCPAINT) ++*reinterpret_cast<int*>(ref);
    return ui::defSubclassProc(h, m, w, l);
}

class Host {
public:
    Host(int w, int h) {
        ui::FormArgs a;
        a.caption = L"preview host";
        a.clientWidth = 900;
        a.clientHeight = 800;
        form.createForm(a);
        preview = &form.add<TRepPreview>(form, 0, 0);
        preview->setBounds(0, 0, w, h);
        form.show();
        pump(30);
    }
    ui::Form form;
    TRepPreview* preview = nullptr;
};

class PreviewControl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!printer.IsA4()) GTEST_SKIP() << "the default printer does not take A4";
    }
    void TearDown() override {
        discardMessages();
    }
    // Declared first: it outlives the control that is attached to it.
    PagePrinter printer;
};

TEST_F(PreviewControl, ZoomOutsideTwoToTwoThousandChangesNothingNotEvenTheMode) {
    printer.Pages(1);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    struct Case {
        int value;
        bool accepted;
    };
    const Case cases[] = {{1, false}, {2001, false}, {0, false}, {-100, false}, {2, true}, {2000, true}, {150, true}};
    for (const Case& c : cases) {
        v.FitToWidth();
        const int before = v.Zoom();
        const int widthBefore = v.Image().Width();
        v.SetZoom(c.value);
        if (c.accepted) {
            EXPECT_EQ(v.Zoom(), c.value) << c.value;
            EXPECT_EQ(v.ZoomMode(), rep::pzPercent) << c.value;
            EXPECT_EQ(v.Image().Width(), printer.p.XSize(2100 * 0.01L * c.value) + 4) << c.value;
        } else {
            EXPECT_EQ(v.Zoom(), before) << c.value;
            EXPECT_EQ(v.ZoomMode(), rep::pzFitWidth) << c.value;
            EXPECT_EQ(v.Image().Width(), widthBefore) << c.value;
        }
    }
}

TEST_F(PreviewControl, A4At96DpiIs798WideAndFitsA600WideControlAt68) {
    if (ScreenDpi() != 96) GTEST_SKIP() << "the screen is not at 96 pixels per inch";
    printer.Pages(1);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    v.SetZoom(100);
    EXPECT_EQ(printer.p.XSize(2100), 794);
    EXPECT_EQ(v.Image().Width(), 798);
    EXPECT_EQ(v.Image().Height(), 1127);
    // Larger than the control: at the left and top, reached by scrolling.
    EXPECT_EQ(v.Image().Left(), 0);
    EXPECT_EQ(v.Image().Top(), 0);
    v.FitToWidth();
    EXPECT_EQ(v.Zoom(), 68);
    EXPECT_EQ(v.ZoomMode(), rep::pzFitWidth);
    // Narrower than the control now: centred across, still at the top.
    EXPECT_EQ(v.Image().Left(), (600 - v.Image().Width()) / 2);
    EXPECT_GT(v.Image().Left(), 0);
    EXPECT_EQ(v.Image().Top(), 0);
}

TEST_F(PreviewControl, FitToPageTooSmallKeepsTheZoomButTakesTheModeAndTheNextResizeRefits) {
    printer.Pages(1);
    Host h(10, 10);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    v.SetZoom(100);
    v.FitToPage();  // Round(10 / 794 * 95) = 1: below the bounds
    EXPECT_EQ(v.Zoom(), 100);
    EXPECT_EQ(v.ZoomMode(), rep::pzFitPage);
    v.setSize(400, 500);
    pump(20);
    const int pw = printer.p.XSize(2100), pl = printer.p.YSize(2970);
    const int expected = std::min(RoundHalfEven(400.0L / pw * 95), RoundHalfEven(500.0L / pl * 95));
    EXPECT_EQ(v.Zoom(), expected);
    EXPECT_EQ(v.ZoomMode(), rep::pzFitPage);
    // The whole page is in view, centred both ways.
    EXPECT_LE(v.Image().Width(), 400);
    EXPECT_LE(v.Image().Height(), 500);
    EXPECT_EQ(v.Image().Top(), (500 - v.Image().Height()) / 2);
}

TEST_F(PreviewControl, ResizeRefitsAfterFitToWidthButNotAfterZoom100) {
    printer.Pages(1);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    const int pw = printer.p.XSize(2100);
    v.FitToWidth();
    v.setSize(800, 400);
    pump(20);
    EXPECT_EQ(v.Zoom(), RoundHalfEven(800.0L / pw * 90));
    EXPECT_EQ(v.ZoomMode(), rep::pzFitWidth);
    v.SetZoom(100);
    v.setSize(500, 300);
    pump(20);
    EXPECT_EQ(v.Zoom(), 100);
    EXPECT_EQ(v.ZoomMode(), rep::pzPercent);
    // A replaced resize handler is the only one that runs.
    int resizes = 0;
    v.OnResize = [&] { ++resizes; };
    v.FitToWidth();
    const int zoom = v.Zoom();
    v.setSize(700, 300);
    pump(20);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(v.Zoom(), zoom);
}

TEST_F(PreviewControl, PageNumberRules) {
    printer.Pages(3);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    v.SetZoom(100);
    ASSERT_EQ(ShownText(v), L"page 1");
    struct Case {
        int request;
        int expectedPage;
    };
    const Case cases[] = {{2, 2}, {4, 2}, {0, 2}, {-1, 2}, {3, 3}, {1, 1}};
    for (const Case& c : cases) {
        v.SetVertPosition(100);
        v.SetHorzPosition(50);
        const int before = v.PageNumber();
        v.SetPageNumber(c.request);
        EXPECT_EQ(v.PageNumber(), c.expectedPage) << c.request;
        EXPECT_EQ(ShownText(v), L"page " + std::to_wstring(c.expectedPage)) << c.request;
        const bool moved = c.expectedPage != before;
        EXPECT_EQ(v.VertPosition(), moved ? 0 : 100) << c.request;
        EXPECT_EQ(v.HorzPosition(), moved ? 0 : 50) << c.request;
    }
    // The page on screen again: nothing happens, the scroll position stays.
    v.SetVertPosition(120);
    HENHMETAFILE held = v.Image().PagePicture();
    v.SetPageNumber(1);
    EXPECT_EQ(v.VertPosition(), 120);
    EXPECT_EQ(v.Image().PagePicture(), held);
}

TEST_F(PreviewControl, SamePageWhileBlankIsFetchedAgain) {
    printer.Begin();
    printer.NewPage();  // page 1 begun, not stored
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    EXPECT_EQ(v.PageNumber(), 1);
    EXPECT_FALSE(v.Image().HasPage());
    printer.NewPage();  // page 1 stored; its message is not handled yet
    v.SetPageNumber(1);
    EXPECT_TRUE(v.Image().HasPage());
    EXPECT_EQ(ShownText(v), L"page 1");
    printer.End();
}

TEST_F(PreviewControl, APageBlankWhileProducedFillsInAtPageWidth) {
    printer.Begin();
    printer.NewPage();
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    std::vector<int> available;
    v.OnPageAvailable = [&](TRepPreview&, int p) { available.push_back(p); };
    v.SetReportPrinter(&printer.p);
    EXPECT_FALSE(v.Image().HasPage());
    printer.NewPage();  // page 1 stored, page 2 being produced
    pump(20);
    ASSERT_TRUE(v.Image().HasPage());
    EXPECT_EQ(available, std::vector<int>{1});
    v.SetZoom(100);
    v.SetPageNumber(printer.p.PageCount());  // page 2, still being produced
    EXPECT_EQ(v.PageNumber(), 2);
    EXPECT_FALSE(v.Image().HasPage());
    v.SetPageNumber(3);  // PageCount + 1
    EXPECT_EQ(v.PageNumber(), 2);
    printer.NewPage();  // page 2 complete
    pump(20);
    EXPECT_TRUE(v.Image().HasPage());
    EXPECT_EQ(ShownText(v), L"page 2");
    EXPECT_EQ(v.ZoomMode(), rep::pzFitWidth);
    EXPECT_EQ(v.Zoom(), RoundHalfEven(600.0L / printer.p.XSize(2100) * 90));
    EXPECT_EQ(available, (std::vector<int>{1, 2}));
    printer.End();
}

TEST_F(PreviewControl, MessagesCarryTheLow16BitsAndOtherPagesOnlyFireTheEvent) {
    printer.Pages(2);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    std::vector<int> available, progress;
    v.OnPageAvailable = [&](TRepPreview&, int p) { available.push_back(p); };
    v.OnProgressUpdate = [&](TRepPreview&, int p) { progress.push_back(p); };
    v.SetReportPrinter(&printer.p);
    pump(20);  // the page messages of the finished run
    available.clear();
    v.SetZoom(100);
    v.SetVertPosition(80);
    struct Post {
        UINT msg;
        WPARAM wp;
    };
    const Post posts[] = {{rep::WM_REPPAGEAVAILABLE, 0x00030002}, {rep::WM_REPPAGEAVAILABLE, 7},
                          {rep::WM_REPPROGRESS, 0x00010032}, {rep::WM_REPPROGRESS, 100}};
    for (const Post& p : posts) PostMessageW(v.hwnd(), p.msg, p.wp, 0);
    pump(20);
    EXPECT_EQ(available, (std::vector<int>{2, 7}));
    EXPECT_EQ(progress, (std::vector<int>{50, 100}));
    EXPECT_EQ(v.Zoom(), 100);
    EXPECT_EQ(v.VertPosition(), 80);
    EXPECT_EQ(ShownText(v), L"page 1");
}

TEST_F(PreviewControl, AttachingAndDetachingTellThePrinter) {
    printer.Pages(1);
    PagePrinter second;
    second.Pages(2);
    int gone1 = 0, gone2 = 0;
    printer.p.HookAfterPreview = [&] { ++gone1; };
    second.p.HookAfterPreview = [&] { ++gone2; };
    {
        Host h(600, 400);
        TRepPreview& v = *h.preview;
        v.SetReportPrinter(&printer.p);
        EXPECT_EQ(printer.p.Client, v.hwnd());
        EXPECT_TRUE(printer.p.ShowingPreview());
        EXPECT_EQ(v.Image().ReportPrinter, &printer.p);
        EXPECT_TRUE(v.Image().HasPage());
        v.SetReportPrinter(&second.p);
        EXPECT_FALSE(printer.p.ShowingPreview());
        EXPECT_EQ(printer.p.Client, nullptr);
        EXPECT_EQ(gone1, 1);
        EXPECT_EQ(second.p.Client, v.hwnd());
        EXPECT_TRUE(second.p.ShowingPreview());
        EXPECT_EQ(v.PageNumber(), 1);
        EXPECT_EQ(gone2, 0);
    }
    // The control's end detaches it.
    EXPECT_EQ(gone2, 1);
    EXPECT_FALSE(second.p.ShowingPreview());
    EXPECT_EQ(second.p.Client, nullptr);
}

TEST_F(PreviewControl, APrinterThatReportsElsewhereIsNotDetached) {
    printer.Pages(1);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    HWND other = h.form.hwnd();
    printer.p.Client = other;
    v.SetReportPrinter(nullptr);
    EXPECT_TRUE(printer.p.ShowingPreview());
    EXPECT_EQ(printer.p.Client, other);
    EXPECT_FALSE(v.Image().HasPage());
    printer.p.Client = nullptr;
}

TEST_F(PreviewControl, WithoutAPrinterTheZoomUsesALetterPageAndPagesDoNothing) {
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetZoom(100);
    EXPECT_EQ(v.Image().Width(), RoundHalfEven(215.9L) + 4);
    EXPECT_EQ(v.Image().Height(), RoundHalfEven(279.4L) + 4);
    v.FitToWidth();
    EXPECT_EQ(v.Zoom(), RoundHalfEven(600.0L / 215.9L * 95));
    v.SetPageNumber(2);
    EXPECT_EQ(v.PageNumber(), 1);
    EXPECT_FALSE(v.Image().HasPage());
}

// ------------------------------------------------------------------ painting

struct Canvas {
    Canvas(int w, int h) : w(w), h(h) {
        ui::WindowDC screen(nullptr);
        dc.reset(CreateCompatibleDC(screen.get()));
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bitmap.reset(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        old = SelectObject(dc.get(), bitmap.get());
        ui::BrushHandle ground(CreateSolidBrush(kGround));
        const RECT all{0, 0, w, h};
        FillRect(dc.get(), &all, ground.get());
    }
    ~Canvas() { SelectObject(dc.get(), old); }
    COLORREF at(int x, int y) const {
        GdiFlush();
        const DWORD v = static_cast<const DWORD*>(bits)[y * w + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    static constexpr COLORREF kGround = RGB(255, 0, 255);
    int w, h;
    ui::MemoryDC dc;
    ui::BitmapHandle bitmap;
    void* bits = nullptr;
    HGDIOBJ old = nullptr;
};

TEST_F(PreviewControl, PaintDrawsPaperPictureOutlineAndShadowsAndNothingWithoutAPicture) {
    printer.Pages(1);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetZoom(50);  // no printer yet: no picture
    {
        Canvas c(v.Image().Width(), v.Image().Height());
        v.Image().Paint(c.dc.get());
        for (int y = 0; y < c.h; y += 7)
            for (int x = 0; x < c.w; x += 7) ASSERT_EQ(c.at(x, y), Canvas::kGround) << x << "," << y;
    }
    v.SetReportPrinter(&printer.p);
    v.SetZoom(50);
    const int W = v.Image().Width(), H = v.Image().Height();
    Canvas c(W, H);
    v.Image().Paint(c.dc.get());
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), blue = RGB(0, 0, 255);
    struct Pixel {
        int x, y;
        COLORREF colour;
        const char* what;
    };
    const Pixel pixels[] = {
        {0, 0, black, "outline top-left"},
        {W / 3, 0, black, "outline top"},
        {0, H / 3, black, "outline left"},
        {W - 3, H / 3, black, "outline right"},
        {W / 3, H - 3, black, "outline bottom"},
        {W - 3, H - 3, black, "outline bottom-right"},
        {5, 5, white, "paper"},
        {W - 4, H - 4, white, "paper's last pixel"},
        {W / 2, H / 2, blue, "the page's middle square"},
        {W - 2, H / 2, black, "right shadow"},
        {W - 1, 2, black, "right shadow top"},
        {W / 2, H - 1, black, "bottom shadow"},
        {2, H - 2, black, "bottom shadow left"},
        {W - 1, 1, Canvas::kGround, "above the right shadow"},
        {W - 2, 0, Canvas::kGround, "above the right shadow"},
        {1, H - 1, Canvas::kGround, "left of the bottom shadow"},
        {0, H - 2, Canvas::kGround, "left of the bottom shadow"},
    };
    for (const Pixel& p : pixels) EXPECT_EQ(c.at(p.x, p.y), p.colour) << p.what << " at " << p.x << "," << p.y;
}

TEST_F(PreviewControl, OnScreenThePageSitsCentredOnTheBackground) {
    printer.Pages(1);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    v.FitToPage();
    pump(30);
    Capture shot = captureWindow(v.hwnd());
    const int x0 = v.Image().Left() - v.HorzPosition(), y0 = v.Image().Top() - v.VertPosition();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(shot.at(x0 + v.Image().Width() / 2, y0 + v.Image().Height() / 2), RGB(0, 0, 255));
    EXPECT_EQ(shot.at(x0 + 5, y0 + 5), RGB(255, 255, 255));
    EXPECT_EQ(shot.at(x0, y0), RGB(0, 0, 0));
    EXPECT_EQ(shot.at(x0 / 2, shot.height / 2), face);
    EXPECT_EQ(shot.at(shot.width - 3, shot.height / 2), face);
}

TEST_F(PreviewControl, ThePictureIsFetchedOnPageChangeNotOnPaint) {
    printer.Pages(2);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    HENHMETAFILE first = v.Image().PagePicture();
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 5; ++i) {
        v.SetVertPosition(i * 30);
        InvalidateRect(v.hwnd(), nullptr, FALSE);
        UpdateWindow(v.hwnd());
    }
    EXPECT_EQ(v.Image().PagePicture(), first);
    v.SetPageNumber(2);
    EXPECT_NE(v.Image().PagePicture(), nullptr);
    EXPECT_EQ(ShownText(v), L"page 2");
}

// ------------------------------------------------------------------ scrolling

// Presses the left button at a screen point, moves to another and runs whileHeld before the
// button goes up. The steps run from a timer: a press on a scroll bar enters the system's
// own tracking loop, which dispatches timer messages but returns only at the release.
template <class F>
void DragOnScreen(POINT from, POINT to, F&& whileHeld) {
    auto send = [](POINT p, DWORD flags) {
        INPUT in = mouseAt(p, flags);
        SendInput(1, &in, sizeof in);
    };
    int step = 0;
    const int moves = 4;
    ui::Timer timer(40, [&] {
        if (step == 0) send(from, 0);
        else if (step == 1) send(from, MOUSEEVENTF_LEFTDOWN);
        else if (step <= 1 + moves)
            send({from.x + (to.x - from.x) * (step - 1) / moves, from.y + (to.y - from.y) * (step - 1) / moves}, 0);
        else if (step == 2 + moves + 2) whileHeld();
        else if (step == 2 + moves + 3) send(to, MOUSEEVENTF_LEFTUP);
        ++step;
    });
    timer.start();
    waitUntil([&] { return step > 2 + moves + 4; }, 5000);
    timer.stop();
    pump(40);
}

TEST_F(PreviewControl, TheScrollBarsTrackTheThumbAndFollowTheImage) {
    printer.Pages(1);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    v.SetReportPrinter(&printer.p);
    activate(h.form.hwnd());
    v.SetZoom(100);  // 798 x 1127 in a 600 x 400 control: both bars
    LONG style = GetWindowLongW(v.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    ASSERT_TRUE(GetScrollBarInfo(v.hwnd(), OBJID_VSCROLL, &sbi));
    const POINT thumb{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2,
                      sbi.rcScrollBar.top + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2};
    int whileDragging = -1;
    DragOnScreen(thumb, {thumb.x, thumb.y + 80}, [&] { whileDragging = v.VertPosition(); });
    EXPECT_GT(whileDragging, 0) << "the page follows the thumb before it is let go";
    EXPECT_GE(v.VertPosition(), whileDragging);
    // A line step, and the end of the range.
    v.SetVertPosition(0);
    SendMessageW(v.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(v.VertPosition(), 8);
    v.SetVertPosition(100000);
    EXPECT_EQ(v.VertPosition(), v.Image().Height() - v.ViewSize().cy);
    // The whole page in view: no bars. Both go with one drawing of the frame (under Wine
    // each drawing of the bars costs milliseconds).
    int framesDrawn = 0;
    ui::setSubclass(v.hwnd(), countFrames, 7, reinterpret_cast<DWORD_PTR>(&framesDrawn));
    v.FitToPage();
    pump(20);
    ui::removeSubclass(v.hwnd(), countFrames, 7);
    EXPECT_EQ(framesDrawn, 1);
    style = GetWindowLongW(v.hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & WS_VSCROLL);
    EXPECT_EQ(v.VertPosition(), 0);
    // Back to the layout the bars had before they went: they come back, as they are now.
    v.SetZoom(100);
    style = GetWindowLongW(v.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(v.hwnd(), SB_VERT, &si));
    EXPECT_EQ(si.nMax, v.Image().Top() + v.Image().Height() - 1);
    EXPECT_EQ(si.nPage, static_cast<UINT>(v.ViewSize().cy));
    EXPECT_EQ(si.nPos, 0);
}

TEST_F(PreviewControl, ClicksOnThePageReachTheControlsHandlers) {
    printer.Pages(1);
    Host h(600, 400);
    TRepPreview& v = *h.preview;
    std::vector<std::string> seen;
    v.OnClick = [&] { seen.push_back("click"); };
    v.OnMouseDown = [&](int button, unsigned, int, int) { seen.push_back("down" + std::to_string(button)); };
    v.SetReportPrinter(&printer.p);
    v.FitToPage();
    activate(h.form.hwnd());
    pump(20);
    click(v.hwnd(), v.Image().Left() + v.Image().Width() / 2, v.Image().Top() + v.Image().Height() / 2);
    click(v.hwnd(), 3, 3);  // beside the page
    EXPECT_EQ(seen, (std::vector<std::string>{"down0", "click", "down0", "click"}));
}

}  // namespace
