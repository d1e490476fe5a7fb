#include "ui/tool_bar.h"

#include <commctrl.h>
#include <windowsx.h>

#include "ui/app.h"
#include "ui/handles.h"

namespace ui {

ToolButton::ToolButton(ToolBar& bar, const std::wstring& name, const ToolButtonArgs& a)
    : name(name), bar_(bar), rect_{a.x, a.y, a.x + a.w, a.y + a.h}, glyph_(a.glyph), hint_(a.hint),
      group_(a.groupIndex) {}

void ToolButton::click() {
    if (group_ != 0) setDown(true);
    if (onClick) onClick();
}

void ToolButton::setDown(bool d) {
    if (d && group_ != 0) {
        // Radio group: pressing one releases the others of its group.
        for (const auto& b : bar_.buttons()) {
            if (b.get() != this && b->group_ == group_ && b->down_) {
                b->down_ = false;
                bar_.redraw(*b);
            }
        }
    }
    down_ = d;
    bar_.redraw(*this);
}

void ToolButton::paint(HDC dc, bool pressed, bool hot, bool enabled) const {
    RECT r = rect_;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    const bool sunk = pressed || down_;
    if (sunk) {
        if (down_ && !pressed) {
            // The down state shows a light face, as latched buttons do.
            RECT in = r;
            InflateRect(&in, -1, -1);
            FillRect(dc, &in, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        }
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    } else if (hot && enabled) {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    }
    if (!glyph_) return;
    const int off = sunk ? 1 : 0;
    drawPicture(dc, r.left + (r.right - r.left - glyph_->width) / 2 + off,
                r.top + (r.bottom - r.top - glyph_->height) / 2 + off, *glyph_, !enabled);
}

ToolBar::ToolBar(Window& parent, const PanelArgs& a) : Panel(parent, a) {}

ToolButton& ToolBar::addButton(const std::wstring& name, const ToolButtonArgs& a) {
    buttons_.push_back(std::make_unique<ToolButton>(*this, name, a));
    redraw(*buttons_.back());
    return *buttons_.back();
}

ToolButton* ToolBar::button(const std::wstring& name) const {
    for (const auto& b : buttons_)
        if (b->name == name) return b.get();
    return nullptr;
}

void ToolBar::redraw(const ToolButton& b) { InvalidateRect(hwnd(), &b.rect_, FALSE); }

ToolButton* ToolBar::at(POINT p) const {
    for (const auto& b : buttons_)
        if (PtInRect(&b->rect_, p)) return b.get();
    return nullptr;
}

void ToolBar::paint(HDC dc, const RECT& area) {
    Panel::paint(dc, area);
    const bool on = enabled();
    for (const auto& b : buttons_) {
        RECT dummy;
        if (IntersectRect(&dummy, &b->rect_, &area)) b->paint(dc, b.get() == pressed_, b.get() == hot_, on);
    }
}

void ToolBar::makeHints(const MSG& first) {
    useCommonControls();
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                           0, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip_) return;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        ToolButton& b = *buttons_[i];
        if (b.hint_.empty()) continue;
        TOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.uFlags = TTF_SUBCLASS;
        ti.hwnd = hwnd();
        ti.uId = i + 1;
        ti.rect = b.rect_;
        ti.lpszText = b.hint_.data();
        SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    // The hover that made it came before its subclass did.
    SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&first));
}

void ToolBar::setHot(ToolButton* b) {
    if (b == hot_) return;
    if (hot_) redraw(*hot_);
    hot_ = b;
    if (hot_) redraw(*hot_);
}

LRESULT ToolBar::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (ToolButton* b = at(p); b && enabled()) {
            SetCapture(hwnd());
            pressed_ = b;
            redraw(*b);
        }
        return 0;
    case WM_MOUSEMOVE: {
        ToolButton* b = at(p);
        if (!tip_ && b && !b->hint_.empty()) {
            const DWORD pos = GetMessagePos();
            makeHints(MSG{hwnd(), msg, wp, lp, static_cast<DWORD>(GetMessageTime()),
                          {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)}});
        }
        if (!tracking_) {
            TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, hwnd(), 0};
            tracking_ = TrackMouseEvent(&t) != FALSE;
        }
        setHot(b);
        return 0;
    }
    case WM_MOUSELEAVE:
        tracking_ = false;
        setHot(nullptr);
        return 0;
    case WM_LBUTTONUP:
        if (ToolButton* b = pressed_) {
            pressed_ = nullptr;
            ReleaseCapture();
            redraw(*b);
            // The click may close the window that holds the bar: nothing of it is used after.
            if (PtInRect(&b->rect_, p) && enabled()) b->click();
        }
        return 0;
    case WM_CAPTURECHANGED:
        // A dialog that took the mouse while a button was held.
        if (pressed_ && reinterpret_cast<HWND>(lp) != hwnd()) {
            redraw(*pressed_);
            pressed_ = nullptr;
        }
        break;
    case WM_ENABLE:
        invalidate();
        break;
    default:
        break;
    }
    return Panel::handleMessage(msg, wp, lp);
}

}  // namespace ui
