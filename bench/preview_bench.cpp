// How fast the standard preview shows pages: from Preview to the first page painted for a
// one-page report, and from pressing End to page 1000 painted for a 1000-page report.
// A Win32 program for Wine; needs a display. Prints its figures.
#include <windows.h>

#include "bench/bench_clock.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "report/model/label.h"
#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "report/run/report.h"
#include "shell/main/program.h"
#include "ui/app.h"
#include "ui/timer.h"

namespace {


void SetUpA4(rep::TReport& r) {
    r.Page.SetPaperSize(rep::TRepPaperSize::A4);
    r.Page.ReadValues({100.0L, 2970.0L, 100.0L, 2100.0L, 100.0L, 100.0L, 0.0L});
    r.Page.Loaded();
    r.SetUnits(rep::TRepUnit::Native);
    r.ShowProgress = false;
}

struct Stats {
    std::vector<double> ms;
    void Print(const char* what) const {
        std::vector<double> s = ms;
        std::sort(s.begin(), s.end());
        if (s.empty()) {
            std::printf("%-52s no samples\n", what);
            return;
        }
        std::printf("%-52s n=%zu  min %8.2f ms  median %8.2f ms  max %8.2f ms\n", what, s.size(), s.front(),
                    s[s.size() / 2], s.back());
    }
};

// Preview of a one-page report: Preview called -> window shown -> page 1 painted.
void OnePage(int runs) {
    Stats toWindow, toPainted, windowToPainted;
    for (int i = 0; i < runs; ++i) {
        rep::TReport r;
        SetUpA4(r);
        r.ReportTitle = L"One page";
        for (int k = 0; k < 20; ++k) {
            auto& l = r.Own<rep::TRepLabel>();
            l.SetParent(&r);
            l.SetLeft(40);
            l.SetTop(40 + k * 30);
            l.SetCaption(L"Иванов Пётр Сергеевич, строка " + std::to_wstring(k + 1));
        }
        double t0 = 0, tShown = 0, tPainted = 0;
        r.OnPreview = [&](rep::TRepPrinter& p) {
            rep::ShowStandardPreview(p);
            tShown = Now();
            rep::TRepStandardPreview* w = rep::StandardPreviewOf(p);
            auto standard = w->RepPreview->OnPageAvailable;
            // Page 1 is painted inside the page-available handler (the image redraws at once).
            w->RepPreview->OnPageAvailable = [w, standard, &tPainted](rep::TRepPreview& v, int page) {
                if (standard) standard(v, page);
                if (tPainted == 0 && v.Image().HasPage()) {
                    tPainted = Now();
                    w->close();
                }
            };
        };
        t0 = Now();
        r.Preview();
        toWindow.ms.push_back(tShown - t0);
        toPainted.ms.push_back(tPainted - t0);
        windowToPainted.ms.push_back(tPainted - tShown);
    }
    Stats printer;
    for (int i = 0; i < runs; ++i) {
        const double t0 = Now();
        rep::TRepPrinter p;
        printer.ms.push_back(Now() - t0);
    }
    toPainted.Print("one page: Preview -> first page painted");
    printer.Print("of which a report printer's construction alone");
    toWindow.Print("one page: Preview -> window shown");
    windowToPainted.Print("one page: window shown -> first page painted");
}

// A 1000-page report, one row a page; End is pressed (a key message through the loop) and
// the time runs until page 1000 is on screen.
void ThousandPages(bool compressed, int presses) {
    rep::TReport r;
    SetUpA4(r);
    r.ReportTitle = L"Thousand pages";
    if (compressed) r.Options |= rep::Compression;
    auto& detail = r.AddBand(rep::TRepBandType::rbDetail);
    detail.Size.SetHeight(2000);  // one row a page
    auto& cell = r.Own<rep::TRepLabel>();
    cell.SetParent(&detail);
    int row = 0;
    const int pages = 1000;
    r.OnNeedData = [&](rep::TReport&, bool& more) {
        more = row < pages;
        if (more) cell.SetCaption(L"Страница " + std::to_wstring(++row) + L" " + std::wstring(60, L'ж'));
    };
    rep::TRepPrinter* printer = nullptr;
    r.OnPreview = [&](rep::TRepPrinter& p) {
        printer = &p;
        rep::ShowStandardPreview(p);
    };
    Stats end, home, getPage;
    double runStart = Now(), runEnd = 0;
    bool spilled = false;
    long long storeBytes = 0;
    enum { WaitRun, PressEnd, WaitEnd, PressHome, WaitHome, Done } state = WaitRun;
    int done = 0;
    double t0 = 0;
    // Steps run from the message loop every few milliseconds while the preview is open.
    std::function<bool()> step = [&] {
        rep::TRepStandardPreview* w = printer ? rep::StandardPreviewOf(*printer) : nullptr;
        if (!w) return false;
        rep::TRepPreview& v = *w->RepPreview;
        switch (state) {
        case WaitRun:
            if (printer->Status() != rep::stFinished || !v.Image().HasPage()) return false;
            runEnd = Now();
            if (const rep::TRepStream* s = printer->Stream()) {
                spilled = !s->InMemory();
                storeBytes = static_cast<long long>(s->Size());
            }
            for (int i = 0; i < 5; ++i) {
                const double g0 = Now();
                ui::EnhMetaFile last = printer->GetPage(pages);
                getPage.ms.push_back(Now() - g0);
                if (!last) std::printf("GetPage(%d) gave no picture\n", pages);
            }
            state = PressEnd;
            return false;
        case PressEnd:
            t0 = Now();
            PostMessageW(v.hwnd(), WM_KEYDOWN, VK_END, 0);
            // Handled here and now: the key, the page read and the redraw.
            ui::Application::get().processMessages();
            state = WaitEnd;
            [[fallthrough]];
        case WaitEnd:
            if (v.PageNumber() != pages || !v.Image().HasPage()) return false;
            end.ms.push_back(Now() - t0);
            state = PressHome;
            return false;
        case PressHome:
            t0 = Now();
            PostMessageW(v.hwnd(), WM_KEYDOWN, VK_HOME, 0);
            ui::Application::get().processMessages();
            state = WaitHome;
            [[fallthrough]];
        case WaitHome:
            if (v.PageNumber() != 1 || !v.Image().HasPage()) return false;
            home.ms.push_back(Now() - t0);
            state = ++done < presses ? PressEnd : Done;
            return false;
        case Done:
            w->close();
            return true;
        }
        return false;
    };
    bool inStep = false;  // a step that handles messages must not run the next inside itself
    ui::Timer poll(5, [&] {
        if (inStep) return;
        inStep = true;
        if (step()) poll.stop();
        inStep = false;
    });
    poll.start();
    r.Preview();
    const char* kind = compressed ? "compressed" : "plain";
    std::printf("1000 pages (%s): run %.0f ms, page store %lld bytes%s\n", kind, runEnd - runStart, storeBytes,
                spilled ? " in a temporary file" : " in memory");
    std::string label = std::string("1000 pages (") + kind + "): End -> page 1000 painted";
    end.Print(label.c_str());
    label = std::string("1000 pages (") + kind + "): Home -> page 1 painted";
    home.Print(label.c_str());
    label = std::string("1000 pages (") + kind + "): GetPage(1000) alone";
    getPage.Print(label.c_str());
}

}  // namespace

int main() {
    Program::Assemble();
    ui::Application::get().setTitle(L"preview_bench");
    OnePage(10);
    ThousandPages(false, 10);
    ThousandPages(true, 10);
    return 0;
}
