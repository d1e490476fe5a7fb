#pragma once
// Subclassing of a window by a chain of procedures, each with its id and reference data, the
// newest first. Done by hand so that no window needs the common controls library at start.
#include <windows.h>

namespace ui {

using SubclassProcedure = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR ref);

// Puts proc in front of the window's procedure; the same proc and id again only update ref.
bool setSubclass(HWND hwnd, SubclassProcedure proc, UINT_PTR id, DWORD_PTR ref);
// Takes proc out; the window gets its own procedure back once no subclass is left.
bool removeSubclass(HWND hwnd, SubclassProcedure proc, UINT_PTR id);
// From inside a subclass procedure: passes the message on to the next one in the chain.
LRESULT defSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace ui
