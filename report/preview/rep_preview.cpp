#include "report/preview/rep_preview.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "report/model/units.h"
#include "report/run/rep_printer.h"
#include "ui/app.h"
#include "ui/back_buffer.h"
#include "ui/metafile.h"

namespace rep {

namespace {

// Without a printer the page is a Letter sheet, its millimetres taken as pixels at 100 %.
constexpr long double kLetterWidth = 215.9L;
constexpr long double kLetterLength = 279.4L;
constexpr int kZoomMin = 2;
constexpr int kZoomMax = 2000;
// What one click on a scroll bar arrow moves.
constexpr int kLineStep = 8;

int ZoomValue(long double z) { return static_cast<int>(RoundEven(z)); }

// The low 16 bits of a message parameter, as an unsigned number.
int Low16(WPARAM wp) { return static_cast<int>(wp & 0xFFFFu); }

}  // namespace

// ------------------------------------------------------------------ the image

namespace {

void DrawUnderlay(HDC dc, HBITMAP picture, const RECT& to) {
    BITMAP bm{};
    if (!GetObjectW(picture, sizeof bm, &bm)) return;
    ui::MemoryDC src(CreateCompatibleDC(dc));
    if (!src) return;
    ui::SelectGuard use(src.get(), picture);
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, src.get(), 0, 0, bm.bmWidth, bm.bmHeight,
               SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

}  // namespace

void TRepPreviewImage::DrawMarks(HDC dc, const std::vector<TRepNativeRect>& marks, int w, int h) const {
    if (marks.empty() || !ReportPrinter) return;
    const long double pw = ReportPrinter->PaperWidth(), pl = ReportPrinter->PaperLength();
    if (pw <= 0 || pl <= 0) return;
    ui::PenHandle pen(CreatePen(PS_SOLID, 2, RGB(255, 0, 0)));
    ui::SelectGuard usePen(dc, pen.get());
    ui::SelectGuard noFill(dc, GetStockObject(NULL_BRUSH));
    for (const TRepNativeRect& m : marks) {
        // A frame a little outside the value, so that it does not hide the text.
        const int l = static_cast<int>(RoundEven(m.Left * w / pw)) - 2;
        const int t = static_cast<int>(RoundEven(m.Top * h / pl)) - 2;
        const int r = static_cast<int>(RoundEven(m.Right * w / pw)) + 3;
        const int b = static_cast<int>(RoundEven(m.Bottom * h / pl)) + 3;
        Rectangle(dc, l, t, r, b);
    }
}

TRepPreviewImage::TRepPreviewImage(TRepPreview& owner) : owner_(owner) {}

void TRepPreviewImage::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TRepPreviewImage::ShowPage(int n) {
    pageNumber_ = n;
    picture_.reset();
    // Read from the page store once here; painting replays the held picture.
    if (ReportPrinter) picture_ = ReportPrinter->GetPage(n);
    Repaint();
}

void TRepPreviewImage::Repaint() {
    if (owner_.Destroying() || !owner_.hwnd()) return;
    owner_.InvalidateImage();
    UpdateWindow(owner_.hwnd());
}

void TRepPreviewImage::Paint(HDC dc) const {
    // Without a picture the preview's background shows through.
    if (!picture_) return;
    ui::SavedDC saved(dc);
    const int w = width_, h = height_;
    const RECT paper{1, 1, w - 3, h - 3};
    FillRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECT all{0, 0, w, h};
    if (HBITMAP under = owner_.Underlay()) {
        DrawUnderlay(dc, under, all);
        // The page over the picture as ink over paper: its white (the labels' boxes
        // included) lets the picture show, its text darkens it. Only the part in view is
        // composed: at a high zoom the whole page would not fit in memory.
        RECT view{};
        if (GetClipBox(dc, &view) == ERROR || !IntersectRect(&view, &view, &all)) view = all;
        const int vw = view.right - view.left, vh = view.bottom - view.top;
        ui::MemoryDC mem(CreateCompatibleDC(dc));
        ui::BitmapHandle page(CreateCompatibleBitmap(dc, vw, vh));
        if (mem && page) {
            ui::SelectGuard use(mem.get(), page.get());
            SetViewportOrgEx(mem.get(), -view.left, -view.top, nullptr);
            FillRect(mem.get(), &view, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            ui::DrawMetafile(mem.get(), picture_.get(), all);
            BitBlt(dc, view.left, view.top, vw, vh, mem.get(), view.left, view.top, SRCAND);
        }
    } else {
        ui::DrawMetafile(dc, picture_.get(), all);
    }
    DrawMarks(dc, owner_.Marks(), w, h);
    {
        ui::SelectGuard pen(dc, GetStockObject(BLACK_PEN));
        const POINT outline[5] = {{0, 0}, {0, h - 3}, {w - 3, h - 3}, {w - 3, 0}, {0, 0}};
        Polyline(dc, outline, 5);
    }
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT right{w - 2, 2, w, h};
    const RECT bottom{2, h - 2, w, h};
    FillRect(dc, &right, black);
    FillRect(dc, &bottom, black);
}

// ------------------------------------------------------------------ the control

TRepPreview::TRepPreview(ui::Window& parent, int x, int y) : image_(*this) {
    name = L"RepPreview";
    OnResize = [this] { RefitZoom(); };
    createCustom(parent.hwnd(), WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN,
                 WS_EX_CLIENTEDGE, x, y, 250, 250);
    ownHwnd_ = hwnd();
    outer_ = {width(), height()};
    UpdateScrollBars();
}

TRepPreview::~TRepPreview() {
    destroying_ = true;
    if (!printer_) return;
    try {
        SetReportPrinter(nullptr);
    } catch (const std::exception& e) {
        ui::Application::get().showException(e);
    } catch (...) {
        ui::Application::get().showError(L"Unknown error");
    }
}

void TRepPreview::SetReportPrinter(TRepPrinter* printer) {
    // The hand-over completes even when the old printer's after-preview hook fails; the
    // failure is reported once the new printer is in place.
    std::exception_ptr failure;
    if (printer_ && printer_->Client == ownHwnd_ && ownHwnd_) {
        try {
            printer_->SetShowingPreview(false);
        } catch (...) {
            failure = std::current_exception();
        }
        printer_->Client = nullptr;
    }
    printer_ = printer;
    image_.ReportPrinter = printer;
    if (printer) {
        printer->Client = ownHwnd_;
        printer->SetShowingPreview(true);
    }
    ShowPageAfresh(1);
    if (!destroying_ && hwnd()) invalidate();
    // Clicks and drags on the page reach the same handlers as those around it.
    static_cast<TRepMouseHandlers&>(image_) = static_cast<const TRepMouseHandlers&>(*this);
    if (failure) std::rethrow_exception(failure);
}

bool TRepPreview::ChangePage(int n) {
    if (n == pageNumber_ && image_.HasPage()) return false;
    if (n <= 0 || !printer_ || n > printer_->PageCount()) return false;
    image_.ShowPage(n);
    pageNumber_ = n;
    SetVertPosition(0);
    SetHorzPosition(0);
    return true;
}

void TRepPreview::SetPageNumber(int n) { ChangePage(n); }

void TRepPreview::ShowPageAfresh(int n) {
    // Read once: by the page change when there is one, else here.
    if (!ChangePage(n)) image_.ShowPage(n);
}

void TRepPreview::SetMarks(std::vector<TRepNativeRect> marks) {
    marks_ = std::move(marks);
    if (hwnd()) InvalidateImage();
}

void TRepPreview::SetUnderlay(ui::BitmapHandle picture) {
    underlay_ = std::move(picture);
    if (hwnd()) InvalidateImage();
}

void TRepPreview::SetZoom(int value) {
    if (value < kZoomMin || value > kZoomMax) return;
    zoomMode_ = pzPercent;
    zoom_ = value;
    LayOutImage();
}

void TRepPreview::FitToPage() {
    long double pageWidth = kLetterWidth, pageLength = kLetterLength;
    if (printer_) {
        pageWidth = printer_->XSize(printer_->PaperWidth());
        pageLength = printer_->YSize(printer_->PaperLength());
    }
    // A zero-sized page gives an infinite or undefined quotient, which SetZoom rejects.
    const int a = ZoomValue(static_cast<long double>(width()) / pageWidth * 95);
    const int b = ZoomValue(static_cast<long double>(height()) / pageLength * 95);
    SetZoom(std::min(a, b));
    zoomMode_ = pzFitPage;
}

void TRepPreview::FitToWidth() {
    int z;
    if (printer_)
        z = ZoomValue(static_cast<long double>(width()) / printer_->XSize(printer_->PaperWidth()) * 90);
    else
        z = ZoomValue(static_cast<long double>(width()) / kLetterWidth * 95);
    SetZoom(z);
    zoomMode_ = pzFitWidth;
}

void TRepPreview::LayOutImage() {
    int w, h;
    const long double scale = 0.01L * zoom_;
    if (printer_) {
        w = printer_->XSize(printer_->PaperWidth() * scale) + 4;
        h = printer_->YSize(printer_->PaperLength() * scale) + 4;
    } else {
        w = static_cast<int>(RoundEven(kLetterWidth * scale)) + 4;
        h = static_cast<int>(RoundEven(kLetterLength * scale)) + 4;
    }
    const int outerW = width(), outerH = height();
    const int left = w < outerW ? (outerW - w) / 2 : 0;
    const int top = h < outerH ? (outerH - h) / 2 : 0;
    image_.SetBounds(left, top, w, h);
    UpdateScrollBars();
    SetHorzPosition(0);
    SetVertPosition(0);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void TRepPreview::RefitZoom() {
    // Each lays the image out once; a second layout would only repeat the first.
    if (zoomMode_ == pzFitPage) FitToPage();
    else if (zoomMode_ == pzFitWidth) FitToWidth();
    else LayOutImage();
}

// ------------------------------------------------------------------ scrolling

void TRepPreview::UpdateScrollBars() {
    if (!hwnd() || updatingBars_) return;
    updatingBars_ = true;
    const LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
    const int barW = GetSystemMetrics(SM_CXVSCROLL), barH = GetSystemMetrics(SM_CYHSCROLL);
    const SIZE client = clientSize();
    // The area inside the border, with no bar shown.
    const int innerW = client.cx + ((style & WS_VSCROLL) ? barW : 0);
    const int innerH = client.cy + ((style & WS_HSCROLL) ? barH : 0);
    // The scrolled area reaches to the image's right and bottom edges.
    const int extentW = image_.Left() + image_.Width();
    const int extentH = image_.Top() + image_.Height();
    // Before the first page there is nothing to scroll: no bars, which Wine draws for about
    // 5 ms each as the window is shown, only to take one away when page 1 comes at width.
    const bool anyPage = printer_ && printer_->AvailablePages() > 0;
    bool needH = anyPage && extentW > innerW, needV = anyPage && extentH > innerH;
    if (needH && !needV) needV = extentH > innerH - barH;
    if (needV && !needH) needH = extentW > innerW - barW;
    const int viewW = std::max(0, innerW - (needV ? barW : 0));
    const int viewH = std::max(0, innerH - (needH ? barH : 0));
    hPos_ = std::clamp(hPos_, 0, std::max(0, extentW - viewW));
    vPos_ = std::clamp(vPos_, 0, std::max(0, extentH - viewH));
    // The bars are shown and hidden together by their style bits and one frame change, and
    // drawn once: shown one by one, each would redraw the frame at once, and under Wine every
    // drawing of themed scroll bars costs about 5 ms.
    const LONG wanted = (style & ~(WS_HSCROLL | WS_VSCROLL)) | (needH ? WS_HSCROLL : 0) | (needV ? WS_VSCROLL : 0);
    if (wanted != style) SetWindowLongW(hwnd(), GWL_STYLE, wanted);
    bool changed = false;
    auto apply = [this, &changed](int bar, bool need, int extent, int view, int pos) {
        const BarState now{need, need ? extent : 0, need ? view : 0, need ? pos : 0};
        BarState& last = bar == SB_HORZ ? barH_ : barV_;
        if (now == last) return;
        last = now;
        if (!need) return;  // its style bit goes, below
        changed = true;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = extent - 1;
        si.nPage = static_cast<UINT>(view);
        si.nPos = pos;
        SetScrollInfo(hwnd(), bar, &si, FALSE);
    };
    apply(SB_HORZ, needH, extentW, viewW, hPos_);
    apply(SB_VERT, needV, extentH, viewH, vPos_);
    if (wanted != style) {
        // Redraws the frame; the client follows from WM_SIZE.
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (changed) {
        // Both bars are drawn once, with the next paint, not each as it is set.
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
    updatingBars_ = false;
}

void TRepPreview::SetHorzPosition(int x) {
    const int maxPos = std::max(0, image_.Left() + image_.Width() - static_cast<int>(clientSize().cx));
    x = std::clamp(x, 0, maxPos);
    if (x == hPos_) return;
    hPos_ = x;
    if (!hwnd()) return;
    if (barH_.need) barH_.pos = hPos_;
    SetScrollPos(hwnd(), SB_HORZ, hPos_, TRUE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TRepPreview::SetVertPosition(int y) {
    const int maxPos = std::max(0, image_.Top() + image_.Height() - static_cast<int>(clientSize().cy));
    y = std::clamp(y, 0, maxPos);
    if (y == vPos_) return;
    vPos_ = y;
    if (!hwnd()) return;
    if (barV_.need) barV_.pos = vPos_;
    SetScrollPos(hwnd(), SB_VERT, vPos_, TRUE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TRepPreview::ScrollMessage(int bar, WORD code) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd(), bar, &si);
    const bool horz = bar == SB_HORZ;
    const SIZE view = clientSize();
    const int page = horz ? view.cx : view.cy;
    int pos = horz ? hPos_ : vPos_;
    switch (code) {
    case SB_LINEUP: pos -= kLineStep; break;
    case SB_LINEDOWN: pos += kLineStep; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    // Tracking: the page follows the thumb while it is dragged.
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    if (horz) SetHorzPosition(pos);
    else SetVertPosition(pos);
}

// ------------------------------------------------------------------ messages

void TRepPreview::PageAvailableMessage(int page) {
    // The page on screen was awaited (the first page, or one shown blank while it was
    // being produced): it comes into view at page width.
    if (printer_ && page == pageNumber_ && !image_.HasPage() && image_.PageNumber() <= printer_->AvailablePages()) {
        FitToWidth();
        image_.ShowPage(image_.PageNumber());
    }
    if (OnPageAvailable) OnPageAvailable(*this, page);
}

void TRepPreview::ProgressMessage(int progress) {
    if (OnProgressUpdate) OnProgressUpdate(*this, progress);
}

void TRepPreview::InvalidateImage() {
    RECT r{image_.Left() - hPos_, image_.Top() - vPos_, 0, 0};
    r.right = r.left + image_.Width();
    r.bottom = r.top + image_.Height();
    InvalidateRect(hwnd(), &r, FALSE);
}

void TRepPreview::Paint() {
    ui::PaintDC pdc(hwnd());
    const RECT area = pdc.area();
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    // Drawn off screen first, so that scrolling and zooming do not flicker.
    ui::BackBuffer::Use buffer(ui::sharedBackBuffer(), pdc.get(), w, h);
    const HDC mem = buffer.dc();
    if (!mem) return;
    SetViewportOrgEx(mem, -area.left, -area.top, nullptr);
    FillRect(mem, &area, GetSysColorBrush(COLOR_BTNFACE));
    {
        ui::SavedDC saved(mem);
        const int x = image_.Left() - hPos_, y = image_.Top() - vPos_;
        OffsetViewportOrgEx(mem, x, y, nullptr);
        IntersectClipRect(mem, 0, 0, image_.Width(), image_.Height());
        image_.Paint(mem);
    }
    SetViewportOrgEx(mem, 0, 0, nullptr);
    BitBlt(pdc.get(), area.left, area.top, w, h, mem, 0, 0, SRCCOPY);
}

void TRepPreview::MouseMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const int cx = GET_X_LPARAM(lp), cy = GET_Y_LPARAM(lp);
    const int ax = cx + hPos_ - image_.Left(), ay = cy + vPos_ - image_.Top();
    const bool onImage = ax >= 0 && ay >= 0 && ax < image_.Width() && ay < image_.Height();
    TRepMouseHandlers& target = onImage ? static_cast<TRepMouseHandlers&>(image_) : *this;
    const int x = onImage ? ax : cx, y = onImage ? ay : cy;
    const auto keys = static_cast<unsigned>(GET_KEYSTATE_WPARAM(wp));
    int button = -1;
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: button = 0; break;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: button = 1; break;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: button = 2; break;
    default: break;
    }
    switch (msg) {
    case WM_MOUSEMOVE:
        if (target.OnMouseMove) target.OnMouseMove(-1, keys, x, y);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (msg == WM_LBUTTONDOWN) {
            SetCapture(hwnd());
            downOnImage_ = onImage;
            downOnSelf_ = !onImage;
        }
        if (target.OnMouseDown) target.OnMouseDown(button, keys, x, y);
        break;
    case WM_LBUTTONDBLCLK:
        if (target.OnDblClick) target.OnDblClick();
        if (target.OnMouseDown) target.OnMouseDown(button, keys, x, y);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        bool clicked = false;
        if (msg == WM_LBUTTONUP) {
            ReleaseCapture();
            clicked = onImage ? downOnImage_ : downOnSelf_;
            downOnImage_ = downOnSelf_ = false;
        }
        if (target.OnMouseUp) target.OnMouseUp(button, keys, x, y);
        if (clicked && target.OnClick) target.OnClick();
        break;
    }
    default: break;
    }
}

LRESULT TRepPreview::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_REPPAGEAVAILABLE:
        PageAvailableMessage(Low16(wp));
        return 0;
    case WM_REPPROGRESS:
        ProgressMessage(Low16(wp));
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE: {
        UpdateScrollBars();
        InvalidateRect(hwnd(), nullptr, FALSE);
        // Scroll bars coming and going change only the inner size, not the control's.
        const SIZE now{width(), height()};
        if (!updatingBars_ && (now.cx != outer_.cx || now.cy != outer_.cy)) {
            outer_ = now;
            if (OnResize) OnResize();
        }
        return 0;
    }
    case WM_HSCROLL:
        if (lp == 0) {
            ScrollMessage(SB_HORZ, LOWORD(wp));
            return 0;
        }
        break;
    case WM_VSCROLL:
        if (lp == 0) {
            ScrollMessage(SB_VERT, LOWORD(wp));
            return 0;
        }
        break;
    case WM_MOUSEWHEEL:
        SetVertPosition(vPos_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * 3 * kLineStep);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        MouseMessage(msg, wp, lp);
        return 0;
    case WM_DESTROY:
        // A preview whose window is gone lets go of its printer at once.
        if (printer_) {
            destroying_ = true;
            SetReportPrinter(nullptr);
        }
        break;
    default:
        break;
    }
    return Window::handleMessage(msg, wp, lp);
}

}  // namespace rep
