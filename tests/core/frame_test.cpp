#include "report/model/frame.h"

#include <gtest/gtest.h>

#include "report/model/units.h"

namespace {

using namespace rep;

TEST(Frame, ThicknessInDevicePixels) {
    struct Case { int dpi; int width; int pixels; };
    const Case cases[] = {
        {600, 1, 8},   // 8.33
        {300, 1, 4},   // 4.17
        {96, 1, 1},    // 1.33
        {96, 3, 4},    // 4.0
        {180, 1, 2},   // 2.5: halves go to the even neighbour
        {252, 1, 4},   // 3.5
        {600, 0, 0},
    };
    for (const auto& c : cases) {
        TRepFrame frame;
        frame.SetWidth(c.width);
        EXPECT_EQ(frame.Thickness(DeviceFactor(c.dpi)), c.pixels) << c.dpi << " dpi, " << c.width;
    }
}

TEST(Frame, SidesInsideTheRectangleInDrawingOrder) {
    const TRepRect r{10, 20, 110, 220};
    struct Case {
        bool top, bottom, left, right;
        std::vector<TRepRect> sides;
    };
    // 600 dpi across (8 px), 300 dpi down (4 px).
    const Case cases[] = {
        {false, false, false, false, {}},
        {true, true, true, true,
         {{10, 20, 110, 24}, {10, 216, 110, 220}, {10, 20, 18, 220}, {102, 20, 110, 220}}},
        {false, true, false, true, {{10, 216, 110, 220}, {102, 20, 110, 220}}},
        {true, false, true, false, {{10, 20, 110, 24}, {10, 20, 18, 220}}},
    };
    for (const auto& c : cases) {
        TRepFrame frame;
        frame.SetDrawTop(c.top);
        frame.SetDrawBottom(c.bottom);
        frame.SetDrawLeft(c.left);
        frame.SetDrawRight(c.right);
        EXPECT_EQ(frame.AnyFrame(), !c.sides.empty());
        EXPECT_EQ(frame.Sides(r, DeviceFactor(600), DeviceFactor(300)), c.sides);
    }
}

TEST(Frame, EveryChangeRepaintsTheOwner) {
    int repaints = 0;
    TRepFrame frame([&] { ++repaints; });
    EXPECT_EQ(frame.Width(), 1);
    EXPECT_EQ(frame.Style(), TRepPenStyle::psSolid);
    EXPECT_EQ(frame.Color(), clBlack);
    EXPECT_FALSE(frame.AnyFrame());
    frame.SetDrawLeft(true);
    frame.SetWidth(2);
    frame.SetColor(0x0000FF);
    frame.SetStyle(TRepPenStyle::psDot);
    EXPECT_EQ(repaints, 4);
    frame.ReadMode(3);  // legacy property: read and dropped
    EXPECT_EQ(repaints, 4);

    TRepFrame copy;
    copy.Assign(frame);
    EXPECT_TRUE(copy.DrawLeft());
    EXPECT_EQ(copy.Width(), 2);
    EXPECT_EQ(copy.Color(), 0x0000FFu);
    EXPECT_EQ(copy.Style(), TRepPenStyle::psDot);
    frame.Assign(copy);
    EXPECT_EQ(repaints, 5);
}

}  // namespace
