#pragma once
// Real input for GUI tests: keys and clicks go through SendInput and the message loop.
#include <windows.h>

#include <string>

#include "ui/app.h"
#include "ui/tool_bar.h"
#include "ui/window.h"

namespace guitest {

// Runs the message loop for about ms milliseconds (at least one full pass).
inline void pump(int ms = 30) {
    DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        ui::Application::get().processMessages();
        Sleep(5);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
    ui::Application::get().processMessages();
}

// Drops what a test left in the queue, so that the next test starts from nothing.
inline void discardMessages() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
}

inline void sendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_PRIOR || vk == VK_NEXT || vk == VK_END || vk == VK_HOME || vk == VK_LEFT || vk == VK_RIGHT ||
        vk == VK_UP || vk == VK_DOWN || vk == VK_DELETE || vk == VK_INSERT)
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &in, sizeof(in));
}

// Presses a key with the given modifiers held, as a person would.
inline void press(WORD vk, bool shift = false, bool ctrl = false, bool alt = false) {
    if (ctrl) sendKey(VK_CONTROL, false);
    if (shift) sendKey(VK_SHIFT, false);
    if (alt) sendKey(VK_MENU, false);
    sendKey(vk, false);
    sendKey(vk, true);
    if (alt) sendKey(VK_MENU, true);
    if (shift) sendKey(VK_SHIFT, true);
    if (ctrl) sendKey(VK_CONTROL, true);
    pump(20);
}

// The send* functions only queue the input: for a modal loop that handles it itself.

// Types text character by character (Cyrillic included).
inline void sendText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = c;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
    }
}

inline void type(const std::wstring& text) {
    sendText(text);
    pump(30);
}

// One mouse event at a screen point, with the given button flags.
inline INPUT mouseAt(POINT screen, DWORD buttons = 0) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (screen.x * 65535 + sw / 2) / (sw - 1);
    in.mi.dy = (screen.y * 65535 + sh / 2) / (sh - 1);
    in.mi.dwFlags = buttons | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

// Clicks at a point of a window's client area with the real mouse.
inline void sendClick(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    INPUT in[3] = {mouseAt(p), mouseAt(p, MOUSEEVENTF_LEFTDOWN), mouseAt(p, MOUSEEVENTF_LEFTUP)};
    SendInput(3, in, sizeof(INPUT));
}

// At the middle of the window.
inline void sendClick(ui::Window& w) {
    RECT r;
    GetClientRect(w.hwnd(), &r);
    sendClick(w.hwnd(), r.right / 2, r.bottom / 2);
}

// Pixels of text colour inside a rectangle of a window, as on screen.
inline int darkPixels(HWND h, const RECT& r) {
    HDC dc = GetDC(h);
    int dark = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++dark;
        }
    ReleaseDC(h, dc);
    return dark;
}

// At the middle of a button of a tool bar.
inline void sendClick(ui::ToolButton& b) {
    const RECT& r = b.rect();
    sendClick(b.bar().hwnd(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

inline void click(ui::ToolButton& b) {
    sendClick(b);
    pump(40);
}

inline void click(HWND hwnd, int x, int y) {
    sendClick(hwnd, x, y);
    pump(40);
}

inline void click(ui::Window& w) {
    sendClick(w);
    pump(40);
}

// Brings a top-level window to the front so that it receives the keyboard.
inline void activate(HWND top) {
    SetForegroundWindow(top);
    SetActiveWindow(top);
    pump(30);
}

inline std::wstring nameOf(HWND h) {
    for (; h; h = GetParent(h))
        if (auto* w = ui::Window::fromHandle(h); w && !w->name.empty()) return w->name;
    return L"?";
}

inline std::wstring focusedName() { return nameOf(GetFocus()); }

}  // namespace guitest
