#include "sheets/print_settings.h"

#include <cmath>

#include "report/model/units.h"

namespace SetReportCommon {

namespace {

const struct TDefaults final : TPrintSettings {
    const TPrintOffsets& OffsetsFor(const std::wstring&) const override { return offsets; }
    bool HasOwnOffsets(const std::wstring&) const override { return false; }
    const TBlankSettings& Blanks() const override { return blanks; }
    TPrintOffsets offsets;
    TBlankSettings blanks;
} defaults;

const TPrintSettings* handedIn = nullptr;

}  // namespace

void HandInPrintSettings(const TPrintSettings* settings) { handedIn = settings; }

const TPrintSettings& PrintSettings() { return handedIn ? *handedIn : defaults; }

bool OffsetsFitPaper(const TPrintOffsets& o, long double width, long double length, int resolution, int zoom) {
    // A label on the paper moved by a whole paper width or more is off it, whatever its box.
    const auto fits = [&](std::int64_t px, long double paper) {
        return std::fabs(rep::PixelsToNative(static_cast<long double>(px), resolution, zoom)) < paper;
    };
    const std::int64_t x2 = o.DeltaX2;
    return fits(o.DeltaX1, width) && fits(o.DeltaY1, length) && fits(x2, width) && fits(x2 + o.DeltaXColumn2, width) &&
           fits(x2 + o.DeltaXColumn3, width) && fits(o.DeltaY2, length) &&
           std::fabs(rep::PointsToNative(static_cast<long double>(o.FontSizeColumn3))) < length;
}

}  // namespace SetReportCommon
