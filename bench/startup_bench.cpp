// Start-up time of Blk.exe beside that of an empty one-window program: each started in
// turn, several times, from CreateProcess to its first visible window with its title.
// Prints each one's median and the ratio, and Blk.exe's peak working set after start.
// A Win32 program for Wine; needs a display.
//   startup_bench [runs] [path of Blk.exe]
#include <windows.h>

#include "bench/bench_clock.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {


std::wstring Folder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

struct Run {
    double ms = -1;
    double peakMb = 0;
};

// Starts exe, waits for a visible top-level window titled title, then closes it.
Run StartOnce(const std::wstring& exe, const wchar_t* title) {
    Run run;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    const double t0 = Now();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
        return run;
    }
    HWND h = nullptr;
    while (Now() - t0 < 30000) {
        h = FindWindowW(nullptr, title);
        if (h && IsWindowVisible(h)) break;
        h = nullptr;
        Sleep(1);
    }
    if (h) run.ms = Now() - t0;
    Sleep(300);  // settled, before the working set is read
    PROCESS_MEMORY_COUNTERS pmc{};
    if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc)) run.peakMb = pmc.PeakWorkingSetSize / 1048576.0;
    if (h) PostMessageW(h, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

double Median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    const std::wstring blk = argc > 2 ? argv[2] : Folder() + L"..\\Blk.exe";
    const std::wstring empty = Folder() + L"empty_window.exe";
    std::vector<double> blkMs, emptyMs, peak;
    // Alternating, so that whatever else the machine does falls on both alike.
    for (int i = 0; i < runs; ++i) {
        Run e = StartOnce(empty, L"Пустое окно");
        Run b = StartOnce(blk, L"Приложение к диплому");
        if (e.ms >= 0) emptyMs.push_back(e.ms);
        if (b.ms >= 0) blkMs.push_back(b.ms);
        if (b.peakMb > 0) peak.push_back(b.peakMb);
        std::printf("run %d: empty window %8.1f ms   Blk.exe %8.1f ms\n", i + 1, e.ms, b.ms);
    }
    const double mb = Median(blkMs), me = Median(emptyMs);
    std::printf("empty window: median %8.1f ms of %zu\n", me, emptyMs.size());
    std::printf("Blk.exe:      median %8.1f ms of %zu\n", mb, blkMs.size());
    if (mb > 0 && me > 0) std::printf("ratio Blk.exe / empty window: %.2f\n", mb / me);
    if (!peak.empty()) std::printf("Blk.exe peak working set after start: %.1f MB\n", Median(peak));
    return blkMs.size() == static_cast<size_t>(runs) && emptyMs.size() == static_cast<size_t>(runs) ? 0 : 1;
}
