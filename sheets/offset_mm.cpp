#include "sheets/offset_mm.h"

#include <cmath>
#include <cstdio>

namespace SetReportCommon {

double StepsToMm(long long steps, int pixelsPerInch) {
    return static_cast<double>(steps) * 25.4 / (pixelsPerInch > 0 ? pixelsPerInch : 96);
}

long long MmToSteps(double mm, int pixelsPerInch) {
    return std::llrint(mm * (pixelsPerInch > 0 ? pixelsPerInch : 96) / 25.4);
}

std::wstring MmText(long long steps, int pixelsPerInch) {
    const double mm = StepsToMm(steps, pixelsPerInch);
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.2f", std::fabs(mm) < 0.005 ? 0.0 : mm);
    std::wstring s = buf;
    for (wchar_t& c : s)
        if (c == L'.') c = L',';
    return s + L" мм";
}

std::optional<double> ParseMm(std::wstring_view text) {
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == 0xA0; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.size() >= 2 && (text.substr(text.size() - 2) == L"мм" || text.substr(text.size() - 2) == L"ММ")) {
        text.remove_suffix(2);
        while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+' || text.front() == 0x2212)) {
        negative = text.front() != L'+';
        text.remove_prefix(1);
    }
    double value = 0, scale = 0;
    bool digits = false, point = false;
    for (wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            digits = true;
            if (point) {
                scale /= 10;
                value += (c - L'0') * scale;
            } else {
                value = value * 10 + (c - L'0');
            }
        } else if ((c == L',' || c == L'.') && !point) {
            point = true;
            scale = 1;
        } else {
            return std::nullopt;
        }
    }
    // A value of a kilometre is no correction; it also keeps the step count in range.
    if (!digits || value > 1e6) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace SetReportCommon
