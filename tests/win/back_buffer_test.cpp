// The shared off-screen bitmap: it grows to the largest size asked for in each direction,
// and each use starts from a clean context whatever the last one left in it.
#include <gtest/gtest.h>
#include <windows.h>

#include "ui/back_buffer.h"
#include "ui/handles.h"

TEST(BackBuffer, GrowsToTheLargestSizeAndEachUseStartsClean) {
    HDC screen = GetDC(nullptr);
    ui::BackBuffer buffer;
    {
        ui::BackBuffer::Use use(buffer, screen, 100, 50);
        ASSERT_NE(use.dc(), nullptr);
        SetViewportOrgEx(use.dc(), -30, -20, nullptr);
        IntersectClipRect(use.dc(), 0, 0, 1, 1);
        SelectObject(use.dc(), GetStockObject(BLACK_BRUSH));
    }
    {
        ui::BackBuffer::Use use(buffer, screen, 40, 200);
        ASSERT_NE(use.dc(), nullptr);
        EXPECT_EQ(buffer.width(), 100);
        EXPECT_EQ(buffer.height(), 200);
        POINT origin{1, 1};
        GetViewportOrgEx(use.dc(), &origin);
        EXPECT_EQ(origin.x, 0);
        EXPECT_EQ(origin.y, 0);
        EXPECT_EQ(GetCurrentObject(use.dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
        // The whole bitmap is drawn on: no clip left over.
        const RECT all{0, 0, 100, 200};
        FillRect(use.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EXPECT_EQ(GetPixel(use.dc(), 99, 199), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(use.dc(), 50, 100), RGB(0, 0, 0));
    }
    {
        // Smaller: the same bitmap, with what was drawn on it.
        ui::BackBuffer::Use use(buffer, screen, 10, 10);
        EXPECT_EQ(buffer.width(), 100);
        EXPECT_EQ(GetPixel(use.dc(), 5, 5), RGB(0, 0, 0));
    }
    ui::BackBuffer::Use none(buffer, screen, 0, 10);
    EXPECT_EQ(none.dc(), nullptr);
    ReleaseDC(nullptr, screen);
}
