#pragma once
// Driving modal windows from a test: a script of steps that runs from whatever message loop
// is running (the modal loop of a form, a file dialog, a message box), each step when its
// window is there; when time runs out every modal window of the program is closed, so a
// failing test never hangs.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/gui/gui_util.h"
#include "ui/form.h"
#include "ui/handles.h"
#include "ui/timer.h"

namespace guitest {

inline std::wstring classOf(HWND h) {
    wchar_t buf[64] = {};
    GetClassNameW(h, buf, 64);
    return buf;
}

inline BOOL CALLBACK collectWindow(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

inline std::vector<HWND> threadWindows() {
    std::vector<HWND> out;
    EnumThreadWindows(GetCurrentThreadId(), collectWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

// A visible system dialog or message box of this program, by its caption (any if empty).
inline HWND findSystemDialog(const std::wstring& caption = L"") {
    for (HWND h : threadWindows()) {
        if (!IsWindowVisible(h) || classOf(h) != L"#32770") continue;
        if (caption.empty()) return h;
        wchar_t buf[256] = {};
        GetWindowTextW(h, buf, 256);
        if (caption == buf) return h;
    }
    return nullptr;
}

// The message of a message box: its longest static text.
inline std::wstring messageBoxText(HWND box) {
    std::wstring best;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (classOf(c) != L"Static") continue;
        wchar_t buf[1024] = {};
        GetWindowTextW(c, buf, 1024);
        if (wcslen(buf) > best.size()) best = buf;
    }
    return best;
}

// Closes every modal window of the program: system dialogs, message boxes, modal forms.
inline void closeModalWindows() {
    for (HWND h : threadWindows()) {
        if (!IsWindowVisible(h)) continue;
        if (classOf(h) == L"#32770") {
            PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
            PostMessageW(h, WM_CLOSE, 0, 0);
        } else if (auto* f = dynamic_cast<ui::Form*>(ui::Window::fromHandle(h)); f && f->isModal()) {
            f->close();
        }
    }
}

class Script {
public:
    // A step returns true when it is done; until then it is asked again on the next tick.
    using Step = std::function<bool()>;

    explicit Script(std::vector<Step> steps, int timeoutMs = 15000)
        : steps_(std::move(steps)), deadline_(GetTickCount() + static_cast<DWORD>(timeoutMs)),
          timer_(30, [this] { tick(); }) {
        timer_.start();
    }
    ~Script() { timer_.stop(); }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    bool finished() const { return next_ == steps_.size(); }
    bool timedOut() const { return timedOut_; }
    size_t stepsDone() const { return next_; }

private:
    void tick() {
        if (busy_) return;  // a step pumping messages must not run the next one inside itself
        busy_ = true;
        if (next_ < steps_.size() && steps_[next_]()) ++next_;
        if (next_ == steps_.size()) {
            timer_.stop();
        } else if (static_cast<LONG>(GetTickCount() - deadline_) > 0) {
            timedOut_ = true;
            timer_.stop();
            ADD_FAILURE() << "script step " << next_ + 1 << " of " << steps_.size() << " never happened";
            closeModalWindows();
        }
        busy_ = false;
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    DWORD deadline_;
    bool busy_ = false;
    bool timedOut_ = false;
    ui::Timer timer_;
};

// Pumps until pred holds or ms have passed; true when it holds.
inline bool waitUntil(const std::function<bool()>& pred, int ms = 3000) {
    DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (!pred()) {
        if (static_cast<LONG>(GetTickCount() - end) > 0) return false;
        pump(10);
    }
    return true;
}

// Types a path into a file dialog's name box and confirms it, as the user does.
inline bool confirmFileDialog(HWND dlg, const std::wstring& path) {
    // The name box: the combo box cmb13 of the explorer dialog, or the plain edit edt1.
    HWND box = GetDlgItem(dlg, 0x47c);
    if (!box) box = GetDlgItem(dlg, 0x480);
    if (!box) return false;
    SetWindowTextW(box, path.c_str());
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    return true;
}

// Captures a window's pixels as they are on the screen, rows from the top.
struct Capture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

inline Capture captureWindow(HWND hwnd) {
    Capture c;
    RECT r;
    GetClientRect(hwnd, &r);
    c.width = r.right;
    c.height = r.bottom;
    ui::WindowDC wdc(hwnd);
    ui::MemoryDC mem(CreateCompatibleDC(wdc.get()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = c.width;
    bi.bmiHeader.biHeight = -c.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    ui::BitmapHandle bmp(CreateDIBSection(wdc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp || !bits) return c;
    {
        ui::SelectGuard sel(mem.get(), bmp.get());
        BitBlt(mem.get(), 0, 0, c.width, c.height, wdc.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    const auto* p = static_cast<const DWORD*>(bits);
    c.pixels.resize(static_cast<size_t>(c.width * c.height));
    for (size_t i = 0; i < c.pixels.size(); ++i) {
        DWORD v = p[i];
        c.pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    return c;
}

}  // namespace guitest
