// The program's own figures, in-process: where the start's time goes, step by step in the
// order the program starts; the print command from the command to the page painted beside
// an empty window of the preview's size made and painted in the same process; the working
// set after start and after each preview, and the GDI and USER object counts over ten
// previews in a row (nothing may grow from one preview to the next). It starts with what the
// figures depend on: Wine's version, how Wine places windows, the processors and the printers.
// A Win32 program for Wine; needs a display. Prints its figures.
//   program_bench [previews]
#include <windows.h>

#include "bench/bench_clock.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "shell/main/about_set.h"
#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "shell/offsets/settings_unit.h"
#include "ui/app.h"
#include "ui/printer.h"

namespace {


double last = 0;
void Step(const char* what) {
    const double t = Now();
    std::printf("  %-46s %8.1f ms\n", what, t - last);
    last = Now();
}

struct Memory {
    double workingMb, peakMb;
    DWORD gdi, user;
};

Memory Read() {
    PROCESS_MEMORY_COUNTERS pmc{};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return {pmc.WorkingSetSize / 1048576.0, pmc.PeakWorkingSetSize / 1048576.0,
            GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

void PrintMemory(const char* what) {
    const Memory m = Read();
    std::printf("  %-34s working set %6.1f MB  peak %6.1f MB", what, m.workingMb, m.peakMb);
    // Some systems (Wine among them) do not count the objects and answer 0.
    if (m.gdi || m.user) std::printf("  GDI %4lu  USER %4lu", m.gdi, m.user);
    else std::printf("  GDI/USER objects not counted by this system");
    std::printf("\n");
}

// Figures of two machines compare only with these beside them.
void PrintSystem() {
    using WineVersion = const char*(__cdecl*)();
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto wineVersion =
        ntdll ? reinterpret_cast<WineVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version"))) : nullptr;
    std::printf("System: %s", wineVersion ? "Wine " : "not Wine");
    if (wineVersion) std::printf("%s", wineVersion());
    SYSTEM_INFO si{};
    GetSystemInfo(&si);
    std::printf(", %lu processors\n", si.dwNumberOfProcessors);
    if (wineVersion) {
        // Without a window manager, Wine keeps the preview maximized only when it places the
        // windows itself; otherwise it puts the window back to its normal size and lays it out again.
        wchar_t value[8] = L"";
        DWORD size = sizeof value;
        const bool set = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", RRF_RT_REG_SZ,
                                      nullptr, value, &size) == ERROR_SUCCESS;
        std::printf("Wine X11 driver Managed: %ls\n", set ? value : L"(not set: Y)");
    }
}

// Read after the start's figures: the first question to the spooler loads its library.
void PrintPrinters() {
    const ui::TPrinter& printers = ui::applicationPrinter();
    std::printf("Printers: %zu\n", printers.printers().size());
    for (std::size_t i = 0; i < printers.printers().size(); ++i) {
        const ui::PrinterEntry& e = printers.printers()[i];
        std::printf("  %ls (driver %ls, port %ls)%s\n", e.name.c_str(), e.driver.c_str(), e.port.c_str(),
                    static_cast<int>(i) == printers.defaultIndex() ? ", default" : "");
    }
}

// Where one print command's time went: until the report printer was made and the preview
// began, and until its window was shown.
struct Phases {
    double previewBegun = 0, shown = 0;
};

// The print command of a sheet, as the menu runs it, until its page is painted; the
// preview then closes. Returns the milliseconds and the preview's window size.
double PrintCommand(rep::TReport& report, UINT command, SIZE& windowSize, Phases& phases) {
    auto standard = report.OnPreview;
    double t0 = 0, painted = 0;
    report.OnPreview = [&](rep::TRepPrinter& p) {
        phases.previewBegun = Now() - t0;
        if (standard) standard(p);
        else rep::ShowStandardPreview(p);
        rep::TRepStandardPreview* w = rep::StandardPreviewOf(p);
        RECT r;
        GetWindowRect(w->hwnd(), &r);
        windowSize = {r.right - r.left, r.bottom - r.top};
        auto pageAvailable = w->RepPreview->OnPageAvailable;
        w->RepPreview->OnPageAvailable = [w, pageAvailable, &painted](rep::TRepPreview& v, int page) {
            if (pageAvailable) pageAvailable(v, page);
            // The image redraws at once: page 1 is on the screen when this returns.
            if (painted == 0 && v.Image().HasPage()) {
                painted = Now();
                w->close();
            }
        };
        phases.shown = Now() - t0;
    };
    t0 = Now();
    MainSet::MainForm->runMenuCommand(command);
    report.OnPreview = standard;
    return painted > 0 ? painted - t0 : -1;
}

LRESULT CALLBACK EmptyProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

// An empty top-level window of that size, created, shown and painted.
double EmptyWindow(SIZE size) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = EmptyProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"BlkBenchEmpty";
        RegisterClassW(&wc);
        registered = true;
    }
    const double t0 = Now();
    HWND h = CreateWindowW(L"BlkBenchEmpty", L"Пустое окно", WS_OVERLAPPEDWINDOW, 0, 0, size.cx, size.cy, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(h, SW_SHOW);
    UpdateWindow(h);
    ui::Application::get().processMessages();
    const double t = Now() - t0;
    DestroyWindow(h);
    ui::Application::get().processMessages();
    return t;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Program::Assemble();
    const int previews = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ui::Application& app = ui::Application::get();

    PrintSystem();
    std::printf("Start, in the program's order:\n");
    last = Now();
    app.setTitle(L"Приложение к Диплому");
    auto main = std::make_unique<MainSet::TMainForm>(true);
    MainSet::MainForm = main.get();
    app.setMainForm(main.get());
    Step("main window, its first screen");
    main->show();
    UpdateWindow(main->hwnd());
    Step("main window shown and painted (first screen)");
    main->BuildRest();
    Step("the rest of page 1, page 2 and its table");
    auto sheet1 = std::make_unique<SetReport::TBlankoSheet1>();
    SetReport::BlankoSheet1 = sheet1.get();
    Step("sheet 1");
    auto sheet2 = std::make_unique<SetReport2::TBlankoSheet2>();
    SetReport2::BlankoSheet2 = sheet2.get();
    Step("sheet 2");
    auto about = std::make_unique<AboutSet::TAbout>();
    AboutSet::About = about.get();
    Step("about box");
    auto settings = std::make_unique<SettingsUnit::TSettings>();
    SettingsUnit::Settings = settings.get();
    Step("settings dialog");
    app.processMessages();
    PrintMemory("after start");
    PrintPrinters();

    std::printf("Print command -> page painted, beside an empty window of the preview's size:\n");
    std::vector<double> cmd[2], empty;
    for (int i = 0; i < previews; ++i) {
        for (int sheet = 0; sheet < 2; ++sheet) {
            SIZE size{0, 0};
            rep::TReport& report = sheet == 0 ? sheet1->Report1 : sheet2->Report1;
            const UINT id = main->menuId(sheet == 0 ? L"mnPrintSheet1" : L"mnPrintSheet2");
            Phases phases;
            cmd[sheet].push_back(PrintCommand(report, id, size, phases));
            app.processMessages();
            empty.push_back(EmptyWindow(size));
            std::printf("    sheet %d: %6.1f ms (preview begun at %5.1f, window shown at %5.1f); empty window %5.1f ms\n",
                        sheet + 1, cmd[sheet].back(), phases.previewBegun, phases.shown, empty.back());
            if (i == 0) PrintMemory(sheet == 0 ? "after one preview of sheet 1" : "after one preview of sheet 2");
        }
        char what[64];
        std::snprintf(what, sizeof what, "after preview round %d", i + 1);
        PrintMemory(what);
    }
    const double e = Median(empty);
    for (int sheet = 0; sheet < 2; ++sheet)
        std::printf("  sheet %d: median %7.1f ms  (empty window %6.1f ms, ratio %.2f)\n", sheet + 1, Median(cmd[sheet]),
                    e, Median(cmd[sheet]) / e);

    settings.reset();
    about.reset();
    sheet2.reset();
    sheet1.reset();
    app.setMainForm(nullptr);
    main.reset();
    return 0;
}
