#include "ui/subclass.h"

#include <memory>
#include <vector>

namespace ui {

namespace {
const wchar_t kChainProp[] = L"BlkSubclassChain";

struct Entry {
    SubclassProcedure proc;
    UINT_PTR id;
    DWORD_PTR ref;
};

struct Chain {
    WNDPROC original = nullptr;
    std::vector<Entry> entries;  // the oldest first; a removed one is null until no call runs
    int running = 0;
    bool destroyed = false;
};

// One per call through a chain, so that defSubclassProc knows which procedure comes next.
struct Frame {
    HWND hwnd;
    Chain* chain;
    size_t next;  // entries below this index are still to be called
    Frame* outer;
};
thread_local Frame* current = nullptr;

Chain* chainOf(HWND hwnd) { return static_cast<Chain*>(GetPropW(hwnd, kChainProp)); }

void compact(Chain& c) {
    std::erase_if(c.entries, [](const Entry& e) { return e.proc == nullptr; });
}

LRESULT CALLBACK chainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Gives the window its own procedure back and frees the chain, once nothing uses it. While
// another subclass (the hints' own) sits above ours, the chain stays, passing messages on.
void releaseIfUnused(HWND hwnd, Chain* c) {
    if (c->running > 0) return;
    compact(*c);
    if (!c->entries.empty()) return;
    if (!c->destroyed && GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(chainProc)) return;
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(c->original));
    RemovePropW(hwnd, kChainProp);
    std::unique_ptr<Chain> owned(c);
}

LRESULT callFrom(Frame& f, UINT msg, WPARAM wp, LPARAM lp) {
    while (f.next > 0) {
        const Entry e = f.chain->entries[--f.next];
        if (e.proc) return e.proc(f.hwnd, msg, wp, lp, e.id, e.ref);
    }
    return CallWindowProcW(f.chain->original, f.hwnd, msg, wp, lp);
}

LRESULT CALLBACK chainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Chain* c = chainOf(hwnd);
    if (!c) return DefWindowProcW(hwnd, msg, wp, lp);
    Frame f{hwnd, c, c->entries.size(), current};
    current = &f;
    ++c->running;
    LRESULT r = callFrom(f, msg, wp, lp);
    --c->running;
    current = f.outer;
    if (msg == WM_NCDESTROY) {
        // The window is gone: nothing of the chain may outlive it.
        for (Entry& e : c->entries) e.proc = nullptr;
        c->destroyed = true;
    }
    releaseIfUnused(hwnd, c);
    return r;
}
}  // namespace

bool setSubclass(HWND hwnd, SubclassProcedure proc, UINT_PTR id, DWORD_PTR ref) {
    if (!hwnd || !proc) return false;
    Chain* c = chainOf(hwnd);
    if (!c) {
        auto owned = std::make_unique<Chain>();
        if (!SetPropW(hwnd, kChainProp, owned.get())) return false;
        owned->original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chainProc)));
        if (!owned->original) {
            RemovePropW(hwnd, kChainProp);
            return false;
        }
        c = owned.release();  // the window's property owns it from here
    }
    for (Entry& e : c->entries)
        if (e.proc == proc && e.id == id) {
            e.ref = ref;
            return true;
        }
    c->entries.push_back({proc, id, ref});
    return true;
}

bool removeSubclass(HWND hwnd, SubclassProcedure proc, UINT_PTR id) {
    Chain* c = hwnd ? chainOf(hwnd) : nullptr;
    if (!c) return false;
    for (Entry& e : c->entries)
        if (e.proc == proc && e.id == id) {
            e.proc = nullptr;
            releaseIfUnused(hwnd, c);
            return true;
        }
    return false;
}

LRESULT defSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Frame* f = current;
    if (!f || f->hwnd != hwnd) {
        // Not called from a subclass procedure of this window: the window's own procedure.
        Chain* c = chainOf(hwnd);
        if (c) return CallWindowProcW(c->original, hwnd, msg, wp, lp);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return callFrom(*f, msg, wp, lp);
}

}  // namespace ui
