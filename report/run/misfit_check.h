#pragma once
// Values that would spoil a pre-printed blank: found from the report's labels as they are
// laid out for the page, measured as the labels measure when they draw.
#include <vector>

#include "report/model/label.h"
#include "report/run/print_area.h"

namespace rep {

class TReport;

// Where a label's value lands: its box (filled white, so it covers what lies under it),
// the text of the lines that print, and how many of its lines do not.
struct TRepLanding {
    TRepNativeRect Box;
    TRepNativeRect Text;  // empty when nothing visible prints
    int Lines = 0;
    int Printed = 0;
    // Words are lost: a line with text does not fit the box's height.
    bool Cut = false;
};

// Measured as the printer of the area prints it.
TRepLanding LandingOf(const TRepCustomLabel& label, const TRepPrintArea& area);

// mkUnprintable: on the paper, but where the printer does not print.
enum TRepMisfitKind : unsigned { mkCut = 1, mkPastEdge = 2, mkOverlap = 4, mkUnprintable = 8 };

struct TRepMisfit {
    TRepCustomLabel* Label = nullptr;
    unsigned Kinds = 0;                     // TRepMisfitKind bits; 0 once shrinking made it fit
    TRepCustomLabel* Overlapped = nullptr;  // the first value whose place its text takes
    int ShrunkTo = 0;                       // the size it prints at after shrinking, or 0
    TRepNativeRect Area;                    // box and text together, for marking
};

// The report's paper alone, for a check without a printer.
TRepPrintArea PaperOnly(const TReport& report);

// Every label on the report whose text is cut, runs past the paper or the printer's printable
// area, or takes the place of another label (its box, drawn white, or its text), in child order.
std::vector<TRepMisfit> FindMisfits(const TReport& report, const TRepPrintArea& area);

// The smallest size a value is shrunk to.
inline constexpr int kSmallestShrink = 8;

// Shrinks each misfit's font a point at a time, down to kSmallestShrink, until it fits;
// those that still do not fit even at that size keep their own size and their kinds, with
// ShrunkTo 0. Entries of shrunk values have ShrunkTo set.
std::vector<TRepMisfit> ShrinkMisfits(const TReport& report, const TRepPrintArea& area);

}  // namespace rep
