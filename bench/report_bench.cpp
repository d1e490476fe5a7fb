// A 1,000-page banded report into the page store (pages per second, peak memory), the
// same report printed, and GetPage at pages 1, 500 and 1000. Prints its figures.
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "report/model/label.h"
#include "report/run/rep_printer.h"
#include "report/run/report.h"
#include "shell/main/program.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

size_t peakMemory() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    return pmc.PeakWorkingSetSize;
}

// 53 rows of 5 mm a page under a 10-mm header: 53,000 rows give 1,000 pages.
void build(rep::TReport& r, int& row, int rows) {
    r.Page.SetPaperSize(rep::TRepPaperSize::A4);
    r.Page.ReadValues({100.0L, 2970.0L, 100.0L, 2100.0L, 100.0L, 100.0L, 0.0L});
    r.Page.Loaded();
    r.SetUnits(rep::TRepUnit::Native);
    r.ShowProgress = false;
    auto& header = r.AddBand(rep::TRepBandType::rbPageHeader);
    header.Size.SetHeight(100);
    auto& title = r.Own<rep::TRepLabel>();
    title.SetParent(&header);
    title.SetCaption(L"Ведомость успеваемости");
    auto& detail = r.AddBand(rep::TRepBandType::rbDetail);
    detail.Size.SetHeight(50);
    auto& name = r.Own<rep::TRepLabel>();
    name.SetParent(&detail);
    auto& grade = r.Own<rep::TRepLabel>();
    grade.SetParent(&detail);
    grade.SetLeft(600);
    r.OnNeedData = [&row, rows, &name, &grade](rep::TReport&, bool& more) {
        more = row < rows;
        if (!more) return;
        ++row;
        name.SetCaption(L"Дисциплина номер " + std::to_wstring(row) + L" учебного плана");
        grade.SetCaption(row % 2 ? L"5 (отлично)" : L"4 (хорошо)");
    };
}


rep::TRepPrinter* gPrinter = nullptr;
Clock::time_point gDone{};

// From the preview's message loop: the document is finished when the timer finds it so.
void CALLBACK measureStored(HWND, UINT, UINT_PTR, DWORD) {
    rep::TRepPrinter* p = gPrinter;
    if (!p || p->Status() != rep::stFinished) return;
    gDone = Clock::now();
    for (int n : {1, 500, 1000}) {
        if (n > p->PageCount()) continue;
        Clock::time_point t = Clock::now();
        ui::EnhMetaFile page = p->GetPage(n);
        std::printf("GetPage(%d): %.2f ms (%s)\n", n, ms(Clock::now() - t), page ? "ok" : "none");
    }
    std::printf("pages: %d; page store: %s, %lld bytes\n", p->PageCount(),
                p->Stream() && p->Stream()->InMemory() ? "memory" : "temporary file",
                static_cast<long long>(p->Stream() ? p->Stream()->Size() : 0));
    gPrinter = nullptr;
    p->SetShowingPreview(false);
}

}  // namespace

int main() {
    Program::Assemble();
    const int rows = 53 * 1000;
    {
        rep::TReport r;
        int row = 0;
        build(r, row, rows);
        r.OnPreview = [](rep::TRepPrinter& p) {
            gPrinter = &p;
            p.SetShowingPreview(true);
        };
        UINT_PTR timer = SetTimer(nullptr, 0, 20, measureStored);
        Clock::time_point start = Clock::now();
        r.Preview();
        KillTimer(nullptr, timer);
        double total = ms(gDone - start);
        std::printf("page store run: %d rows, %.0f ms (incl. up to 20 ms of polling), %.1f pages/s\n", row, total,
                    1000.0 * 1000.0 / total);
        std::printf("peak working set: %.1f MB\n", peakMemory() / 1048576.0);
    }
    {
        rep::TReport r;
        int row = 0;
        build(r, row, rows);
        rep::TRepPrinter probe;
        if (!probe.PrinterOK()) {
            std::printf("no printer: print run skipped\n");
            return 0;
        }
        r.ReportTitle = L"report_bench";
        Clock::time_point start = Clock::now();
        r.Print();
        double total = ms(Clock::now() - start);
        std::printf("printer run (1000 pages to the spooler): %.0f ms, %.1f pages/s\n", total, 1000.0 * 1000.0 / total);
    }
    return 0;
}
