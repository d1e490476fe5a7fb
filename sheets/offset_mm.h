// Print offsets in millimetres: an offset counts report pixels, each 25.4 / PixelsPerInch mm
// (0.26458 mm at 96), which is how far one arrow step moves the text on paper.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace SetReportCommon {

// Millimetres of `steps` report pixels.
double StepsToMm(long long steps, int pixelsPerInch);
// The whole number of steps nearest to `mm` (halves to the even one).
long long MmToSteps(double mm, int pixelsPerInch);
// "2,65 мм", "-1,06 мм": two decimals, a decimal comma.
std::wstring MmText(long long steps, int pixelsPerInch);
// A length typed in millimetres: an optional sign, digits with a comma or a point, blanks
// around, an optional "мм" after. Anything else gives nothing.
std::optional<double> ParseMm(std::wstring_view text);

}  // namespace SetReportCommon
