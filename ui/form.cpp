#include "ui/form.h"

#include <algorithm>

#include "ui/controls.h"

namespace ui {

namespace {
BOOL CALLBACK collectEnabled(HWND h, LPARAM lp) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(lp);
    if (IsWindowVisible(h) && IsWindowEnabled(h)) list->push_back(h);
    return TRUE;
}
}  // namespace

Form::~Form() {
    if (hwnd()) {
        SetMenu(hwnd(), nullptr);
    } else {
        menu_.release();  // destroyed with its window
    }
}

namespace {
struct FormStyle {
    DWORD style, ex;
};

FormStyle styleOf(const FormArgs& a) {
    DWORD style = WS_CLIPCHILDREN | WS_CAPTION;
    DWORD ex = 0;
    switch (a.border) {
    case BorderStyle::Single: style |= WS_BORDER; break;
    case BorderStyle::Dialog: style |= WS_DLGFRAME; ex |= WS_EX_DLGMODALFRAME; break;
    case BorderStyle::Sizeable: style |= WS_THICKFRAME; break;
    }
    if (a.systemMenu) style |= WS_SYSMENU;
    if (a.minimizeBox) style |= WS_MINIMIZEBOX;
    if (a.maximizeBox) style |= WS_MAXIMIZEBOX;
    if (a.topMost) ex |= WS_EX_TOPMOST;
    return {style, ex};
}
}  // namespace

SIZE Form::clientOfOuter(const FormArgs& a, int outerWidth, int outerHeight) {
    const auto [style, ex] = styleOf(a);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    return {outerWidth - (r.right - r.left), outerHeight - (r.bottom - r.top)};
}

void Form::createForm(const FormArgs& a) {
    const auto [style, ex] = styleOf(a);
    if (!a.menu.empty()) menu_ = buildMenuBar(a.menu, commands_, menuIds_);
    RECT r{0, 0, a.clientWidth, a.clientHeight};
    AdjustWindowRectEx(&r, style, menu_ ? TRUE : FALSE, ex);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    if (a.centered) {
        x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    }
    createCustom(nullptr, style, ex, x, y, w, h, a.caption, true, menu_.get());
    wantClient_ = {a.clientWidth, a.clientHeight};
    // A menu bar too long for one line takes more height than was allowed for.
    if (menu_) fitClient();
    if (a.font) setFont(a.font, false);
}

void Form::fitClient() {
    // The menu bar takes client height; keep the client area as the form lays it out.
    SIZE got = clientSize();
    if (got.cx == wantClient_.cx && got.cy == wantClient_.cy) return;
    RECT wr;
    GetWindowRect(hwnd(), &wr);
    int w = wr.right - wr.left + (wantClient_.cx - got.cx), h = wr.bottom - wr.top + (wantClient_.cy - got.cy);
    SetWindowPos(hwnd(), nullptr, wr.left - (wantClient_.cx - got.cx) / 2, wr.top - (wantClient_.cy - got.cy) / 2, w,
                 h, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Form::runMenuCommand(UINT id) {
    auto it = commands_.find(id);
    if (it == commands_.end() || !it->second) return false;
    it->second();
    return true;
}

Window* Form::control(const std::wstring& n) const {
    auto it = controls_.find(n);
    return it == controls_.end() ? nullptr : it->second;
}

UINT Form::menuId(const std::wstring& itemName) const {
    auto it = menuIds_.find(itemName);
    return it == menuIds_.end() ? 0 : it->second;
}

void Form::setDefaultButton(Button* b) {
    defaultButton_ = b;
    if (b) b->setDefault(true);
}

void Form::show() {
    ShowWindow(hwnd(), SW_SHOW);
    fitClient();
    SetForegroundWindow(hwnd());
    SetActiveWindow(hwnd());
}

void Form::showMaximized() {
    // At once: shown at its own size first and then maximized, the window would be laid
    // out and painted twice.
    ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
    SetForegroundWindow(hwnd());
    SetActiveWindow(hwnd());
}

SIZE Form::maximizedClientSize() const {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST), &mi)) return clientSize();
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_STYLE));
    const DWORD ex = static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_EXSTYLE));
    // A maximized window fills the work area with its sizing frame pushed past the edges;
    // the caption and the menu stay inside.
    RECT all{0, 0, 0, 0};
    AdjustWindowRectEx(&all, style, GetMenu(hwnd()) != nullptr, ex);
    RECT frame{0, 0, 0, 0};
    const DWORD frameStyle = (style & WS_CAPTION) == WS_CAPTION ? (style & ~WS_CAPTION) | WS_DLGFRAME : style;
    AdjustWindowRectEx(&frame, frameStyle, FALSE, ex);
    const RECT& work = mi.rcWork;
    return {(work.right - work.left) - (all.right - all.left) + (frame.right - frame.left),
            (work.bottom - work.top) - (all.bottom - all.top) + (frame.bottom - frame.top)};
}

void Form::hide() { ShowWindow(hwnd(), SW_HIDE); }

void Form::showModal() {
    if (modal_) return;
    Application& app = Application::get();
    // Disable the other visible windows of the program while this one is up.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), collectEnabled, reinterpret_cast<LPARAM>(&disabled));
    HWND previous = GetActiveWindow();
    // Owned by the main window (or whatever was active): no taskbar button of its own, and
    // never behind the window it blocks.
    HWND owner = previous;
    if (Form* main = app.mainForm(); main && main != this && main->hwnd()) owner = main->hwnd();
    if (owner != hwnd()) SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    for (HWND h : disabled) EnableWindow(h, FALSE);
    modal_ = true;
    // Every showing starts at the first stop.
    lastFocus_ = nullptr;
    show();
    if (!IsChild(hwnd(), GetFocus())) focusFirst();
    while (modal_ && !app.terminated()) {
        if (!app.handleOneMessage()) break;
    }
    modal_ = false;
    for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    if (hwnd()) hide();
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
}

void Form::close() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void Form::doClose() {
    if (modal_) {
        modal_ = false;
        hide();
        return;
    }
    if (Application::get().mainForm() == this) {
        DestroyWindow(hwnd());
        return;
    }
    hide();
}

Window* Form::tabStopOf(HWND focus) const {
    for (HWND h = focus; h && h != hwnd(); h = GetParent(h)) {
        for (Window* w : tabOrder_)
            if (w->hwnd() == h) return w;
    }
    return nullptr;
}

void Form::selectNext(bool forward) {
    if (tabOrder_.empty()) return;
    Window* cur = tabStopOf(GetFocus());
    auto n = static_cast<int>(tabOrder_.size());
    int start = -1;
    if (cur) start = static_cast<int>(std::find(tabOrder_.begin(), tabOrder_.end(), cur) - tabOrder_.begin());
    for (int step = 1; step <= n; ++step) {
        int i = start < 0 ? (forward ? step - 1 : n - step) : ((start + (forward ? step : -step)) % n + n) % n;
        Window* w = tabOrder_[static_cast<size_t>(i)];
        if (w->visible() && w->enabled()) {
            w->focus();
            ScrollBox::scrollIntoView(*w);
            return;
        }
    }
}

void Form::focusFirst() {
    for (Window* w : tabOrder_) {
        if (w->visible() && w->enabled()) {
            w->focus();
            ScrollBox::scrollIntoView(*w);
            return;
        }
    }
}

void Form::restoreFocus() {
    if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd(), lastFocus_) && IsWindowVisible(lastFocus_) &&
        IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    lastFocus_ = nullptr;
    focusFirst();
}

bool Form::preTranslate(MSG& msg) {
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0,
         alt = GetKeyState(VK_MENU) < 0;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        auto vk = static_cast<WORD>(msg.wParam);
        if (keyPreview) onKeyDown(vk, shift, ctrl, alt);
        if (!hwnd()) return true;  // the key closed the form
        if (msg.message != WM_KEYDOWN) return false;
        switch (vk) {
        case VK_TAB:
            if (ctrl || alt) return false;
            selectNext(!shift);
            return true;
        case VK_RETURN: {
            HWND f = GetFocus();
            if (auto* combo = dynamic_cast<ComboBox*>(tabStopOf(f)); combo && combo->droppedDown()) return false;
            if (auto* b = dynamic_cast<Button*>(Window::fromHandle(f))) {
                b->click();
                return true;
            }
            if (defaultButton_ && defaultButton_->visible() && defaultButton_->enabled()) defaultButton_->click();
            return true;
        }
        case VK_ESCAPE:
            if (auto* combo = dynamic_cast<ComboBox*>(tabStopOf(GetFocus())); combo && combo->droppedDown())
                return false;
            if (cancelButton_ && cancelButton_->visible() && cancelButton_->enabled()) {
                cancelButton_->click();
                return true;
            }
            return false;
        default:
            return false;
        }
    }
    if (msg.message == WM_CHAR && (msg.wParam == L'\r' || msg.wParam == L'\t')) return true;
    return false;
}

LRESULT Form::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (lp == 0 && HIWORD(wp) == 0) {
            runMenuCommand(LOWORD(wp));
            return 0;
        }
        break;
    case WM_CLOSE:
        doClose();
        return 0;
    case WM_ACTIVATE:
        // As a dialog does: remember where the focus was when another window takes over,
        // and put it back when this one is active again, so that no key is typed into
        // the bare form.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND f = GetFocus();
            if (f && IsChild(hwnd(), f)) lastFocus_ = f;
            return 0;
        }
        if (HIWORD(wp) == 0 && !tabOrder_.empty()) {
            restoreFocus();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (!tabOrder_.empty()) {
            restoreFocus();
            return 0;
        }
        break;
    case WM_DESTROY:
        menu_.release();
        if (Application::get().mainForm() == this) Application::get().terminate();
        break;
    default:
        break;
    }
    return Window::handleMessage(msg, wp, lp);
}

}  // namespace ui
