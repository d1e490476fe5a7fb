#pragma once
// The page buffer of the text export: labels' lines laid onto a character grid,
// one text per row, written out when the page ends. No file I/O here.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "report/model/export_filter.h"

namespace rep {

class TRepAsciiGrid {
public:
    static constexpr int MaxRows = 201;        // rows 0..200
    // A column beyond this is placed here: an item far off the page must not
    // make a row of unbounded length.
    static constexpr long MaxColumn = 10000;

    // Paper size in tenths of a millimetre; only the height counts. A font of
    // size 0 has no rows, and everything written to it is dropped.
    void BeginExport(std::int32_t paperWidth, std::int32_t paperHeight, int fontSize);
    void BeginPage();
    // X, Y in tenths of a millimetre from the page's top left; X is the left
    // edge, right edge or centre of the text by alignment. An item whose row
    // falls outside 0..200 is dropped.
    void WriteText(long double x, long double y, TRepTextAlign alignment, const std::wstring& text);
    // The non-empty rows 0..RowCount-1, in order.
    std::vector<std::wstring> FinishPage() const;

    std::int32_t RowCount() const { return rowCount_; }
    long double ColumnUnit() const { return columnUnit_; }
    long double LineHeight() const { return lineHeight_; }
    const std::wstring& Row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }

private:
    std::int32_t rowCount_ = 0;  // capped to MaxRows
    long double columnUnit_ = 0;
    long double lineHeight_ = 0;
    std::array<std::wstring, MaxRows> rows_;
};

}  // namespace rep
