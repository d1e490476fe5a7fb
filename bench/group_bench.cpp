// A graduating group of 300 state files, sheet 2 (120 values each), into one preview:
// reading the files, Preview to the first page painted, pages per second into the page
// store, and the working set along the way (the page store spills to its temporary file,
// so memory stays flat). A Win32 program for Wine; needs a display. Prints its figures.
#include <windows.h>

#include "bench/bench_clock.h"

#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "shell/group/group_print.h"
#include "shell/main/program.h"
#include "shell/state/state_codec.h"
#include "shell/state/state_file_io.h"
#include "ui/app.h"
#include "ui/timer.h"

namespace {

constexpr int kGraduates = 300;


PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    return pmc;
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

std::vector<std::wstring> WriteGroup(const std::wstring& folder) {
    std::vector<std::wstring> files;
    for (int g = 0; g < kGraduates; ++g) {
        SystemSet::TSettings rec;
        rec.Text("edSurName") = L"Выпускник " + std::to_wstring(kGraduates - g);
        for (int row = 1; row <= 40; ++row) {
            const std::string n = std::to_string(row);
            rec.Text("edDiscipline" + n) = L"Дисциплина номер " + std::to_wstring(row) + L" учебного плана";
            rec.Text("edHours" + n) = std::to_wstring(30 + row);
            rec.Index("cbMark" + n) = (g + row) % 13;
        }
        const std::wstring file = folder + L"\\g" + std::to_wstring(g) + L".Blk";
        if (SystemSet::WriteFileReplacing(file, SystemSet::EncodeState(rec)) != 0) {
            std::printf("cannot write %ls\n", file.c_str());
            return {};
        }
        files.push_back(file);
    }
    return files;
}

}  // namespace

int main() {
    Program::Assemble();
    ui::Application::get().setTitle(L"group_bench");
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring folder = std::wstring(tmp) + L"blk-group-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::vector<std::wstring> files = WriteGroup(folder);
    if (files.empty()) return 1;

    const SIZE_T before = Memory().WorkingSetSize;
    const double tRead = Now();
    const MainSet::TGroup group = MainSet::ReadGroup(files);
    const double readMs = Now() - tRead;

    double t0 = 0, tShown = 0, tPainted = 0, tDone = 0;
    SIZE_T atFirst = 0, atHalf = 0, atEnd = 0;
    int pages = 0;
    rep::TRepStandardPreview* window = nullptr;
    ui::Timer poll(10, [&] {
        rep::TRepPrinter* p = window ? window->ReportPrinter : nullptr;
        if (!p) return;
        if (atHalf == 0 && p->PageCount() >= kGraduates / 2) atHalf = Memory().WorkingSetSize;
        if (tDone == 0 && p->Status() == rep::stFinished) {
            tDone = Now();
            pages = p->PageCount();
            atEnd = Memory().WorkingSetSize;
            window->close();
            window = nullptr;  // freed once closed
        }
    });
    poll.start();
    t0 = Now();
    MainSet::PreviewGroup(group.Members, 2, [&](rep::TRepStandardPreview& w) {
        tShown = Now();
        window = &w;
        auto standard = w.RepPreview->OnPageAvailable;
        // Page 1 is painted inside the page-available handler (the image redraws at once).
        w.RepPreview->OnPageAvailable = [standard, &tPainted, &atFirst](rep::TRepPreview& v, int page) {
            if (standard) standard(v, page);
            if (tPainted == 0 && v.Image().HasPage()) {
                tPainted = Now();
                atFirst = Memory().WorkingSetSize;
            }
        };
    });
    poll.stop();

    for (const auto& f : files) DeleteFileW(f.c_str());
    RemoveDirectoryW(folder.c_str());

    std::printf("group of %d state files, sheet 2, 120 values each\n", kGraduates);
    std::printf("  read and ordered:                %8.1f ms (%zu readable)\n", readMs, group.Members.size());
    std::printf("  Preview -> window shown:         %8.1f ms\n", tShown - t0);
    std::printf("  Preview -> first page painted:   %8.1f ms\n", tPainted - t0);
    std::printf("  Preview -> all pages in:         %8.1f ms (%d pages)\n", tDone - t0, pages);
    if (tDone > t0) std::printf("  pages per second into preview:   %8.1f\n", pages * 1000.0 / (tDone - t0));
    std::printf("  working set before the run:      %8.1f MiB\n", MiB(before));
    std::printf("  working set at page 1 painted:   %8.1f MiB\n", MiB(atFirst));
    std::printf("  working set at page %d:         %8.1f MiB\n", kGraduates / 2, MiB(atHalf));
    std::printf("  working set at the last page:    %8.1f MiB\n", MiB(atEnd));
    std::printf("  peak working set:                %8.1f MiB\n", MiB(Memory().PeakWorkingSetSize));
    return pages == kGraduates ? 0 : 1;
}
