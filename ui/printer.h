#pragma once
// The printer object: the installed printers, one chosen printer with its own
// device mode, its device context and a print job on it.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/handles.h"

namespace ui {

struct PrinterEntry {
    std::wstring name;
    std::wstring driver;  // as the spooler lists it; empty if it does not say
    std::wstring port;
};

// Names of any length, held in strings.
struct PrinterDevice {
    std::wstring device;
    std::wstring driver;
    std::wstring port;
    HGLOBAL devMode = nullptr;  // a DEVMODEW owned by the printer object; null if unavailable
};

class TPrinter {
public:
    // Lists the installed printers; none is opened until it is used.
    TPrinter();
    // A job still open is ended normally, so what was drawn is printed.
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    const std::vector<PrinterEntry>& printers() const { return printers_; }
    // Lists the printers again and returns to the default printer.
    void refresh();
    // Index of the system's default printer; the first printer when the system names
    // none; -1 without printers.
    int defaultIndex() const { return defaultIndex_; }

    // The chosen printer; -1 without printers.
    int printerIndex() const { return index_; }
    // -1 chooses the default printer. Throws Error for an index outside the list
    // and while a job is running.
    void setPrinterIndex(int index);

    // The chosen printer's names and device mode, loaded from the driver on first use.
    PrinterDevice getPrinter();
    // Chooses the printer named `device` (added to the list if unknown) and takes
    // `devMode` as its device mode: the handle from getPrinter, changed in place,
    // or a GlobalAlloc'd DEVMODEW whose ownership passes to this object; null loads
    // the driver's own again. The next device context is made from it. Throws Error
    // while a job is running.
    void setPrinter(const std::wstring& device, const std::wstring& driver,
                    const std::wstring& port, HGLOBAL devMode);

    // The chosen printer's device context, in device pixels, made from its name and
    // device mode on first use. Throws Error when there is no printer or the
    // driver refuses.
    HDC handle();
    HDC canvas() { return handle(); }
    int pixelsPerInchX();
    int pixelsPerInchY();

    // --- Job ---
    // Document names are cut to 31 characters, the longest the spooler takes everywhere.
    static constexpr std::size_t MaxTitle = 31;
    // Starts the job and its first page.
    void beginDoc(const std::wstring& title);
    // Ends the current page and starts the next.
    void newPage();
    // Ends the current page and the job.
    void endDoc();
    // Drops the job; pages already ended may have reached the spooler.
    void abort();
    // In the middle of a job.
    bool printing() const { return printing_; }
    bool aborted() const { return aborted_; }
    int pageNumber() const { return pageNumber_; }
    const std::wstring& title() const { return title_; }

    // Spooler answers that were failures but have a fallback (no list, no device
    // mode): one line each, for logs and tests.
    const std::vector<std::wstring>& problems() const { return problems_; }

private:
    void enumerate();
    void select(int index);
    void loadDevMode();
    void freeDC();
    void checkNotPrinting(const wchar_t* what) const;
    void note(std::wstring problem);
    // Ends the job with AbortDoc after `call` failed, then throws what failed.
    [[noreturn]] void failJob(const std::wstring& call);
    [[noreturn]] void throwJobError(const std::wstring& call, DWORD code) const;

    std::vector<PrinterEntry> printers_;
    int defaultIndex_ = -1;
    int index_ = -1;
    GlobalHandle devMode_;
    MemoryDC dc_;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
    std::wstring title_;
    std::vector<std::wstring> problems_;
};

// The application-wide printer object.
TPrinter& applicationPrinter();

// Locks a global memory block for the life of the guard.
template <class T>
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) : h_(h), p_(h ? static_cast<T*>(GlobalLock(h)) : nullptr) {}
    ~GlobalLockGuard() {
        if (p_) GlobalUnlock(h_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    HGLOBAL h_;
    T* p_;
};

}  // namespace ui
