#pragma once
// The printers the Windows tests run against: the CUPS PDF queue "PDF" (started
// before Wine by scripts/printer.sh), or none at all in the run that hides CUPS
// from Wine (BLK_NO_PRINTER=1, see tests/CMakeLists.txt).
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace printer_env {

inline bool NoPrinterRun() {
    const char* v = std::getenv("BLK_NO_PRINTER");
    return v && std::string(v) == "1";
}

#define SKIP_UNLESS_PDF_PRINTER()                                                          \
    if (printer_env::NoPrinterRun()) GTEST_SKIP() << "this run hides every printer"

#define SKIP_UNLESS_NO_PRINTER()                                                           \
    if (!printer_env::NoPrinterRun())                                                      \
    GTEST_SKIP() << "runs in win_tests_noprinter, where Wine sees no printer"

inline std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Where the PDF queue writes its jobs (~/PDF), as a Windows path. BLK_PDF_DIR is a
// Unix path (Wine maps / to Z:); without it, Wine's own note of the Unix home.
inline std::wstring PdfDir() {
    std::wstring dir;
    if (const char* d = std::getenv("BLK_PDF_DIR"); d && *d) {
        dir = L"Z:" + Widen(d);
    } else if (const char* h = std::getenv("WINEHOMEDIR"); h && *h) {
        dir = Widen(h);
        if (dir.rfind(L"\\??\\", 0) == 0) dir.erase(0, 4);
        dir += L"\\PDF";
    }
    for (auto& c : dir)
        if (c == L'/') c = L'\\';
    return dir;
}

// Files in the PDF folder whose names start with `prefix`.
inline std::vector<std::wstring> PdfFiles(const std::wstring& prefix) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((PdfDir() + L"\\" + prefix + L"*.pdf").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return found;
    do found.push_back(PdfDir() + L"\\" + fd.cFileName);
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return found;
}

inline void DeletePdfs(const std::wstring& prefix) {
    for (const auto& f : PdfFiles(prefix)) DeleteFileW(f.c_str());
}

// The bytes of the one job file for `prefix`, waiting for the queue to write it.
inline std::string WaitForPdf(const std::wstring& prefix, int seconds = 30) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        const auto files = PdfFiles(prefix);
        if (!files.empty()) {
            HANDLE f = CreateFileW(files.front().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            if (f != INVALID_HANDLE_VALUE) {
                std::string bytes;
                char buf[65536];
                DWORD got = 0;
                while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got) bytes.append(buf, got);
                CloseHandle(f);
                // The queue writes the file in place: complete once it ends with %%EOF.
                if (bytes.find("%%EOF") != std::string::npos) return bytes;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return {};
}

// The printer's own device mode as its driver gives it, read independently of the
// code under test.
inline std::vector<BYTE> DriverDevMode(const std::wstring& printer) {
    std::wstring name = printer;
    HANDLE h = nullptr;
    if (!OpenPrinterW(name.data(), &h, nullptr)) return {};
    const LONG size = DocumentPropertiesW(nullptr, h, name.data(), nullptr, nullptr, 0);
    std::vector<BYTE> dm(size > 0 ? static_cast<std::size_t>(size) : 0);
    if (size <= 0 || DocumentPropertiesW(nullptr, h, name.data(), reinterpret_cast<DEVMODEW*>(dm.data()),
                                         nullptr, DM_OUT_BUFFER) != IDOK)
        dm.clear();
    ClosePrinter(h);
    return dm;
}

}  // namespace printer_env
