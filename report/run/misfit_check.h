#pragma once
// Values that would spoil a pre-printed blank: found from the report's labels as they are
// laid out for the page, measured as the labels measure when they draw.
#include <vector>

#include "report/model/label.h"

namespace rep {

class TReport;

// A rectangle on the paper in native units; right and bottom exclusive.
struct TRepNativeRect {
    long double Left = 0;
    long double Top = 0;
    long double Right = 0;
    long double Bottom = 0;
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    bool Intersects(const TRepNativeRect& o) const;
};

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

TRepLanding LandingOf(const TRepCustomLabel& label);

enum TRepMisfitKind : unsigned { mkCut = 1, mkPastEdge = 2, mkOverlap = 4 };

struct TRepMisfit {
    TRepCustomLabel* Label = nullptr;
    unsigned Kinds = 0;                     // TRepMisfitKind bits; 0 once shrinking made it fit
    TRepCustomLabel* Overlapped = nullptr;  // the first value whose place its text takes
    int ShrunkTo = 0;                       // the size it prints at after shrinking, or 0
    TRepNativeRect Area;                    // box and text together, for marking
};

// Every label on the report whose text is cut, runs past the paper, or takes the place of
// another label (its box, drawn white, or its text), in child order.
std::vector<TRepMisfit> FindMisfits(const TReport& report);

// The smallest size a value is shrunk to.
inline constexpr int kSmallestShrink = 8;

// Shrinks each misfit's font a point at a time, down to kSmallestShrink, until it fits;
// those that still do not keep their kinds. Entries of shrunk values have ShrunkTo set.
std::vector<TRepMisfit> ShrinkMisfits(const TReport& report);

}  // namespace rep
