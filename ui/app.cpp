#include "ui/app.h"

#include <commctrl.h>

#include "ui/error.h"
#include "ui/form.h"

namespace ui {

std::wstring errorBoxText(const std::wstring& message) {
    std::wstring text = message;
    if (!text.empty() && static_cast<unsigned>(text.back()) > static_cast<unsigned>(L'.'))
        text += L'.';
    return text;
}

Application& Application::get() {
    static Application app;
    return app;
}

Application::Application() = default;

void useCommonControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

HINSTANCE Application::instance() const { return GetModuleHandleW(nullptr); }

namespace {
constexpr UINT kRunPosted = WM_APP + 77;

LRESULT CALLBACK postProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kRunPosted) {
        auto* list = reinterpret_cast<std::vector<std::function<void()>>*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (list && !list->empty()) {
            auto fn = std::move(list->front());
            list->erase(list->begin());
            guarded(fn);
        }
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}
}  // namespace

HWND Application::postWindow() {
    if (!postWnd_) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = postProc;
        wc.hInstance = instance();
        wc.lpszClassName = L"BlkPost";
        RegisterClassW(&wc);
        postWnd_ = CreateWindowW(L"BlkPost", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance(), nullptr);
        SetWindowLongPtrW(postWnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&posted_));
    }
    return postWnd_;
}

void Application::post(std::function<void()> fn) {
    posted_.push_back(std::move(fn));
    PostMessageW(postWindow(), kRunPosted, 0, 0);
}

bool Application::preTranslate(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (auto* form = dynamic_cast<Form*>(Window::fromHandle(root))) {
        bool handled = false;
        guarded([&] { handled = form->preTranslate(msg); });
        return handled;
    }
    return false;
}

void Application::dispatch(MSG& msg) {
    if (preTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool Application::handleOneMessage() {
    MSG msg;
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
        terminated_ = true;
        return false;
    }
    dispatch(msg);
    return true;
}

void Application::processMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        dispatch(msg);
    }
}

void Application::run(Form& mainForm) {
    mainForm_ = &mainForm;
    while (!terminated_ && mainForm.hwnd()) {
        if (!handleOneMessage()) break;
    }
}

void Application::terminate() {
    if (!terminated_) {
        terminated_ = true;
        PostQuitMessage(0);
    }
}

void Application::showError(const std::wstring& message) {
    std::wstring text = errorBoxText(message);
    if (errorHook) {
        errorHook(text);
        return;
    }
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

void Application::showException(const std::exception& e) { showError(messageOf(e)); }

}  // namespace ui
