#include "ui/spin_edit.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/controls.h"
#include "ui/handles.h"

namespace ui {

namespace {
constexpr int kButtonWidth = 15;

wchar_t decimalSeparator() {
    wchar_t buf[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 1) return buf[0];
    return L'.';
}
}  // namespace

// The text part: an edit box without its own border inside the spin edit's frame.
class SpinEdit::Field : public Edit {
public:
    Field(SpinEdit& owner, const EditArgs& a) : Edit(owner, a), owner_(owner) {
        LONG_PTR ex = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
        SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, ex & ~WS_EX_CLIENTEDGE);
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }

protected:
    LRESULT handleSubclassed(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
        if (msg == WM_CHAR && !SpinEdit::acceptsChar(static_cast<wchar_t>(wp))) {
            handled = true;
            owner_.refuse(static_cast<wchar_t>(wp));
            return 0;
        }
        if (msg == WM_KEYDOWN && (wp == VK_UP || wp == VK_DOWN)) {
            handled = true;
            owner_.step(wp == VK_UP ? 1 : -1);
            return 0;
        }
        return Edit::handleSubclassed(msg, wp, lp, handled);
    }

private:
    SpinEdit& owner_;
};

// The two arrow buttons on the right.
class SpinEdit::Buttons : public Window {
public:
    Buttons(SpinEdit& owner, int x, int y, int w, int h) : owner_(owner) {
        createCustom(owner.hwnd(), WS_CHILD | WS_VISIBLE, 0, x, y, w, h);
    }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_PAINT: {
            PaintDC dc(hwnd());
            RECT r;
            GetClientRect(hwnd(), &r);
            int mid = r.bottom / 2;
            RECT up{0, 0, r.right, mid}, down{0, mid, r.right, r.bottom};
            UINT off = owner_.enabled() ? 0 : DFCS_INACTIVE;
            DrawFrameControl(dc.get(), &up, DFC_SCROLL,
                             DFCS_SCROLLUP | off | (owner_.held_ > 0 ? DFCS_PUSHED : 0));
            DrawFrameControl(dc.get(), &down, DFC_SCROLL,
                             DFCS_SCROLLDOWN | off | (owner_.held_ < 0 ? DFCS_PUSHED : 0));
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!owner_.enabled()) return 0;
            SetCapture(hwnd());
            owner_.press(GET_Y_LPARAM(lp) < clientSize().cy / 2 ? 1 : -1);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == hwnd()) ReleaseCapture();
            owner_.release();
            return 0;
        case WM_CAPTURECHANGED:
            owner_.release();
            return 0;
        default:
            break;
        }
        return Window::handleMessage(msg, wp, lp);
    }

private:
    SpinEdit& owner_;
};

SpinEdit::SpinEdit(Window& parent, const SpinEditArgs& a)
    : min_(std::min(a.minValue, a.maxValue)), max_(std::max(a.minValue, a.maxValue)), increment_(a.increment) {
    createCustom(parent.hwnd(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, a.x, a.y, a.w, a.h);
    SIZE c = clientSize();
    int fieldWidth = std::max(1, static_cast<int>(c.cx) - kButtonWidth);
    field_ = &add<Field>(*this, EditArgs{0, 0, fieldWidth, static_cast<int>(c.cy)});
    buttons_ = &add<Buttons>(*this, fieldWidth, 0, static_cast<int>(c.cx) - fieldWidth, static_cast<int>(c.cy));
    field_->onExit = [this] { clampShown(); };
    setValue(a.value);
}

SpinEdit::~SpinEdit() { repeat_.stop(); }

HWND SpinEdit::buttons() const { return buttons_->hwnd(); }

Edit& SpinEdit::field() const { return *field_; }

bool SpinEdit::acceptsChar(wchar_t c) {
    if (c >= L'0' && c <= L'9') return true;
    if (c == L'+' || c == L'-' || c == decimalSeparator()) return true;
    return c < 32 && c != L'\r';
}

std::optional<long long> SpinEdit::parse(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    if (i == text.size()) return std::nullopt;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        v = v * 10 + (text[i] - L'0');
        if (v > 0x7FFFFFFFLL + 1) return std::nullopt;
    }
    return negative ? -v : v;
}

int SpinEdit::value() const {
    auto v = parse(field_->text());
    if (!v) return min_;
    return static_cast<int>(std::clamp<long long>(*v, min_, max_));
}

void SpinEdit::setValue(int v) { field_->setText(std::to_wstring(std::clamp(v, min_, max_))); }

void SpinEdit::step(int direction) {
    int before = value();
    setValue(static_cast<int>(std::clamp<long long>(static_cast<long long>(before) + direction * increment_, min_, max_)));
    if (onChange) onChange();
}

void SpinEdit::clampShown() {
    std::wstring shown = std::to_wstring(value());
    if (field_->text() != shown) field_->setText(shown);
}

void SpinEdit::refuse(wchar_t c) {
    if (onRefusedKey) onRefusedKey(c);
    else MessageBeep(MB_OK);
}

void SpinEdit::press(int direction) {
    held_ = direction;
    buttons_->invalidate();
    if (GetFocus() != field_->hwnd()) field_->focus();
    repeat_.start([this, direction] { step(direction); });
}

void SpinEdit::release() {
    repeat_.stop();
    if (held_) {
        held_ = 0;
        buttons_->invalidate();
    }
}

LRESULT SpinEdit::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETFOCUS:
        field_->focus();
        return 0;
    case WM_ENABLE:
        EnableWindow(field_->hwnd(), static_cast<BOOL>(wp));
        if (!wp) release();
        buttons_->invalidate();
        break;
    default:
        break;
    }
    return Window::handleMessage(msg, wp, lp);
}

}  // namespace ui
