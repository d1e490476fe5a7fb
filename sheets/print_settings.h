#pragma once
// What the sheets print with: the print offsets (one set for every printer, and sets of
// their own for some) and the secretary's choices for her blanks. The program reads them
// from its settings file and hands them in; until it does, the defaults hold.
#include <cstdint>
#include <string>

namespace SetReportCommon {

struct TPrintOffsets {
    std::int32_t DeltaX1 = 0;
    std::int32_t DeltaX2 = 0;
    std::int32_t DeltaY1 = 0;
    std::int32_t DeltaY2 = 0;
    std::int32_t DeltaXColumn2 = 0;
    std::int32_t DeltaXColumn3 = 0;
    std::int32_t FontSizeColumn3 = 10;

    bool operator==(const TPrintOffsets&) const = default;
};

struct TBlankSettings {
    // A value too long for its box may shrink its font.
    bool ShrinkToFit = false;
    // The scanned picture of each sheet's blank shown under its preview; empty: none.
    std::wstring Picture1;
    std::wstring Picture2;
    const std::wstring& Picture(int page) const { return page == 2 ? Picture2 : Picture1; }
    bool operator==(const TBlankSettings&) const = default;
};

class TPrintSettings {
public:
    // The set the printer prints with: its own, or the one for every printer. An empty name
    // (no printer) has none of its own.
    virtual const TPrintOffsets& OffsetsFor(const std::wstring& printer) const = 0;
    virtual bool HasOwnOffsets(const std::wstring& printer) const = 0;
    virtual const TBlankSettings& Blanks() const = 0;

protected:
    ~TPrintSettings() = default;
};

// The program's settings, as it keeps them; null gives the defaults back.
void HandInPrintSettings(const TPrintSettings* settings);
const TPrintSettings& PrintSettings();

// Whether the set puts the sheets' labels on a paper of that size (native units) at that
// report resolution and zoom: a shift of a whole paper width or length (a column's shift
// being the page's plus the column's), or a font whose line is taller than the paper, puts
// none there, and such a set is not used (the defaults are).
bool OffsetsFitPaper(const TPrintOffsets& o, long double width, long double length, int resolution, int zoom);

}  // namespace SetReportCommon
