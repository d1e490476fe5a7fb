#include "ui/printer.h"

#include <winspool.h>

#include <algorithm>

#include "ui/error.h"

namespace ui {

namespace {

constexpr DWORD kEnumFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;

std::wstring orEmpty(const wchar_t* s) { return s ? std::wstring(s) : std::wstring(); }

bool sameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The system's default printer; empty when it names none.
std::wstring defaultPrinterName() {
    DWORD size = 0;
    if (GetDefaultPrinterW(nullptr, &size) || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return {};
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size)) return {};
    name.resize(wcslen(name.c_str()));
    return name;
}

}  // namespace

TPrinter::TPrinter() { enumerate(); }

TPrinter::~TPrinter() {
    if (!printing_) return;
    try {
        endDoc();
    } catch (const std::exception& e) {
        OutputDebugStringW(messageOf(e).c_str());  // nowhere else to report it from here
    }
}

void TPrinter::note(std::wstring problem) {
    if (std::find(problems_.begin(), problems_.end(), problem) != problems_.end()) return;
    OutputDebugStringW(problem.c_str());
    problems_.push_back(std::move(problem));
}

void TPrinter::refresh() {
    checkNotPrinting(L"list the printers");
    enumerate();
}

void TPrinter::enumerate() {
    printers_.clear();
    select(-1);
    // Level 2 names driver and port; level 4, which every spooler offers, only the name.
    for (DWORD level : {2u, 4u}) {
        std::vector<BYTE> buf;
        DWORD needed = 0, count = 0;
        BOOL ok = FALSE;
        // A printer added between the two calls needs a larger buffer: ask again.
        for (int attempt = 0; attempt < 3 && !ok; ++attempt) {
            ok = EnumPrintersW(kEnumFlags, nullptr, level, buf.empty() ? nullptr : buf.data(),
                               static_cast<DWORD>(buf.size()), &needed, &count);
            if (!ok && GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
            if (!ok) buf.resize(needed);
        }
        if (!ok) {
            note(L"EnumPrintersW level " + std::to_wstring(level) + L" failed: " + lastErrorMessage());
            continue;
        }
        for (DWORD i = 0; i < count; ++i) {
            if (level == 2) {
                const auto& p = reinterpret_cast<const PRINTER_INFO_2W*>(buf.data())[i];
                printers_.push_back({orEmpty(p.pPrinterName), orEmpty(p.pDriverName),
                                     orEmpty(p.pPortName)});
            } else {
                const auto& p = reinterpret_cast<const PRINTER_INFO_4W*>(buf.data())[i];
                printers_.push_back({orEmpty(p.pPrinterName), {}, {}});
            }
        }
        break;
    }
    defaultIndex_ = printers_.empty() ? -1 : 0;
    const std::wstring name = defaultPrinterName();
    for (std::size_t i = 0; i < printers_.size(); ++i)
        if (sameName(printers_[i].name, name)) defaultIndex_ = static_cast<int>(i);
    select(defaultIndex_);
}

void TPrinter::select(int index) {
    freeDC();
    devMode_.reset();
    index_ = index;
}

void TPrinter::setPrinterIndex(int index) {
    checkNotPrinting(L"choose another printer");
    if (index == -1) index = defaultIndex_;
    if (index < -1 || index >= static_cast<int>(printers_.size()))
        throw Error(L"Printer index " + std::to_wstring(index) + L" is not valid");
    if (index != index_) select(index);
}

void TPrinter::loadDevMode() {
    if (index_ < 0) return;
    std::wstring name = printers_[static_cast<std::size_t>(index_)].name;
    HANDLE raw = nullptr;
    if (!OpenPrinterW(name.data(), &raw, nullptr)) {
        note(L"OpenPrinterW \"" + name + L"\" failed: " + lastErrorMessage());
        return;
    }
    PrinterHandle printer(raw);
    const LONG size = DocumentPropertiesW(nullptr, printer.get(), name.data(), nullptr, nullptr, 0);
    if (size <= 0) {
        note(L"DocumentPropertiesW (size) \"" + name + L"\" failed: " + lastErrorMessage());
        return;
    }
    GlobalHandle mem(GlobalAlloc(GHND, static_cast<SIZE_T>(size)));
    if (!mem) throwLastError(L"Cannot allocate the device mode of printer " + name);
    {
        GlobalLockGuard<DEVMODEW> dm(mem.get());
        if (!dm) throwLastError(L"Cannot lock the device mode of printer " + name);
        if (DocumentPropertiesW(nullptr, printer.get(), name.data(), dm.get(), nullptr,
                                DM_OUT_BUFFER) != IDOK) {
            note(L"DocumentPropertiesW \"" + name + L"\" failed: " + lastErrorMessage());
            return;
        }
    }
    devMode_ = std::move(mem);
}

PrinterDevice TPrinter::getPrinter() {
    if (index_ < 0) return {};
    if (!devMode_) loadDevMode();
    const PrinterEntry& p = printers_[static_cast<std::size_t>(index_)];
    return {p.name, p.driver, p.port, devMode_.get()};
}

void TPrinter::setPrinter(const std::wstring& device, const std::wstring& driver,
                          const std::wstring& port, HGLOBAL devMode) {
    checkNotPrinting(L"change the printer");
    // Our own handle given back must survive the change of printer below.
    HGLOBAL mode = devMode && devMode == devMode_.get() ? devMode_.release() : devMode;
    auto it = std::find_if(printers_.begin(), printers_.end(),
                           [&](const PrinterEntry& p) { return sameName(p.name, device); });
    if (it == printers_.end()) {
        printers_.push_back({device, driver, port});
        it = printers_.end() - 1;
    }
    const int index = static_cast<int>(it - printers_.begin());
    if (index != index_) select(index);
    devMode_.reset(mode);
    freeDC();
}

void TPrinter::freeDC() { dc_.reset(); }

HDC TPrinter::handle() {
    if (dc_) return dc_.get();
    if (index_ < 0) throw Error(L"No printer is installed");
    if (!devMode_) loadDevMode();
    const std::wstring& name = printers_[static_cast<std::size_t>(index_)].name;
    GlobalLockGuard<DEVMODEW> dm(devMode_.get());
    // The spooler finds the driver from the device name.
    dc_.reset(CreateDCW(L"WINSPOOL", name.c_str(), nullptr, dm.get()));
    if (!dc_) throwLastError(L"Cannot open printer " + name + L": CreateDCW failed");
    return dc_.get();
}

int TPrinter::pixelsPerInchX() { return GetDeviceCaps(handle(), LOGPIXELSX); }
int TPrinter::pixelsPerInchY() { return GetDeviceCaps(handle(), LOGPIXELSY); }

void TPrinter::checkNotPrinting(const wchar_t* what) const {
    if (printing_) throw Error(std::wstring(L"Cannot ") + what + L" while a print job is running");
}

void TPrinter::failJob(const std::wstring& call) {
    const DWORD code = GetLastError();
    if (dc_) AbortDoc(dc_.get());
    freeDC();
    printing_ = false;
    aborted_ = true;
    pageNumber_ = 0;
    throwJobError(call, code);
}

void TPrinter::throwJobError(const std::wstring& call, DWORD code) const {
    const std::wstring& name = printers_[static_cast<std::size_t>(index_)].name;
    throw Error(L"Printing \"" + title_ + L"\" on " + name + L": " + call + L" failed: " + systemMessage(code));
}

void TPrinter::beginDoc(const std::wstring& title) {
    checkNotPrinting(L"start a print job");
    HDC dc = handle();
    title_ = title.substr(0, MaxTitle);
    aborted_ = false;
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title_.c_str();
    if (StartDocW(dc, &info) <= 0) throwJobError(L"StartDocW", GetLastError());
    printing_ = true;
    pageNumber_ = 1;
    if (StartPage(dc) <= 0) failJob(L"StartPage");
}

void TPrinter::newPage() {
    if (!printing_) throw Error(L"No print job is running");
    if (EndPage(dc_.get()) <= 0) failJob(L"EndPage");
    if (StartPage(dc_.get()) <= 0) failJob(L"StartPage");
    ++pageNumber_;
}

void TPrinter::endDoc() {
    if (!printing_) throw Error(L"No print job is running");
    if (EndPage(dc_.get()) <= 0) failJob(L"EndPage");
    if (EndDoc(dc_.get()) <= 0) failJob(L"EndDoc");
    printing_ = false;
    pageNumber_ = 0;
}

void TPrinter::abort() {
    if (!printing_) return;
    // Wine answers 0 here although the job is dropped, and its context then refuses
    // the next StartDocW: the next job gets a fresh device context.
    if (AbortDoc(dc_.get()) <= 0) note(L"AbortDoc failed: " + lastErrorMessage());
    freeDC();
    printing_ = false;
    aborted_ = true;
    pageNumber_ = 0;
}

TPrinter& applicationPrinter() {
    static TPrinter printer;
    return printer;
}

}  // namespace ui
