#include "report/export/ascii_grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using rep::TRepAsciiGrid;
using rep::TRepTextAlign;
using Lines = std::vector<std::wstring>;

constexpr TRepTextAlign Left = TRepTextAlign::LeftJustify;
constexpr TRepTextAlign Right = TRepTextAlign::RightJustify;
constexpr TRepTextAlign Centre = TRepTextAlign::Center;

// 10 pt in tenths of a millimetre: 10 × 254 ÷ 72.
constexpr long double kLine10 = 2540.0L / 72.0L;
// X of a column value at 10 pt: a column is 1/1.7 of the font size.
constexpr long double ColumnX(long double col) { return col * kLine10 / 1.7L; }
constexpr long double RowY(int row) { return row * kLine10; }

TRepAsciiGrid A4At10pt() {
    TRepAsciiGrid g;
    g.BeginExport(2100, 2970, 10);
    g.BeginPage();
    return g;
}

std::wstring Blanks(std::size_t n) { return std::wstring(n, L' '); }

TEST(AsciiGrid, A4PageAtTenPoints) {
    const auto g = A4At10pt();
    EXPECT_NEAR(static_cast<double>(g.LineHeight()), 35.2777778, 1e-6);
    EXPECT_EQ(g.ColumnUnit(), g.LineHeight());
    EXPECT_EQ(g.RowCount(), 84);  // Round(84.19)
    EXPECT_NEAR(static_cast<double>(g.ColumnUnit() / 1.7L), 20.75, 0.005);
}

TEST(AsciiGrid, RowCountFromPaperHeightAndFont) {
    struct Case { std::int32_t height; int font; std::int32_t rows; };
    const Case cases[] = {
        {2970, 10, 84}, {2970, 12, 70},   // 70.16
        {2794, 10, 79},                   // Letter: 79.2
        {2970, 5, 168},                   // 168.4
        {2970, 4, 201},                   // 210.5: more rows than the buffer holds
        {100000, 10, 201},
        {2970, -10, 84},                  // the size's sign does not count
        {0, 10, 0}, {-500, 10, 0},
        {2970, 0, 0},                     // no font size, no rows
    };
    for (const auto& c : cases) {
        TRepAsciiGrid g;
        g.BeginExport(2100, c.height, c.font);
        EXPECT_EQ(g.RowCount(), c.rows) << c.height << ' ' << c.font;
    }
}

TEST(AsciiGrid, RightMarginColumn) {
    auto g = A4At10pt();
    g.WriteText(2000, RowY(3), Left, L"x");  // Round(2000 ÷ 35.28 × 1.7) = 96
    EXPECT_EQ(g.Row(3), Blanks(95) + L"x");
}

TEST(AsciiGrid, PlacementOnARow) {
    struct Item { long double col; TRepTextAlign align; std::wstring text; };
    struct Case { std::vector<Item> items; std::wstring row; };
    const Case cases[] = {
        // Up to column 0.5 the text goes in front of what the row holds.
        {{{5, Left, L"abc"}, {0, Left, L"XY"}}, L"XY" + Blanks(4) + L"abc"},
        {{{5, Left, L"abc"}, {0.4L, Left, L"XY"}}, L"XY" + Blanks(4) + L"abc"},
        // Above 0.5 and below 1.5 it overwrites from column 1.
        {{{1, Left, L"abcdef"}, {0.6L, Left, L"XY"}}, L"XYcdef"},
        {{{1, Left, L"abcdef"}, {1.4L, Left, L"XY"}}, L"XYcdef"},
        // Right-justified: the text ends before its column; below 1 it goes in front.
        {{{10, Right, L"abc"}}, Blanks(6) + L"abc"},
        {{{1, Left, L"row"}, {2, Right, L"abc"}}, L"abcrow"},
        // Centred text starts at its centre.
        {{{10, Centre, L"abc"}}, Blanks(9) + L"abc"},
        // Overlaps: the later item wins character by character and may lengthen the row.
        {{{1, Left, L"aaaaaa"}, {3, Left, L"bb"}}, L"aabbaa"},
        {{{1, Left, L"aaaaaa"}, {5, Left, L"bbbbbb"}}, L"aaaabbbbbb"},
        {{{1, Left, L"aaaaaa"}, {1, Left, L""}}, L"aaaaaa"},
        // A column just past the end overwrites the last character.
        {{{1, Left, L"aaaaa"}, {5.3L, Left, L"b"}}, L"aaaab"},
        // An empty text still pads the row with blanks up to its column.
        {{{5, Left, L""}}, Blanks(5)},
        {{{1, Left, L"ab"}, {7, Left, L""}}, L"ab" + Blanks(5)},
    };
    for (const auto& c : cases) {
        auto g = A4At10pt();
        for (const auto& it : c.items) g.WriteText(ColumnX(it.col), RowY(7), it.align, it.text);
        EXPECT_EQ(g.Row(7), c.row);
    }
}

TEST(AsciiGrid, RowsByRounding) {
    auto g = A4At10pt();
    g.WriteText(0, RowY(4) + 17, Left, L"four");     // 4.48
    g.WriteText(0, RowY(4) + 18, Left, L"five");     // 4.51
    g.WriteText(0, RowY(0) - 17, Left, L"zero");     // -0.48
    EXPECT_EQ(g.Row(4), L"four");
    EXPECT_EQ(g.Row(5), L"five");
    EXPECT_EQ(g.Row(0), L"zero");
}

TEST(AsciiGrid, RowsPastRowCountAreKeptButNotWritten) {
    auto g = A4At10pt();
    g.WriteText(0, RowY(83), Left, L"last");
    g.WriteText(0, RowY(84), Left, L"kept");
    g.WriteText(0, RowY(200), Left, L"end");
    EXPECT_EQ(g.Row(84), L"kept");
    EXPECT_EQ(g.Row(200), L"end");
    EXPECT_EQ(g.FinishPage(), Lines{L"last"});
}

TEST(AsciiGrid, OutsideTheBufferIsDropped) {
    auto g = A4At10pt();
    const long double ys[] = {RowY(-1), RowY(201), RowY(100000), -1e300L, 1e300L};
    for (long double y : ys) g.WriteText(0, y, Left, L"lost");
    for (int r = 0; r < TRepAsciiGrid::MaxRows; ++r) EXPECT_EQ(g.Row(r), L"") << r;
}

TEST(AsciiGrid, FarColumnsStayBounded) {
    auto g = A4At10pt();
    g.WriteText(1e30L, RowY(1), Left, L"far");
    EXPECT_EQ(g.Row(1), Blanks(TRepAsciiGrid::MaxColumn - 1) + L"far");
    g.WriteText(1e30L, RowY(1), Left, L"again");
    EXPECT_EQ(g.Row(1), Blanks(TRepAsciiGrid::MaxColumn - 1) + L"again");
    g.WriteText(-1e30L, RowY(2), Right, L"near");
    g.WriteText(-1e30L, RowY(2), Left, L"A");
    EXPECT_EQ(g.Row(2), L"Anear");
}

TEST(AsciiGrid, NoFontDropsEverything) {
    TRepAsciiGrid g;
    g.BeginExport(2100, 2970, 0);
    g.BeginPage();
    g.WriteText(100, 100, Left, L"x");
    EXPECT_EQ(g.Row(0), L"");
    EXPECT_TRUE(g.FinishPage().empty());
}

TEST(AsciiGrid, EmptyPageWritesNothingAndPagesStartEmpty) {
    auto g = A4At10pt();
    EXPECT_TRUE(g.FinishPage().empty());
    g.WriteText(0, RowY(1), Left, L"page 1");
    EXPECT_EQ(g.FinishPage(), Lines{L"page 1"});
    g.BeginPage();
    EXPECT_TRUE(g.FinishPage().empty());
}

TEST(AsciiGrid, WholePage) {
    auto g = A4At10pt();
    g.WriteText(1050, RowY(2), Centre, L"ПРИЛОЖЕНИЕ");  // column 50.6 -> 51
    g.WriteText(100, RowY(5) + 10, Left, L"Фамилия:");  // 4.8 -> 5, row 5.28 -> 5
    g.WriteText(1000, RowY(5), Right, L"Иванов");       // 48.2 - 6 -> 42
    g.WriteText(500, RowY(10), Left, L"");              // 24.1 -> 24 blanks
    g.WriteText(2000, RowY(83), Left, L"2024");         // 96.4 -> 96, the last row
    g.WriteText(2000, RowY(84), Left, L"hidden");       // row 84 is not written
    const Lines expected = {
        Blanks(50) + L"ПРИЛОЖЕНИЕ",
        Blanks(4) + L"Фамилия:" + Blanks(29) + L"Иванов",
        Blanks(24),
        Blanks(95) + L"2024",
    };
    EXPECT_EQ(g.FinishPage(), expected);
}

}  // namespace
