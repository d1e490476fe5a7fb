#pragma once
// RAII wrappers for every Win32 handle the program holds. Move-only, never copyable.
#include <windows.h>
#include <winspool.h>

#include <string>
#include <utility>

namespace ui {

template <class H, class Traits>
class Handle {
public:
    Handle() = default;
    explicit Handle(H h) : h_(h) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    Handle& operator=(Handle&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Traits::invalid());
        }
        return *this;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    H release() { return std::exchange(h_, Traits::invalid()); }
    void reset(H h = Traits::invalid()) {
        if (h_ != Traits::invalid()) Traits::close(h_);
        h_ = h;
    }

private:
    H h_ = Traits::invalid();
};

template <class H>
struct GdiTraits {
    static H invalid() { return nullptr; }
    static void close(H h) { DeleteObject(h); }
};
struct FileTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct MemDcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC h) { DeleteDC(h); }
};
struct EmfTraits {
    static HENHMETAFILE invalid() { return nullptr; }
    static void close(HENHMETAFILE h) { DeleteEnhMetaFile(h); }
};
struct MenuTraits {
    static HMENU invalid() { return nullptr; }
    static void close(HMENU h) { DestroyMenu(h); }
};
struct PrinterTraits {
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE h) { ClosePrinter(h); }
};
struct GlobalTraits {
    static HGLOBAL invalid() { return nullptr; }
    static void close(HGLOBAL h) { GlobalFree(h); }
};

using FontHandle = Handle<HFONT, GdiTraits<HFONT>>;
using BrushHandle = Handle<HBRUSH, GdiTraits<HBRUSH>>;
using PenHandle = Handle<HPEN, GdiTraits<HPEN>>;
using BitmapHandle = Handle<HBITMAP, GdiTraits<HBITMAP>>;
using FileHandle = Handle<HANDLE, FileTraits>;
using MemoryDC = Handle<HDC, MemDcTraits>;
using EnhMetaFile = Handle<HENHMETAFILE, EmfTraits>;
using MenuHandle = Handle<HMENU, MenuTraits>;
using PrinterHandle = Handle<HANDLE, PrinterTraits>;
using GlobalHandle = Handle<HGLOBAL, GlobalTraits>;

// A DC obtained with GetDC, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint/EndPaint pair.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const RECT& area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selecting an object into a DC restores the previous one when the guard ends.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC/RestoreDC pair, for code that changes many DC attributes.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SavedDC() {
        if (id_) RestoreDC(dc_, id_);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int id_;
};

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&cs_); }
    ~CriticalSection() { DeleteCriticalSection(&cs_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void lock() { EnterCriticalSection(&cs_); }
    void unlock() { LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

class CsLock {
public:
    explicit CsLock(CriticalSection& cs) : cs_(cs) { cs_.lock(); }
    ~CsLock() { cs_.unlock(); }
    CsLock(const CsLock&) = delete;
    CsLock& operator=(const CsLock&) = delete;

private:
    CriticalSection& cs_;
};

// A file that is deleted when the owner lets go of it.
class TempFile {
public:
    TempFile() = default;
    explicit TempFile(std::wstring path) : path_(std::move(path)) {}
    ~TempFile() { remove(); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    TempFile(TempFile&& o) noexcept : path_(std::exchange(o.path_, {})) {}
    TempFile& operator=(TempFile&& o) noexcept {
        if (this != &o) {
            remove();
            path_ = std::exchange(o.path_, {});
        }
        return *this;
    }
    const std::wstring& path() const { return path_; }
    void keep() { path_.clear(); }
    void remove() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
        path_.clear();
    }

private:
    std::wstring path_;
};

}  // namespace ui
