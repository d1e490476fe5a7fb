#include "ui/controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "ui/font.h"
#include "ui/form.h"
#include "ui/handles.h"

namespace ui {

namespace {
DWORD staticAlign(Align a, bool wrap) {
    switch (a) {
    case Align::Center: return SS_CENTER;
    case Align::Right: return SS_RIGHT;
    default: return wrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
    }
}

// How static text of that alignment lays out its caption.
UINT staticFormat(Align a, bool wrap) {
    switch (a) {
    case Align::Center: return DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;
    case Align::Right: return DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;
    default: return DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX | (wrap ? DT_WORDBREAK : 0u);
    }
}

}  // namespace

// ---------------------------------------------------------------- Label
Label::Label(Window& parent, const LabelArgs& a) : transparent_(a.transparent) {
    DWORD style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX | staticAlign(a.align, a.wordWrap);
    // Sized to its caption before it is made, in the font it will have.
    int w = a.w, h = a.h;
    if (w == 0 || h == 0) {
        const SIZE s = textExtent(a.font ? a.font : parent.font(), a.caption);
        if (w == 0) w = s.cx;
        if (h == 0) h = s.cy;
    }
    createControl(L"STATIC", parent.hwnd(), style, 0, a.x, a.y, std::max(w, 1), std::max(h, 1), a.caption);
    if (a.font) setFont(a.font, false);
}

HBRUSH Label::onCtlColor(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    return transparent_ ? GetSysColorBrush(COLOR_BTNFACE) : GetSysColorBrush(COLOR_WINDOW);
}

// ---------------------------------------------------------------- Edit
Edit::Edit(Window& parent, const EditArgs& a) {
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
    if (a.readOnly) style |= ES_READONLY;
    if (a.align == Align::Right) style |= ES_RIGHT;
    if (a.align == Align::Center) style |= ES_CENTER;
    createControl(L"EDIT", parent.hwnd(), style, WS_EX_CLIENTEDGE, a.x, a.y, a.w, a.h, a.text);
    // A field has no length limit; the control's own default stops at 30,000 characters.
    SendMessageW(hwnd(), EM_LIMITTEXT, 0, 0);
}

HBRUSH Edit::onCtlColor(HDC dc) {
    // Read-only fields stay white like the others.
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return GetSysColorBrush(COLOR_WINDOW);
}

bool Edit::onCommand(WORD code) {
    if (code == EN_KILLFOCUS && onExit) {
        onExit();
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- ComboBox
ComboBox::ComboBox(Window& parent, const ComboArgs& a) : fieldHeight_(a.h), dropDownCount_(a.dropDownCount) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    createControl(L"COMBOBOX", parent.hwnd(), style, 0, a.x, a.y, a.w, a.h + 200);
    SendMessageW(hwnd(), CB_LIMITTEXT, 0, 0);
    // The selection field is as high as the form says; the rest is the open list.
    SendMessageW(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, a.h - 6));
    for (const auto& s : a.items) addItem(s);
    applyDropHeight();
}

void ComboBox::addItem(const std::wstring& s) {
    SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

int ComboBox::itemCount() const { return static_cast<int>(SendMessageW(hwnd(), CB_GETCOUNT, 0, 0)); }

std::wstring ComboBox::item(int i) const {
    auto n = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n == CB_ERR) return {};
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}

int ComboBox::itemIndex() const { return static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0)); }

void ComboBox::setItemIndex(int i) {
    if (i < 0 || i >= itemCount()) {
        SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetWindowTextW(hwnd(), L"");
        return;
    }
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

void ComboBox::setDropDownCount(int n) {
    dropDownCount_ = n;
    applyDropHeight();
}

void ComboBox::applyDropHeight() {
    int itemH = static_cast<int>(SendMessageW(hwnd(), CB_GETITEMHEIGHT, 0, 0));
    RECT r = bounds();
    // The open list shows dropDownCount items without a scroll bar.
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, fieldHeight_ + itemH * dropDownCount_ + 4,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(hwnd(), CB_SETMINVISIBLE, static_cast<WPARAM>(dropDownCount_), 0);
}

bool ComboBox::droppedDown() const { return SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

void ComboBox::showDropDown(bool show) { SendMessageW(hwnd(), CB_SHOWDROPDOWN, show ? TRUE : FALSE, 0); }

int ComboBox::fieldHeight() const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(hwnd(), &info)) return info.rcButton.bottom + info.rcButton.top;
    return fieldHeight_;
}

HBRUSH ComboBox::onCtlColor(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

// ---------------------------------------------------------------- Button
Button::Button(Window& parent, const ButtonArgs& a) : glyph_(a.glyph) {
    createControl(L"BUTTON", parent.hwnd(), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, a.x, a.y, a.w, a.h, a.caption);
}

void Button::click() {
    if (onClick) onClick();
}

void Button::setDefault(bool d) {
    default_ = d;
    invalidate();
}

bool Button::onCommand(WORD code) {
    // An owner-drawn button reports a quick second click as a double click; it is a click.
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
        click();
        return true;
    }
    return false;
}

LRESULT Button::handleSubclassed(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    if (msg == WM_GETDLGCODE) {
        handled = true;
        return DLGC_BUTTON | (default_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    }
    return Window::handleSubclassed(msg, wp, lp, handled);
}

bool Button::onDrawItem(const DRAWITEMSTRUCT* dis) {
    HDC dc = dis->hDC;
    RECT r = dis->rcItem;
    bool pushed = dis->itemState & ODS_SELECTED;
    bool disabled = dis->itemState & ODS_DISABLED;
    bool hasFocus = dis->itemState & ODS_FOCUS;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (default_ || hasFocus) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    std::wstring caption = text();
    SelectGuard sel(dc, font());
    RECT tr{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), -1, &tr, DT_CALCRECT | DT_SINGLELINE);
    int gw = glyph_ ? glyph_->width : 0, gh = glyph_ ? glyph_->height : 0;
    int spacing = (glyph_ && !caption.empty()) ? 4 : 0;
    int total = gw + spacing + tr.right;
    int x = r.left + (r.right - r.left - total) / 2 + (pushed ? 1 : 0);
    int cy = r.top + (r.bottom - r.top) / 2 + (pushed ? 1 : 0);
    if (glyph_) drawPicture(dc, x, cy - gh / 2, *glyph_, disabled);
    RECT tx{x + gw + spacing, cy - tr.bottom / 2, x + total, cy - tr.bottom / 2 + tr.bottom};
    SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        OffsetRect(&tx, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), -1, &tx, DT_SINGLELINE);
        OffsetRect(&tx, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextW(dc, caption.c_str(), -1, &tx, DT_SINGLELINE);
    if (hasFocus) {
        RECT fr = r;
        InflateRect(&fr, -3, -3);
        DrawFocusRect(dc, &fr);
    }
    return true;
}

// ---------------------------------------------------------------- Panel
Panel::Panel(Window& parent, const PanelArgs& a) : Panel(parent.hwnd(), a) {}

Panel::Panel(HWND parent, const PanelArgs& a) : bevel_(a.bevel), groupBox_(a.groupBox) {
    DWORD ex = a.border ? WS_EX_CLIENTEDGE : 0;
    createCustom(parent, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, ex | WS_EX_CONTROLPARENT,
                 a.x, a.y, a.w, a.h, a.caption);
    if (a.font) setFont(a.font, false);
}

Panel::Caption::Caption(Panel& panel, std::wstring name, std::wstring text, RECT rect, HFONT font, UINT format)
    : name(std::move(name)), panel_(panel), text_(std::move(text)), rect_(rect), font_(font), format_(format) {}

void Panel::Caption::setText(std::wstring text) {
    if (text == text_) return;
    text_ = std::move(text);
    InvalidateRect(panel_.hwnd(), &rect_, TRUE);
}

void Panel::Caption::setBounds(int x, int y, int w, int h) {
    const RECT now{x, y, x + w, y + h};
    if (EqualRect(&now, &rect_)) return;
    InvalidateRect(panel_.hwnd(), &rect_, TRUE);
    rect_ = now;
    InvalidateRect(panel_.hwnd(), &rect_, TRUE);
}

Panel::Caption& Panel::addCaption(const std::wstring& name, const LabelArgs& a) {
    HFONT f = a.font ? a.font : font();
    int w = a.w, h = a.h;
    if (w == 0 || h == 0) {
        const SIZE s = textExtent(f, a.caption);
        if (w == 0) w = s.cx;
        if (h == 0) h = s.cy;
    }
    captions_.push_back(std::make_unique<Caption>(*this, name, a.caption, RECT{a.x, a.y, a.x + w, a.y + h}, f,
                                                  staticFormat(a.align, a.wordWrap)));
    InvalidateRect(hwnd(), &captions_.back()->rect_, TRUE);
    return *captions_.back();
}

Panel::Caption* Panel::caption(const std::wstring& name) const {
    for (const auto& c : captions_)
        if (c->name == name) return c.get();
    return nullptr;
}

void Panel::paintCaptions(HDC dc, const RECT& area) const {
    SetBkMode(dc, TRANSPARENT);
    for (const auto& c : captions_) {
        RECT r = c->rect_, dummy;
        if (!IntersectRect(&dummy, &r, &area)) continue;
        SelectGuard f(dc, c->font_ ? static_cast<HGDIOBJ>(c->font_) : GetStockObject(SYSTEM_FONT));
        DrawTextW(dc, c->text_.c_str(), static_cast<int>(c->text_.size()), &r, c->format_);
    }
}

void Panel::paint(HDC dc, const RECT& area) {
    RECT r;
    GetClientRect(hwnd(), &r);
    paintCaptions(dc, area);
    if (bevel_) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    if (groupBox_) {
        SelectGuard sel(dc, font());
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        RECT fr = r;
        fr.top += tm.tmHeight / 2;
        DrawEdge(dc, &fr, EDGE_ETCHED, BF_RECT);
        std::wstring caption = text();
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        TextOutW(dc, 8, 0, caption.c_str(), static_cast<int>(caption.size()));
    }
}

LRESULT Panel::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintDC dc(hwnd());
        paint(dc.get(), dc.area());
        return 0;
    }
    if (msg == WM_SETTEXT && groupBox_) {
        LRESULT res = Window::handleMessage(msg, wp, lp);
        invalidate();
        return res;
    }
    if (msg == WM_LBUTTONUP && onClick) {
        onClick(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    }
    return Window::handleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- ScrollBox
ScrollBox::ScrollBox(Window& parent, int x, int y, int w, int h) {
    createCustom(parent.hwnd(), WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN,
                 WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, x, y, w, h);
}

Panel& ScrollBox::setContent(const PanelArgs& a) {
    content_ = &add<Panel>(*this, a);
    updateBar();
    return *content_;
}

void ScrollBox::updateBar() {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = content_ ? content_->height() - 1 : 0;
    si.nPage = static_cast<UINT>(clientSize().cy);
    si.nPos = pos_;
    SetScrollInfo(hwnd(), SB_VERT, &si, TRUE);
}

void ScrollBox::scrollTo(int y) {
    if (!content_) return;
    int maxPos = std::max(0, content_->height() - static_cast<int>(clientSize().cy));
    y = std::clamp(y, 0, maxPos);
    if (y == pos_) return;
    pos_ = y;
    content_->setPos(content_->left(), -pos_);
    updateBar();
}

void ScrollBox::scrollIntoView(Window& w) {
    for (Window* p = w.parentWindow(); p; p = p->parentWindow()) {
        auto* box = dynamic_cast<ScrollBox*>(p);
        if (!box || !box->content_) continue;
        RECT r;
        GetWindowRect(w.hwnd(), &r);
        MapWindowPoints(HWND_DESKTOP, box->content_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        int view = static_cast<int>(box->clientSize().cy);
        if (r.top < box->pos_) box->scrollTo(r.top);
        else if (r.bottom > box->pos_ + view) box->scrollTo(r.bottom - view);
    }
}

LRESULT ScrollBox::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_VSCROLL: {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        GetScrollInfo(hwnd(), SB_VERT, &si);
        int y = pos_;
        int page = static_cast<int>(clientSize().cy);
        switch (LOWORD(wp)) {
        case SB_LINEUP: y -= 8; break;
        case SB_LINEDOWN: y += 8; break;
        case SB_PAGEUP: y -= page; break;
        case SB_PAGEDOWN: y += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: y = si.nTrackPos; break;
        case SB_TOP: y = 0; break;
        case SB_BOTTOM: y = si.nMax; break;
        default: break;
        }
        scrollTo(y);
        return 0;
    }
    case WM_MOUSEWHEEL:
        scrollTo(pos_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * 24);
        return 0;
    case WM_SIZE:
        updateBar();
        break;
    default:
        break;
    }
    return Window::handleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- PageControl
PageControl::PageControl(Window& parent, const PageControlArgs& a) {
    createCustom(parent.hwnd(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, a.x, a.y, a.w, a.h);
    tabs_ = &add<TabStrip>(*this, TabStripArgs{a.w, a.h, a.tabWidth, a.tabHeight, a.tabFont});
    tabs_->onSelect = [this](int i) { setActivePage(i); };
}

Panel& PageControl::addPage(const std::wstring& caption, HFONT f) {
    tabs_->addTab(caption);
    const RECT r = tabs_->pageRect();
    Panel& p = add<Panel>(*this, PanelArgs{r.left, r.top, r.right - r.left, r.bottom - r.top, false, f});
    p.name = caption;
    p.setVisible(false);
    SetWindowPos(p.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pages_.push_back(&p);
    if (active_ < 0) setActivePage(0);
    return p;
}

void PageControl::setActivePage(int i) {
    if (i < 0 || i >= pageCount()) return;
    active_ = i;
    tabs_->select(i);
    for (int k = 0; k < pageCount(); ++k) pages_[static_cast<size_t>(k)]->setVisible(k == i);
    // The focus must not stay on a control that is now hidden.
    HWND f = GetFocus();
    if (f && IsChild(hwnd(), f) && !IsWindowVisible(f)) SetFocus(tabs_->hwnd());
    if (onChange) onChange();
}

// ---------------------------------------------------------------- Shape, Bevel
Shape::Shape(Window& parent, int x, int y, int w, int h) {
    createCustom(parent.hwnd(), WS_CHILD | WS_VISIBLE, 0, x, y, w, h);
}

LRESULT Shape::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintDC dc(hwnd());
        RECT r;
        GetClientRect(hwnd(), &r);
        SelectGuard pen(dc.get(), GetStockObject(BLACK_PEN));
        SelectGuard brush(dc.get(), GetStockObject(WHITE_BRUSH));
        Rectangle(dc.get(), 0, 0, r.right, r.bottom);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return Window::handleMessage(msg, wp, lp);
}

Bevel::Bevel(Window& parent, int x, int y, int w, int h) {
    createCustom(parent.hwnd(), WS_CHILD | WS_VISIBLE, 0, x, y, w, std::max(h, 2));
}

LRESULT Bevel::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintDC dc(hwnd());
        RECT r;
        GetClientRect(hwnd(), &r);
        DrawEdge(dc.get(), &r, EDGE_ETCHED, r.right > r.bottom ? BF_TOP : BF_LEFT);
        return 0;
    }
    return Window::handleMessage(msg, wp, lp);
}

}  // namespace ui
