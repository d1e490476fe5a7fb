#include "report/export/ascii_grid.h"

#include "report/model/units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace rep {

void TRepAsciiGrid::BeginExport(std::int32_t /*paperWidth*/, std::int32_t paperHeight, int fontSize) {
    columnUnit_ = lineHeight_ = PointsToNative(std::abs(fontSize));
    rowCount_ = 0;
    if (lineHeight_ > 0) {
        const long rows = RoundEven(paperHeight / lineHeight_);
        rowCount_ = static_cast<std::int32_t>(std::clamp<long>(rows, 0, MaxRows));
    }
}

void TRepAsciiGrid::BeginPage() {
    for (auto& row : rows_) row.clear();
}

void TRepAsciiGrid::WriteText(long double x, long double y, TRepTextAlign alignment,
                              const std::wstring& text) {
    if (!(lineHeight_ > 0) || !std::isfinite(x) || !std::isfinite(y)) return;
    long double col = x / columnUnit_ * 1.7L;
    if (alignment == TRepTextAlign::RightJustify) col -= static_cast<long double>(text.size());
    // Centred text is not shifted: it starts at its centre.

    const long row = RoundEven(y / lineHeight_);
    if (row < 0 || row >= MaxRows) return;
    std::wstring& line = rows_[static_cast<std::size_t>(row)];

    const long p = std::min(RoundEven(col), MaxColumn);
    if (col > static_cast<long double>(line.size()) && p > static_cast<long>(line.size()))
        line.append(static_cast<std::size_t>(p) - line.size(), L' ');
    if (p >= 1) {
        // 1-based position p: overwrite from there, lengthening the row if needed.
        const auto at = static_cast<std::size_t>(p - 1);
        line.replace(at, std::min(text.size(), line.size() - at), text);
    } else {
        line.insert(0, text);
    }
}

std::vector<std::wstring> TRepAsciiGrid::FinishPage() const {
    std::vector<std::wstring> lines;
    for (std::int32_t i = 0; i < rowCount_; ++i)
        if (!rows_[static_cast<std::size_t>(i)].empty()) lines.push_back(rows_[static_cast<std::size_t>(i)]);
    return lines;
}

}  // namespace rep
