#include "ui/window.h"

#include "ui/error.h"
#include "ui/subclass.h"

namespace ui {

namespace {
const wchar_t kProp[] = L"BlkWindowObject";
const wchar_t kClass[] = L"BlkWindow";
const wchar_t kFormClass[] = L"BlkForm";

void registerClasses(WNDPROC proc) {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    wc.lpszClassName = kFormClass;
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    RegisterClassExW(&wc);
}
}  // namespace

Window::~Window() {
    owned_.clear();
    if (hwnd_) {
        HWND h = hwnd_;
        detach();
        DestroyWindow(h);
    }
}

Window* Window::fromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    return static_cast<Window*>(GetPropW(hwnd, kProp));
}

void Window::attach(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropW(hwnd, kProp, this);
}

void Window::detach() {
    if (!hwnd_) return;
    RemovePropW(hwnd_, kProp);
    if (!custom_) removeSubclass(hwnd_, subclassProc, 1);
    hwnd_ = nullptr;
}

void Window::createCustom(HWND parent, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                          const std::wstring& text, bool topLevel, HMENU menu) {
    registerClasses(customProc);
    custom_ = true;
    HWND hwnd = CreateWindowExW(exStyle, topLevel ? kFormClass : kClass, text.c_str(), style, x, y, w, h,
                                parent, menu, GetModuleHandleW(nullptr), this);
    if (!hwnd) throwLastError(L"Cannot create window " + name);
    if (parent && !topLevel) {
        if (auto* p = fromHandle(parent); p && p->font_) setFont(p->font_, false);
    }
}

void Window::createControl(const wchar_t* cls, HWND parent, DWORD style, DWORD exStyle, int x, int y,
                           int w, int h, const std::wstring& text) {
    custom_ = false;
    HWND hwnd = CreateWindowExW(exStyle, cls, text.c_str(), style, x, y, w, h, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throwLastError(std::wstring(L"Cannot create control ") + cls);
    attach(hwnd);
    setSubclass(hwnd, subclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    if (parent) {
        if (auto* p = fromHandle(parent); p && p->font_) setFont(p->font_, false);
    }
}

LRESULT CALLBACK Window::customProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = fromHandle(hwnd);
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        self = static_cast<Window*>(cs->lpCreateParams);
        if (self) self->attach(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        self->detach();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    guarded([&] { result = self->dispatch(msg, wp, lp); });
    return result;
}

LRESULT CALLBACK Window::subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<Window*>(ref);
    if (msg == WM_NCDESTROY) {
        removeSubclass(hwnd, subclassProc, 1);
        if (self && self->hwnd_ == hwnd) {
            RemovePropW(hwnd, kProp);
            self->hwnd_ = nullptr;
        }
        return defSubclassProc(hwnd, msg, wp, lp);
    }
    if (!self) return defSubclassProc(hwnd, msg, wp, lp);
    bool handled = false;
    LRESULT result = 0;
    try {
        result = self->handleSubclassed(msg, wp, lp, handled);
    } catch (const std::exception& e) {
        handled = true;
        Application::get().showException(e);
    } catch (...) {
        handled = true;
        Application::get().showError(L"Unknown error");
    }
    return handled ? result : defSubclassProc(hwnd, msg, wp, lp);
}

bool Window::reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        if (lp) {
            if (auto* c = fromHandle(reinterpret_cast<HWND>(lp)); c && c->onCommand(HIWORD(wp))) {
                result = 0;
                return true;
            }
        }
        break;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (auto* c = fromHandle(hdr->hwndFrom); c && c->onNotify(hdr, result)) return true;
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (auto* c = fromHandle(dis->hwndItem); c && c->onDrawItem(dis)) {
            result = TRUE;
            return true;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (auto* c = fromHandle(reinterpret_cast<HWND>(lp))) {
            if (HBRUSH b = c->onCtlColor(reinterpret_cast<HDC>(wp))) {
                result = reinterpret_cast<LRESULT>(b);
                return true;
            }
        }
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lp) {
            if (auto* c = fromHandle(reinterpret_cast<HWND>(lp)); c && c->onScrollNotify(LOWORD(wp))) {
                result = 0;
                return true;
            }
        }
        break;
    default:
        break;
    }
    return false;
}

LRESULT Window::dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (reflect(msg, wp, lp, result)) return result;
    return handleMessage(msg, wp, lp);
}

LRESULT Window::handleMessage(UINT msg, WPARAM wp, LPARAM lp) { return callDefault(msg, wp, lp); }

LRESULT Window::handleSubclassed(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    // Containers built on standard controls (none yet) would reflect here too.
    LRESULT result = 0;
    if (reflect(msg, wp, lp, result)) {
        handled = true;
        return result;
    }
    handled = false;
    return 0;
}

LRESULT Window::callDefault(UINT msg, WPARAM wp, LPARAM lp) {
    if (custom_) return DefWindowProcW(hwnd_, msg, wp, lp);
    return defSubclassProc(hwnd_, msg, wp, lp);
}

void Window::setBounds(int x, int y, int w, int h) {
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::setPos(int x, int y) {
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void Window::setSize(int w, int h) {
    SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

RECT Window::bounds() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    HWND parent = GetAncestor(hwnd_, GA_PARENT);
    if (parent && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Window::width() const {
    RECT r = bounds();
    return r.right - r.left;
}

int Window::height() const {
    RECT r = bounds();
    return r.bottom - r.top;
}

SIZE Window::clientSize() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return {r.right, r.bottom};
}

void Window::setVisible(bool v) { ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE); }
bool Window::visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
bool Window::enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Window::setText(const std::wstring& s) { SetWindowTextW(hwnd_, s.c_str()); }

std::wstring Window::text() const {
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(n < 0 ? 0 : n));
    return s;
}

void Window::setFont(HFONT f, bool redraw) {
    font_ = f;
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f), redraw ? TRUE : FALSE);
}

void Window::invalidate() { InvalidateRect(hwnd_, nullptr, TRUE); }
void Window::focus() { SetFocus(hwnd_); }

Window* Window::parentWindow() const { return fromHandle(GetParent(hwnd_)); }

}  // namespace ui
