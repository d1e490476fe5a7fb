#include "report/model/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using namespace rep;

TEST(RoundEven, NearestWithHalvesToEven) {
    struct Case { long double x; long expected; };
    const Case cases[] = {
        {0.0L, 0},    {0.5L, 0},     {1.5L, 2},     {2.5L, 2},     {3.5L, 4},
        {-0.5L, 0},   {-1.5L, -2},   {-2.5L, -2},   {2.4999L, 2},  {2.5001L, 3},
        {443.75L, 444}, {793.7L, 794}, {-7.6L, -8},
        {1e30L, std::numeric_limits<std::int32_t>::max()},
        {-1e30L, std::numeric_limits<std::int32_t>::min()},
        {HUGE_VALL, std::numeric_limits<std::int32_t>::max()},
        {std::numeric_limits<long double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundEven(c.x), c.expected) << static_cast<double>(c.x);
}

// The engine's arithmetic needs the 64-bit mantissa of the x87 extended type;
// a runtime that left the FPU at double precision would fail here.
TEST(Units, ExtendedPrecisionArithmetic) {
    if (std::numeric_limits<long double>::digits != 64) GTEST_SKIP() << "long double is not x87 extended";
    volatile long double one = 1.0L;
    volatile long double tiny = std::numeric_limits<long double>::epsilon();
    EXPECT_NE(one + tiny, one);
    volatile long double third = one / 3.0L;
    EXPECT_NE(static_cast<double>(third), third);
}

TEST(Units, EnumerationOrdinals) {
    EXPECT_EQ(static_cast<int>(TRepUnit::MM), 0);
    EXPECT_EQ(static_cast<int>(TRepUnit::Pixels), 2);
    EXPECT_EQ(static_cast<int>(TRepUnit::Native), 4);
    EXPECT_EQ(static_cast<int>(TRepPaperSize::A4), 9);
    EXPECT_EQ(static_cast<int>(TRepPaperSize::Note), 18);
    EXPECT_EQ(static_cast<int>(TRepPaperSize::ESheet), 26);
    EXPECT_EQ(static_cast<int>(TRepPaperSize::Custom), PaperSizeCount - 1);
    EXPECT_EQ(static_cast<int>(TRepBin::Last), BinCount - 1);
}

TEST(Units, PrintablePixelPositionsAtTheScreen) {
    // Report pixels -> stored native value at 96 dpi, zoom 100.
    EXPECT_NEAR(static_cast<double>(PixelsToNative(570, 96, 100)), 1508.125, 1e-12);
    const long double left355 = ToNative(TRepUnit::Pixels, true, 355, 96, 100, 10);
    EXPECT_NEAR(static_cast<double>(left355), 939.271, 5e-4);
    // The same stored value on a 120-dpi display.
    const long double px = FromNative(TRepUnit::Pixels, true, left355, 120, 100, 10);
    EXPECT_NEAR(static_cast<double>(px), 443.75, 1e-12);
    EXPECT_EQ(RoundEven(px), 444);
    // A sheet's print offset of +10 px.
    EXPECT_NEAR(static_cast<double>(PixelsToNative(10, 96, 100)), 26.458, 5e-4);
    EXPECT_EQ(RoundEven(NativeToPixels(PixelsToNative(570 + 10, 96, 100) - PixelsToNative(10, 96, 100), 96, 100)), 570);
}

TEST(Units, A4InScreenPixels) {
    EXPECT_NEAR(static_cast<double>(NativeToPixels(2100, 96, 100)), 793.7, 0.05);
    EXPECT_NEAR(static_cast<double>(NativeToPixels(2970, 96, 100)), 1122.5, 0.05);
    EXPECT_EQ(RoundEven(NativeToPixels(2100, 96, 100)), 794);
    EXPECT_EQ(RoundEven(NativeToPixels(2970, 96, 100)), 1123);
    // Zoom scales pixels, never the stored value.
    EXPECT_NEAR(static_cast<double>(NativeToPixels(2100, 96, 50)), 396.85, 0.01);
    EXPECT_NEAR(static_cast<double>(PixelsToNative(396.85L, 96, 50)), 2100, 0.01);
}

TEST(Units, SheetValuesInMillimetresAndInches) {
    struct Case { long double native; TRepUnit unit; long double value; };
    const Case cases[] = {
        {100, TRepUnit::MM, 10},   {2970, TRepUnit::MM, 297},    {2100, TRepUnit::MM, 210},
        {127, TRepUnit::Inches, 0.5L}, {254, TRepUnit::Inches, 1}, {2159, TRepUnit::Inches, 8.5L},
        {123.25L, TRepUnit::Native, 123.25L},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(static_cast<double>(FromNative(c.unit, true, c.native, 96, 100, 10)),
                    static_cast<double>(c.value), 1e-12);
        EXPECT_NEAR(static_cast<double>(ToNative(c.unit, false, c.value, 96, 100, 10)),
                    static_cast<double>(c.native), 1e-12);
    }
}

TEST(Units, CharacterCells) {
    // A 10-point cell is 8 ÷ 2.54 mm wide and 14.53 ÷ 2.54 mm high.
    EXPECT_NEAR(static_cast<double>(ToNative(TRepUnit::Characters, true, 1, 96, 100, 10)),
                80.0 / 2.54, 1e-12);
    EXPECT_NEAR(static_cast<double>(ToNative(TRepUnit::Characters, false, 1, 96, 100, 10)),
                145.3 / 2.54, 1e-12);
    // Half the size, half the cell; the sign of the size does not count.
    EXPECT_NEAR(static_cast<double>(ToNative(TRepUnit::Characters, true, 1, 96, 100, 20)),
                40.0 / 2.54, 1e-12);
    EXPECT_NEAR(static_cast<double>(ToNative(TRepUnit::Characters, true, 1, 96, 100, -20)),
                40.0 / 2.54, 1e-12);
    EXPECT_EQ(ToNative(TRepUnit::Characters, true, 3, 96, 100, 0), 0);
    EXPECT_EQ(FromNative(TRepUnit::Characters, false, 300, 96, 100, 0), 0);
}

TEST(Units, EveryUnitRoundTrips) {
    const TRepUnit units[] = {TRepUnit::MM, TRepUnit::Inches, TRepUnit::Pixels,
                              TRepUnit::Characters, TRepUnit::Native};
    const long double values[] = {0, 1, 939.271L, 2970, -26.5L};
    for (TRepUnit u : units)
        for (bool horizontal : {true, false})
            for (long double v : values) {
                const long double there = FromNative(u, horizontal, v, 120, 75, 11);
                const long double back = ToNative(u, horizontal, there, 120, 75, 11);
                EXPECT_NEAR(static_cast<double>(back), static_cast<double>(v), 1e-9)
                    << static_cast<int>(u) << ' ' << horizontal;
            }
}

TEST(Units, DeviceConversions) {
    const long double f300 = DeviceFactor(300);
    EXPECT_NEAR(static_cast<double>(NativeToDevice(2100, f300)), 2480.3, 0.05);
    EXPECT_NEAR(static_cast<double>(DeviceToNative(2479, f300)), 2098.9, 0.05);
    EXPECT_EQ(RoundEven(DotsToNative(3508, 300)), 2970);
    EXPECT_EQ(RoundEven(DotsToNative(2479, 300)), 2099);
    EXPECT_NEAR(static_cast<double>(PointsToNative(72)), 254, 1e-12);
    EXPECT_NEAR(static_cast<double>(PointsToNative(10)), 35.2777777, 1e-6);
}

TEST(Units, FrameThicknessOnDevices) {
    struct Case { int dpi; long double width; long expected; };
    const Case cases[] = {
        {600, 1, 8},    // 8.33
        {300, 1, 4},    // 4.17
        {96, 1, 1},     // 1.33
        {96, 3, 4},     // 4
        {144, 1, 2},    // exactly 2
        {108, 1, 2},    // 1.5: the even neighbour
        {180, 1, 2},    // 2.5: the even neighbour
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundEven(PointsToDevice(c.width, DeviceFactor(c.dpi))), c.expected) << c.dpi;
}

TEST(Paper, SizesInMillimetres) {
    struct Case { TRepPaperSize size; long double w, l; };
    const Case cases[] = {
        {TRepPaperSize::Letter, 215.9L, 279.4L}, {TRepPaperSize::Ledger, 431.8L, 279.4L},
        {TRepPaperSize::A3, 297, 420},           {TRepPaperSize::A4, 210, 297},
        {TRepPaperSize::A4Small, 210, 297},      {TRepPaperSize::B5, 182, 257},
        {TRepPaperSize::Note, 215.9L, 279.0L},   {TRepPaperSize::Env9, 98.43L, 225.4L},
        {TRepPaperSize::Env14, 127, 292.1L},     {TRepPaperSize::ESheet, 100, 100},
    };
    for (const auto& c : cases) {
        const auto p = PaperSizeMm(c.size, false);
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(p->Width, c.w);
        EXPECT_EQ(p->Length, c.l);
        const auto q = PaperSizeMm(c.size, true);
        EXPECT_EQ(q->Width, c.l);
        EXPECT_EQ(q->Length, c.w);
    }
    EXPECT_EQ(PaperSizeMm(TRepPaperSize::Default, false), std::nullopt);
    EXPECT_EQ(PaperSizeMm(TRepPaperSize::Custom, true), std::nullopt);
    EXPECT_EQ(PaperSizeMm(static_cast<TRepPaperSize>(40), false), std::nullopt);
    EXPECT_EQ(PaperSizesMm().size(), 26u);
}

TEST(Paper, SizesInTenthsOfAMillimetre) {
    struct Case { TRepPaperSize size; long w, l; };
    const Case cases[] = {
        {TRepPaperSize::A4, 2100, 2970},   {TRepPaperSize::Env9, 984, 2254},
        {TRepPaperSize::Note, 2159, 2790}, {TRepPaperSize::Letter, 2159, 2794},
        {TRepPaperSize::Env10, 1048, 2413}, {TRepPaperSize::CSheet, 1000, 1000},
        {TRepPaperSize::DSheet, 1000, 1000},
    };
    for (const auto& c : cases) {
        const auto t = PaperSizeTenths(c.size);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(t->Width, c.w);
        EXPECT_EQ(t->Length, c.l);
    }
    EXPECT_EQ(PaperSizeTenths(TRepPaperSize::Default), std::nullopt);
    EXPECT_EQ(PaperSizeTenths(TRepPaperSize::Custom), std::nullopt);
}

TEST(Paper, DeviceCodes) {
    struct Case { TRepPaperSize size; int code; };
    const Case cases[] = {{TRepPaperSize::Default, 0}, {TRepPaperSize::Letter, 1},
                          {TRepPaperSize::A4, 9},      {TRepPaperSize::Note, 18},
                          {TRepPaperSize::ESheet, 26}, {TRepPaperSize::Custom, 256}};
    for (const auto& c : cases) {
        EXPECT_EQ(PaperCode(c.size), c.code);
        EXPECT_EQ(PaperSizeFromCode(c.code), c.size);
    }
    for (int i = 0; i < PaperSizeCount; ++i) {
        const auto size = static_cast<TRepPaperSize>(i);
        EXPECT_EQ(PaperSizeFromCode(PaperCode(size)), size);
    }
    for (int code : {-1, 27, 41, 255, 257}) EXPECT_EQ(PaperSizeFromCode(code), std::nullopt) << code;
}

TEST(Bins, DeviceCodes) {
    struct Case { TRepBin bin; int code; };
    const Case cases[] = {
        {TRepBin::First, 1},       {TRepBin::Upper, 1},        {TRepBin::Lower, 2},
        {TRepBin::Middle, 3},      {TRepBin::Manual, 4},       {TRepBin::Envelope, 5},
        {TRepBin::EnvManual, 6},   {TRepBin::Auto, 7},         {TRepBin::Tractor, 8},
        {TRepBin::SmallFormat, 9}, {TRepBin::LargeFormat, 10}, {TRepBin::LargeCapacity, 11},
        {TRepBin::Cassette, 14},   {TRepBin::Last, 14},
    };
    for (const auto& c : cases) EXPECT_EQ(BinCode(c.bin), c.code) << static_cast<int>(c.bin);
    // Back from a code: the first bin in table order.
    EXPECT_EQ(BinFromCode(1), TRepBin::First);
    EXPECT_EQ(BinFromCode(14), TRepBin::Cassette);
    EXPECT_EQ(BinFromCode(11), TRepBin::LargeCapacity);
    for (int code : {0, 12, 13, 15, 256}) EXPECT_EQ(BinFromCode(code), std::nullopt) << code;
}

}  // namespace
