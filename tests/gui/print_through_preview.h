#pragma once
// A print command's preview driven as the secretary drives it: once the report's pages are
// all in the window, Print is pressed, then the window is closed.
#include <gtest/gtest.h>

#include <functional>

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "report/run/report.h"
#include "tests/gui/gui_util.h"
#include "ui/timer.h"

namespace guitest {

// report: the report whose preview the command opens (asked for again on every tick);
// beforePrint: runs in the open window just before Print is pressed.
inline void printThroughPreview(
    const std::function<rep::TReport*()>& report, const std::function<void()>& command,
    const std::function<void(rep::TReport&, rep::TRepStandardPreview&)>& beforePrint = {}) {
    int state = 0;
    ui::Timer poll(100, [&] {
        rep::TReport* r = report();
        rep::TRepPrinter* p = r ? r->RepPrinter() : nullptr;
        rep::TRepStandardPreview* w = p ? rep::StandardPreviewOf(*p) : nullptr;
        if (!w || p->Status() != rep::stFinished) return;
        if (state == 0) {
            state = 1;
            if (beforePrint) beforePrint(*r, *w);
            click(*w->Print);
            state = 2;
        } else if (state == 2) {
            state = 3;
            w->close();
        }
    });
    poll.start();
    command();
    poll.stop();
    ASSERT_EQ(state, 3) << "the preview did not come up or did not print";
}

}  // namespace guitest
