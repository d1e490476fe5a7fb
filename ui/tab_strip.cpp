#include "ui/tab_strip.h"

#include "ui/font.h"
#include "ui/handles.h"

namespace ui {

namespace {
constexpr int kMargin = 2;  // the chosen tab stands out by this much at the sides and top
constexpr int kFrame = 2;   // the raised frame's width
constexpr int kPad = 6;     // caption to tab edge, where tabs are as wide as their captions

void line(HDC dc, int x1, int y1, int x2, int y2, int color) {
    SelectGuard pen(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, GetSysColor(color));
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}
}  // namespace

TabStrip::TabStrip(Window& parent, const TabStripArgs& a) : tabWidth_(a.tabWidth), tabHeight_(a.tabHeight) {
    createCustom(parent.hwnd(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, a.w, a.h);
    if (a.font) setFont(a.font, false);
    if (tabHeight_ <= 0) tabHeight_ = textExtent(tabFont(), L"Ag").cy + kPad + 2;
    lefts_.push_back(kMargin);
}

HFONT TabStrip::tabFont() const { return font() ? font() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

int TabStrip::rowHeight() const { return kMargin + tabHeight_; }

void TabStrip::addTab(const std::wstring& caption) {
    captions_.push_back(caption);
    const int w = tabWidth_ > 0 ? tabWidth_ : textExtent(tabFont(), caption).cx + 2 * kPad;
    lefts_.push_back(lefts_.back() + w);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

RECT TabStrip::tabRect(int i) const {
    if (i < 0 || i >= count()) return {};
    const auto k = static_cast<size_t>(i);
    return {lefts_[k], kMargin, lefts_[k + 1], rowHeight()};
}

RECT TabStrip::pageRect() const {
    const SIZE s = clientSize();
    return {2 * kFrame, rowHeight() + kFrame, s.cx - 2 * kFrame, s.cy - 2 * kFrame};
}

void TabStrip::select(int i) {
    if (i < 0 || i >= count() || i == selected_) return;
    selected_ = i;
    RECT r{0, 0, clientSize().cx, rowHeight() + kFrame};
    InvalidateRect(hwnd(), &r, TRUE);
}

void TabStrip::choose(int i) {
    if (i < 0 || i >= count() || i == selected_) return;
    select(i);
    if (onSelect) onSelect(i);
}

int TabStrip::tabAt(POINT p) const {
    // The chosen tab is the larger one and lies over its neighbours' edges.
    if (selected_ >= 0) {
        RECT r = tabRect(selected_);
        InflateRect(&r, kMargin, 0);
        r.top = 0;
        if (PtInRect(&r, p)) return selected_;
    }
    for (int i = 0; i < count(); ++i) {
        RECT r = tabRect(i);
        if (PtInRect(&r, p)) return i;
    }
    return -1;
}

void TabStrip::paint(HDC dc) const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const int row = rowHeight();
    // The frame around the pages, raised.
    RECT frame{0, row, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
    SelectGuard useFont(dc, tabFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    // The others first, so that the chosen one is drawn over their edges.
    std::vector<int> order;
    for (int i = 0; i < count(); ++i)
        if (i != selected_) order.push_back(i);
    if (selected_ >= 0) order.push_back(selected_);
    for (int i : order) {
        RECT r = tabRect(i);
        const bool chosen = i == selected_;
        if (chosen) {
            InflateRect(&r, kMargin, 0);
            r.top = 0;
            r.bottom = row + 1;  // over the frame's top edge, so that tab and page are one
        }
        RECT inside{r.left + 1, r.top + 1, r.right - 2, r.bottom};
        FillRect(dc, &inside, GetSysColorBrush(COLOR_BTNFACE));
        const int bottom = chosen ? r.bottom : r.bottom - 1;
        line(dc, r.left, bottom, r.left, r.top + 2, COLOR_BTNHIGHLIGHT);
        line(dc, r.left, r.top + 2, r.left + 2, r.top, COLOR_BTNHIGHLIGHT);
        line(dc, r.left + 2, r.top, r.right - 2, r.top, COLOR_BTNHIGHLIGHT);
        line(dc, r.right - 2, r.top + 1, r.right - 1, r.top + 2, COLOR_3DDKSHADOW);
        line(dc, r.right - 1, r.top + 2, r.right - 1, bottom + 1, COLOR_3DDKSHADOW);
        line(dc, r.right - 2, r.top + 1, r.right - 2, bottom + 1, COLOR_BTNSHADOW);
        RECT text{r.left + kMargin, r.top + 1, r.right - kMargin, r.bottom - (chosen ? 1 : 0)};
        const auto& caption = captions_[static_cast<size_t>(i)];
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (chosen && GetFocus() == hwnd()) {
            RECT focusRect = text;
            InflateRect(&focusRect, -2, -2);
            DrawFocusRect(dc, &focusRect);
        }
    }
}

LRESULT TabStrip::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PaintDC dc(hwnd());
        paint(dc.get());
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        choose(tabAt({static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (wp == VK_LEFT || wp == VK_UP) {
            choose(selected_ - 1);
            return 0;
        }
        if (wp == VK_RIGHT || wp == VK_DOWN) {
            choose(selected_ + 1);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
    default:
        break;
    }
    return Window::handleMessage(msg, wp, lp);
}

}  // namespace ui
