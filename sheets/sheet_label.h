#pragma once
// What both sheets do with their labels: create them as a form definition would, keep
// their base positions, and place them at base + offset for a rendering.
#include <cstdint>
#include <string>

#include "report/model/label.h"
#include "report/run/report.h"
#include "sheets/print_settings.h"

namespace SetReportCommon {

// The report settings both sheets store: A4 portrait, 10-mm margins, Arial 10.
void SetUpSheetReport(rep::TReport& report, const std::wstring& title);

// A label as the form definition holds it: stored millimetre values are authoritative, the
// pixel rectangle follows at this display's resolution. Sizes are given in pixels at 96 dpi.
rep::TRepLabel& DefinedLabel(rep::TReport& report, const std::wstring& name, int left, int top, int width, int height,
                             rep::TRepAlignment alignment, int fontSize);

// A label created by code: pixel bounds set in the order width, height, left, top.
rep::TRepLabel& RunTimeLabel(rep::TReport& report, int left, int top, int width, int height);

// The position a label returns to: its stored left and top in native units; and the size
// it was created with, which a label sized to its text leaves behind.
struct TBasePosition {
    rep::TRepLabel* label = nullptr;
    long double left = 0;
    long double top = 0;
    long double width = 0;
    long double height = 0;
};

TBasePosition BaseOf(rep::TRepLabel& label);
// A move by whole report pixels in native units, at the size's resolution and zoom.
long double PixelOffsetNative(const rep::TRepPrintableSize& size, std::int64_t pixels);
// Puts the label at its base moved by whole report pixels; an offset of 0 leaves it there.
void PlaceAt(const TBasePosition& base, std::int64_t dxPixels, std::int64_t dyPixels);

// The name of the printer the report's run prints on; empty without a printer or a run.
std::wstring PrinterNameOf(const rep::TReport& report);

// The print offsets a page is laid out with: the set of the printer the run prints on. A hand-edited settings file can hold values
// that put no label on the paper: a shift of a whole paper width or length (a column's
// shift being the page's plus the column's), or a font whose line is taller than the
// paper. Those are bad values, and like a value that does not convert they give the
// defaults for all seven; otherwise the offsets as loaded.
TPrintOffsets UsableOffsets(const rep::TReport& report);

}  // namespace SetReportCommon
