#include "report/model/page.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/core/geometry_fakes.h"

namespace {

using namespace rep;
using geometry_test::RecordingOwner;
using geometry_test::RecordingReport;

constexpr TRepDisplay kMetric{96, false};
constexpr TRepDisplay kUs{96, true};

double D(long double v) { return static_cast<double>(v); }

TEST(Page, DefaultsFollowTheLocale) {
    struct Case {
        TRepDisplay display;
        TRepUnit units;
        TRepPaperSize paper;
        double margin;       // in the units
        double nativeMargin;
        double width, length;  // native
    };
    const Case cases[] = {
        {kMetric, TRepUnit::MM, TRepPaperSize::A4, 10, 100, 2100, 2970},
        {kUs, TRepUnit::Inches, TRepPaperSize::Letter, 0.5, 127, 2159, 2794},
    };
    for (const auto& c : cases) {
        TRepPage page(c.display);
        EXPECT_EQ(page.Units(), c.units);
        EXPECT_EQ(page.SavedUnits(), c.units);
        EXPECT_EQ(page.PaperSize(), c.paper);
        EXPECT_EQ(page.Orientation(), TRepOrientation::poPortrait);
        EXPECT_EQ(page.Columns(), 1);
        EXPECT_TRUE(page.Ruler());
        EXPECT_EQ(page.Zoom(), 100);
        EXPECT_FALSE(page.ParentUpdating());
        for (auto m : {TRepPage::TopMarginValue, TRepPage::BottomMarginValue,
                       TRepPage::LeftMarginValue, TRepPage::RightMarginValue}) {
            EXPECT_NEAR(D(page.Value(m)), c.margin, 1e-12) << m;
            EXPECT_NEAR(D(page.NativeValue(m)), c.nativeMargin, 1e-9) << m;
        }
        EXPECT_EQ(D(page.ColumnSpace()), 0);
        EXPECT_NEAR(D(page.NativeValue(TRepPage::WidthValue)), c.width, 1e-9);
        EXPECT_NEAR(D(page.NativeValue(TRepPage::LengthValue)), c.length, 1e-9);
    }
}

TEST(Page, SheetValuesReadInMillimetres) {
    TRepPage page(kUs);
    page.SetUnits(TRepUnit::MM);
    const TRepValues sheet = {100.0L, 2970.0L, 100.0L, 2100.0L, 100.0L, 100.0L, 0.0L};
    page.ReadValues(sheet);
    struct Case { TRepPage::TRepPageValue index; double mm; };
    const Case cases[] = {
        {TRepPage::BottomMarginValue, 10}, {TRepPage::LengthValue, 297},
        {TRepPage::TopMarginValue, 10},    {TRepPage::WidthValue, 210},
        {TRepPage::LeftMarginValue, 10},   {TRepPage::RightMarginValue, 10},
        {TRepPage::ColumnSpaceValue, 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(D(page.Value(c.index)), c.mm, 1e-12) << c.index;
    EXPECT_EQ(page.WriteValues(), sheet);
}

TEST(Page, ValuesListOfOtherLengths) {
    TRepPage page(kMetric);
    const TRepValues before = page.WriteValues();
    page.ReadValues({5, 6});  // the rest keep their values
    TRepValues expected = before;
    expected[0] = 5;
    expected[1] = 6;
    EXPECT_EQ(page.WriteValues(), expected);
    page.ReadValues({1, 2, 3, 4, 5, 6, 7, 8, 9});  // entries beyond the seven are dropped
    EXPECT_EQ(page.WriteValues(), (TRepValues{1, 2, 3, 4, 5, 6, 7}));
}

TEST(Page, PaperLengthsOnlyUnderCustom) {
    struct Case { TRepPaperSize paper; bool accepted; };
    const Case cases[] = {
        {TRepPaperSize::A4, false},
        {TRepPaperSize::Letter, false},
        {TRepPaperSize::Default, false},
        {TRepPaperSize::Custom, true},
    };
    for (const auto& c : cases) {
        TRepPage page(kMetric);
        page.SetPaperSize(c.paper);
        const long double width = page.NativeValue(TRepPage::WidthValue);
        const long double length = page.NativeValue(TRepPage::LengthValue);
        page.SetLength(123);
        page.SetWidth(45);
        if (c.accepted) {
            EXPECT_NEAR(D(page.NativeValue(TRepPage::LengthValue)), 1230, 1e-9);
            EXPECT_NEAR(D(page.NativeValue(TRepPage::WidthValue)), 450, 1e-9);
        } else {
            EXPECT_EQ(page.NativeValue(TRepPage::LengthValue), length) << int(c.paper);
            EXPECT_EQ(page.NativeValue(TRepPage::WidthValue), width) << int(c.paper);
        }
    }
}

TEST(Page, PaperSizeAndOrientation) {
    struct Case {
        TRepPaperSize paper;
        TRepOrientation orientation;
        bool orientationFirst;
        double widthMm, lengthMm;
    };
    const Case cases[] = {
        {TRepPaperSize::A4, TRepOrientation::poLandscape, true, 297, 210},
        {TRepPaperSize::A4, TRepOrientation::poLandscape, false, 297, 210},
        {TRepPaperSize::A4, TRepOrientation::poPortrait, false, 210, 297},
        {TRepPaperSize::Ledger, TRepOrientation::poPortrait, false, 431.8, 279.4},
        {TRepPaperSize::Note, TRepOrientation::poLandscape, false, 279.0, 215.9},
        {TRepPaperSize::Env9, TRepOrientation::poPortrait, false, 98.43, 225.4},
        {TRepPaperSize::CSheet, TRepOrientation::poLandscape, true, 100, 100},
    };
    for (const auto& c : cases) {
        TRepPage page(kUs);  // works in inches; the paper is set in millimetres
        if (c.orientationFirst) page.SetOrientation(c.orientation);
        page.SetPaperSize(c.paper);
        if (!c.orientationFirst) page.SetOrientation(c.orientation);
        EXPECT_EQ(page.PaperSize(), c.paper);
        EXPECT_EQ(page.Units(), TRepUnit::Inches);
        page.SetUnits(TRepUnit::MM);
        EXPECT_NEAR(D(page.Width()), c.widthMm, 1e-9) << int(c.paper);
        EXPECT_NEAR(D(page.Length()), c.lengthMm, 1e-9) << int(c.paper);
    }
}

TEST(Page, OrientationSwapsNothingUnderCustomOrDefault) {
    for (auto paper : {TRepPaperSize::Custom, TRepPaperSize::Default}) {
        TRepPage page(kMetric);
        page.SetPaperSize(TRepPaperSize::Custom);
        page.SetWidth(100);
        page.SetLength(50);
        page.SetPaperSize(paper);
        page.SetOrientation(TRepOrientation::poLandscape);
        EXPECT_NEAR(D(page.Width()), 100, 1e-12);
        EXPECT_NEAR(D(page.Length()), 50, 1e-12);
        EXPECT_EQ(page.PaperSize(), paper);
    }
}

// The relayout hook of a report may switch units itself while the paper is being set.
TEST(Page, PaperSizeRestoresUnitsWhateverTheHookDoes) {
    RecordingReport report;
    TRepPage page(kUs);
    page.SetParentReport(&report);
    std::vector<TRepUnit> seen;
    report.onRelayout = [&] {
        seen.push_back(page.Units());
        page.SaveUnits();
        page.RestoreUnits();
    };
    page.SetPaperSize(TRepPaperSize::A3);
    EXPECT_EQ(page.Units(), TRepUnit::Inches);
    EXPECT_EQ(page.PaperSize(), TRepPaperSize::A3);
    EXPECT_NEAR(D(page.NativeValue(TRepPage::WidthValue)), 2970, 1e-9);
    EXPECT_NEAR(D(page.NativeValue(TRepPage::LengthValue)), 4200, 1e-9);
    // Width and length are set in millimetres, then the report is laid out once more.
    EXPECT_EQ(seen, (std::vector<TRepUnit>{TRepUnit::MM, TRepUnit::MM, TRepUnit::Inches}));
}

TEST(Page, LengthsInTheCurrentUnits) {
    struct Case { TRepUnit units; long double value; double native; };
    const Case cases[] = {
        {TRepUnit::Inches, 0.5L, 127},
        {TRepUnit::MM, 12.5L, 125},
        {TRepUnit::Native, 33.25L, 33.25},
        {TRepUnit::Pixels, 570, 1508.125},
    };
    for (const auto& c : cases) {
        TRepPage page(kMetric);
        page.SetUnits(c.units);
        page.SetLeftMargin(c.value);
        EXPECT_NEAR(D(page.NativeValue(TRepPage::LeftMarginValue)), c.native, 1e-9);
        EXPECT_NEAR(D(page.LeftMargin()), D(c.value), 1e-12);
    }
}

TEST(Page, ColumnsIgnoresNonPositiveAndUnchanged) {
    struct Case { int value; int expected; int hooks; };
    const Case cases[] = {{0, 1, 0}, {-1, 1, 0}, {1, 1, 0}, {3, 3, 1}};
    for (const auto& c : cases) {
        RecordingReport report;
        TRepPage page(kMetric);
        page.SetParentReport(&report);
        page.SetColumns(c.value);
        EXPECT_EQ(page.Columns(), c.expected) << c.value;
        EXPECT_EQ(report.relayouts, c.hooks) << c.value;
        EXPECT_EQ(report.repaints, c.hooks) << c.value;
    }
}

TEST(Page, WhatEachLengthTellsTheReport) {
    struct Case {
        TRepPage::TRepPageValue index;
        int pushes, relayouts, repaints;
    };
    const Case cases[] = {
        {TRepPage::BottomMarginValue, 1, 1, 0}, {TRepPage::LengthValue, 1, 1, 0},
        {TRepPage::WidthValue, 1, 1, 0},        {TRepPage::TopMarginValue, 0, 1, 1},
        {TRepPage::LeftMarginValue, 0, 1, 1},   {TRepPage::RightMarginValue, 0, 1, 1},
        {TRepPage::ColumnSpaceValue, 0, 1, 1},
    };
    for (const auto& c : cases) {
        RecordingReport report;
        TRepPage page(kMetric);
        page.SetPaperSize(TRepPaperSize::Custom);
        RecordingOwner control(&page);
        page.SetOwner(&control);
        page.SetParentReport(&report);
        page.SetValue(c.index, 20);
        EXPECT_EQ(static_cast<int>(control.pushes.size()), c.pushes) << c.index;
        EXPECT_EQ(report.relayouts, c.relayouts) << c.index;
        EXPECT_EQ(report.repaints, c.repaints) << c.index;
    }
}

TEST(Page, ReportPixelSizeFollowsPaperResolutionAndZoom) {
    struct Case { int resolution; int zoom; TRepOrientation orientation; int width, height; };
    const Case cases[] = {
        {96, 100, TRepOrientation::poPortrait, 794, 1123},
        {96, 100, TRepOrientation::poLandscape, 1123, 794},
        {96, 50, TRepOrientation::poPortrait, 397, 561},
        {120, 100, TRepOrientation::poPortrait, 992, 1403},
    };
    for (const auto& c : cases) {
        TRepPage page({c.resolution, false});
        RecordingOwner report(&page, {7, 9, 0, 0});
        page.SetOwner(&report);
        page.SetZoom(c.zoom);
        page.SetOrientation(c.orientation);
        page.SetParentSizes();
        ASSERT_FALSE(report.pushes.empty());
        EXPECT_EQ(report.pushes.back(), (TRepBounds{7, 9, c.width, c.height}));
        for (bool own : report.flaggedAsOwn) EXPECT_TRUE(own);
        EXPECT_FALSE(page.ParentUpdating());
    }
}

TEST(Page, LoadedPushesTheStoredValues) {
    TRepPage page({120, false});
    RecordingOwner report(&page);
    page.SetOwner(&report);
    page.ReadValues({100, 2970, 100, 2100, 100, 100, 0});
    EXPECT_TRUE(report.pushes.empty());
    page.Loaded();
    ASSERT_EQ(report.pushes.size(), 1u);
    EXPECT_EQ(report.pushes[0], (TRepBounds{0, 0, 992, 1403}));
}

TEST(Page, RulerChangeRepaintsAndReappliesUnits) {
    RecordingReport report;
    TRepPage page(kMetric);
    page.SetParentReport(&report);
    page.SetRuler(true);
    EXPECT_EQ(report.repaints + report.unitReapplies, 0);
    page.SetRuler(false);
    EXPECT_FALSE(page.Ruler());
    EXPECT_EQ(report.repaints, 1);
    EXPECT_EQ(report.unitReapplies, 1);
}

TEST(Page, ZoomOutsideTheReportRangeIsIgnored) {
    struct Case { int zoom; bool report; bool size; };
    const Case cases[] = {
        {0, false, false}, {-5, false, false}, {301, false, true},
        {1, true, true},   {300, true, true},  {150, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReportZoomAccepted(c.zoom), c.report) << c.zoom;
        TRepPage page(kMetric);
        page.SetZoom(c.zoom);
        EXPECT_EQ(page.Zoom(), c.size ? c.zoom : 100) << c.zoom;
    }
}

TEST(Page, SaveAndRestoreUnits) {
    TRepPage page(kMetric);
    page.SetUnits(TRepUnit::Inches);
    page.SaveUnits();
    EXPECT_EQ(page.Units(), TRepUnit::Pixels);
    EXPECT_EQ(page.SavedUnits(), TRepUnit::Inches);
    page.RestoreUnits();
    EXPECT_EQ(page.Units(), TRepUnit::Inches);
}

TEST(Page, NonPositiveResolutionTakesTheStandardScreen) {
    TRepPage page({0, false});
    EXPECT_EQ(page.Resolution(), ScreenPixelsPerInch);
}

}  // namespace
