// Subclass chains: the newest procedure sees a message first and each passes it on to the
// next; a procedure taken out mid-call is skipped; the window gets its own procedure back
// once the last one is gone, even when that happens while a message is being handled.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ui/subclass.h"

namespace {
std::wstring trail;

LRESULT CALLBACK first(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
    if (m == WM_USER) trail += static_cast<wchar_t>(ref);
    return ui::defSubclassProc(h, m, w, l);
}

LRESULT CALLBACK second(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR ref) {
    if (m == WM_USER) {
        trail += static_cast<wchar_t>(ref);
        // A message sent to the same window from inside a call runs the whole chain again.
        if (w == 1) SendMessageW(h, WM_USER, 0, 0);
        // Taking both out mid-call: the rest of this call still reaches the window.
        if (w == 2) {
            ui::removeSubclass(h, first, 1);
            ui::removeSubclass(h, second, id);
        }
    }
    return ui::defSubclassProc(h, m, w, l);
}
}  // namespace

TEST(Subclass, ChainRunsNewestFirstAndGivesTheWindowItsProcedureBack) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    const LONG_PTR own = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    ASSERT_TRUE(ui::setSubclass(edit, first, 1, L'a'));
    ASSERT_TRUE(ui::setSubclass(edit, second, 2, L'x'));
    ASSERT_TRUE(ui::setSubclass(edit, second, 2, L'b'));  // the same one again: only its data changes

    trail.clear();
    SendMessageW(edit, WM_USER, 1, 0);
    EXPECT_EQ(trail, L"bbaa");

    // The text still reaches the edit's own procedure through the chain.
    SetWindowTextW(edit, L"Петров");
    wchar_t text[16]{};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"Петров");

    trail.clear();
    SendMessageW(edit, WM_USER, 2, 0);
    EXPECT_EQ(trail, L"b");
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), own);
    EXPECT_FALSE(ui::removeSubclass(edit, first, 1));

    trail.clear();
    SendMessageW(edit, WM_USER, 0, 0);
    EXPECT_EQ(trail, L"");
    DestroyWindow(edit);
}
