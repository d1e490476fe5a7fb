#include "ui/updown.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/controls.h"
#include "ui/handles.h"
#include "ui/subclass.h"

namespace ui {

namespace {
constexpr UINT_PTR kFieldSubclass = 0x5544;
}

UpDown::UpDown(Window& parent, const UpDownArgs& a)
    : min_(std::min(a.min, a.max)),
      max_(std::max(a.min, a.max)),
      pos_(std::clamp(a.position, std::min(a.min, a.max), std::max(a.min, a.max))),
      increment_(a.increment),
      wrap_(a.wrap),
      arrowKeys_(a.arrowKeys),
      fieldChars_(a.fieldChars) {
    createCustom(parent.hwnd(), WS_CHILD | WS_VISIBLE, 0, a.x, a.y, a.w, a.h);
}

UpDown::~UpDown() {
    repeat_.stop();
    if (fieldHwnd_) removeSubclass(fieldHwnd_, fieldProc, kFieldSubclass);
}

void UpDown::associate(Edit& field) {
    if (fieldHwnd_) removeSubclass(fieldHwnd_, fieldProc, kFieldSubclass);
    field_ = &field;
    fieldHwnd_ = field.hwnd();
    setSubclass(fieldHwnd_, fieldProc, kFieldSubclass, reinterpret_cast<DWORD_PTR>(this));
    showPosition();
}

std::wstring UpDown::format(int v, int chars) {
    std::wstring s = std::to_wstring(v);
    if (static_cast<int>(s.size()) < chars) s.insert(0, static_cast<size_t>(chars) - s.size(), L' ');
    return s;
}

void UpDown::showPosition() {
    if (field_ && fieldHwnd_) field_->setText(format(pos_, fieldChars_));
}

void UpDown::setPosition(int p) {
    pos_ = std::clamp(p, min_, max_);
    showPosition();
}

void UpDown::step(int direction) {
    long long next = static_cast<long long>(pos_) + static_cast<long long>(direction) * increment_;
    if (next > max_) next = wrap_ ? min_ : max_;
    if (next < min_) next = wrap_ ? max_ : min_;
    if (next == pos_) return;
    pos_ = static_cast<int>(next);
    showPosition();
    if (onChange) onChange();
}

LRESULT CALLBACK UpDown::fieldProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<UpDown*>(ref);
    if (msg == WM_KEYDOWN && self->arrowKeys_ && (wp == VK_UP || wp == VK_DOWN)) {
        guarded([&] { self->step(wp == VK_UP ? 1 : -1); });
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        removeSubclass(hwnd, fieldProc, kFieldSubclass);
        self->field_ = nullptr;
        self->fieldHwnd_ = nullptr;
    }
    return defSubclassProc(hwnd, msg, wp, lp);
}

void UpDown::paint(HDC dc) {
    RECT r;
    GetClientRect(hwnd(), &r);
    int mid = r.bottom / 2;
    RECT up{0, 0, r.right, mid}, down{0, mid, r.right, r.bottom};
    UINT off = enabled() ? 0 : DFCS_INACTIVE;
    DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | off | (pressed_ > 0 ? DFCS_PUSHED : 0));
    DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | off | (pressed_ < 0 ? DFCS_PUSHED : 0));
}

void UpDown::release() {
    repeat_.stop();
    if (pressed_) {
        pressed_ = 0;
        invalidate();
    }
}

LRESULT UpDown::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PaintDC dc(hwnd());
        paint(dc.get());
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!enabled()) return 0;
        SetCapture(hwnd());
        pressed_ = GET_Y_LPARAM(lp) < clientSize().cy / 2 ? 1 : -1;
        invalidate();
        // The field keeps the keyboard, so the arrow keys go on from where the mouse left off.
        if (field_ && fieldHwnd_ && GetFocus() != fieldHwnd_) field_->focus();
        int dir = pressed_;
        repeat_.start([this, dir] { step(dir); });
        return 0;
    }
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd()) ReleaseCapture();
        release();
        return 0;
    case WM_CAPTURECHANGED:
        release();
        return 0;
    case WM_ENABLE:
        if (!wp) release();
        invalidate();
        break;
    default:
        break;
    }
    return Window::handleMessage(msg, wp, lp);
}

}  // namespace ui
