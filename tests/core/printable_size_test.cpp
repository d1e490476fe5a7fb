#include "report/model/band_size.h"
#include "report/model/printable_size.h"

#include <gtest/gtest.h>

#include "tests/core/geometry_fakes.h"

namespace {

using namespace rep;
using geometry_test::RecordingOwner;
using geometry_test::RecordingReport;

double D(long double v) { return static_cast<double>(v); }

// A printable whose bounds setter follows its stored rectangle, as printables do.
class Printable : public TRepSizeOwner {
public:
    explicit Printable(int resolution) : size({resolution, false}) { size.SetOwner(this); }
    TRepBounds PixelBounds() const override { return bounds; }
    void SetPixelBounds(const TRepBounds& b) override {
        if (size.ParentUpdating())
            bounds = b;
        else
            size.ApplyPixelBounds(b);
    }
    TRepPrintableSize size;
    TRepBounds bounds;
};

TEST(PrintableSize, PixelPositionsBecomeNativeValues) {
    struct Case { int left; double native; };
    const Case cases[] = {{570, 1508.125}, {355, 939.271}, {0, 0}, {-10, -26.458}};
    for (const auto& c : cases) {
        Printable p(96);
        p.SetPixelBounds({c.left, 0, 0, 0});
        EXPECT_NEAR(D(p.size.NativeValue(TRepPrintableSize::LeftValue)), c.native, 5e-4) << c.left;
        EXPECT_EQ(p.bounds.Left, c.left);
        EXPECT_EQ(p.size.Units(), TRepUnit::MM);  // switched to pixels only for the call
    }
}

TEST(PrintableSize, StoredRectangleAtAnotherResolution) {
    Printable at96(96);
    at96.SetPixelBounds({355, 100, 200, 17});
    const TRepValues values = at96.size.WriteValues();

    struct Case { int resolution; TRepBounds pixels; };
    const Case cases[] = {
        {96, {355, 100, 200, 17}},
        {120, {444, 125, 250, 21}},  // 443.75 -> 444, 21.25 -> 21
        {192, {710, 200, 400, 34}},
    };
    for (const auto& c : cases) {
        Printable p(c.resolution);
        p.size.ReadValues(values);
        p.size.Loaded();
        EXPECT_EQ(p.bounds, c.pixels) << c.resolution;
    }
}

TEST(PrintableSize, ValuesOrderIsHeightLeftTopWidth) {
    TRepPrintableSize size({96, false});
    size.SetUnits(TRepUnit::Native);
    size.ReadValues({1, 2, 3, 4});
    EXPECT_EQ(D(size.Height()), 1);
    EXPECT_EQ(D(size.Left()), 2);
    EXPECT_EQ(D(size.Top()), 3);
    EXPECT_EQ(D(size.Width()), 4);
    EXPECT_EQ(size.WriteValues(), (TRepValues{1, 2, 3, 4}));
}

TEST(PrintableSize, OnlyChangedCoordinatesAreStored) {
    Printable p(96);
    p.SetPixelBounds({355, 100, 50, 18});
    const TRepValues before = p.size.WriteValues();

    p.SetPixelBounds({365, 100, 50, 18});  // a print offset of +10 px
    TRepValues after = p.size.WriteValues();
    EXPECT_NEAR(D(after[TRepPrintableSize::LeftValue] - before[TRepPrintableSize::LeftValue]),
                26.458, 5e-4);
    for (auto i : {TRepPrintableSize::HeightValue, TRepPrintableSize::TopValue,
                   TRepPrintableSize::WidthValue})
        EXPECT_EQ(after[i], before[i]) << i;

    p.SetPixelBounds({355, 100, 50, 18});
    EXPECT_EQ(p.bounds, (TRepBounds{355, 100, 50, 18}));
    EXPECT_NEAR(D(p.size.NativeValue(TRepPrintableSize::LeftValue)),
                D(before[TRepPrintableSize::LeftValue]), 1e-12);
}

// At 120 dpi a stored left of 443.75 px shows as 444; asking for 444 stores 444 exactly.
TEST(PrintableSize, PixelValueDifferingFromTheFractionalStoredValueIsStored) {
    Printable p(120);
    p.size.ReadValues({0, PixelsToNative(355, 96, 100), 0, 0});
    p.size.Loaded();
    ASSERT_EQ(p.bounds.Left, 444);
    p.SetPixelBounds(p.bounds);
    EXPECT_NEAR(D(p.size.NativeValue(TRepPrintableSize::LeftValue)),
                D(PixelsToNative(444, 120, 100)), 1e-9);
}

TEST(PrintableSize, ZoomChangesPixelsNotStoredValues) {
    struct Case { int zoom; TRepBounds pixels; };
    const Case cases[] = {{100, {100, 40, 60, 20}}, {200, {200, 80, 120, 40}}, {50, {50, 20, 30, 10}}};
    for (const auto& c : cases) {
        Printable p(96);
        p.SetPixelBounds({100, 40, 60, 20});
        const TRepValues stored = p.size.WriteValues();
        p.size.SetZoom(c.zoom);
        p.size.SetParentSizes();
        EXPECT_EQ(p.bounds, c.pixels) << c.zoom;
        EXPECT_EQ(p.size.WriteValues(), stored);
    }
}

TEST(PrintableSize, CharactersUseTheReportFont) {
    struct Case { int fontSize; bool attached; double nativePerChar; };
    const Case cases[] = {
        {10, true, 800.0 / 10 / 2.54},
        {20, true, 800.0 / 20 / 2.54},
        {-20, true, 800.0 / 20 / 2.54},  // the absolute size counts
        {20, false, 800.0 / DefaultReportFontSize / 2.54},
    };
    for (const auto& c : cases) {
        RecordingReport report;
        report.fontSize = c.fontSize;
        TRepPrintableSize size({96, false});
        if (c.attached) size.SetParentReport(&report);
        size.SetUnits(TRepUnit::Characters);
        size.SetLeft(3);
        EXPECT_NEAR(D(size.NativeValue(TRepPrintableSize::LeftValue)), 3 * c.nativePerChar, 1e-9);
        EXPECT_NEAR(D(size.Left()), 3, 1e-12);
    }
}

TEST(PrintableSize, EverySetterPushesAllFourBounds) {
    TRepPrintableSize size({96, false});
    RecordingOwner owner(&size);
    size.SetOwner(&owner);
    size.SetUnits(TRepUnit::Pixels);
    size.SetWidth(80);
    size.SetHeight(16);
    ASSERT_EQ(owner.pushes.size(), 2u);
    EXPECT_EQ(owner.pushes[1], (TRepBounds{0, 0, 80, 16}));
    EXPECT_EQ(owner.flaggedAsOwn, (std::vector<bool>{true, true}));
}

TEST(BandSize, PushesWidthAndHeightKeepsPosition) {
    TRepBandSize size({96, false});
    RecordingOwner band(&size, {12, 345, 1, 1});
    size.SetOwner(&band);
    size.ReadValues({100, 1900});  // Height, Width
    size.Loaded();
    ASSERT_EQ(band.pushes.size(), 1u);
    EXPECT_EQ(band.pushes[0], (TRepBounds{12, 345, 718, 38}));
    EXPECT_TRUE(band.flaggedAsOwn[0]);
    EXPECT_FALSE(size.ParentUpdating());
    size.SetUnits(TRepUnit::MM);
    EXPECT_NEAR(D(size.Height()), 10, 1e-12);
    EXPECT_NEAR(D(size.Width()), 190, 1e-12);
    size.SetHeight(20);
    EXPECT_EQ(band.pushes.back(), (TRepBounds{12, 345, 718, 76}));
    EXPECT_EQ(size.WriteValues(), (TRepValues{200, 1900}));
}

}  // namespace
