#include "report/model/frame.h"

#include <gtest/gtest.h>

#include <vector>

#include "report/model/system_display.h"
#include "report/model/units.h"
#include "ui/handles.h"

namespace {

using namespace rep;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A white 32-bit bitmap in a memory context, readable pixel by pixel.
class Canvas {
public:
    Canvas(int w, int h) : w_(w) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_.reset(CreateCompatibleDC(nullptr));
        bmp_.reset(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits_, nullptr, 0));
        old_ = SelectObject(dc_.get(), bmp_.get());
        const RECT all{0, 0, w, h};
        FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        GdiFlush();
    }
    ~Canvas() { SelectObject(dc_.get(), old_); }
    HDC dc() const { return dc_.get(); }
    COLORREF at(int x, int y) const {
        GdiFlush();
        const DWORD px = static_cast<const DWORD*>(bits_)[y * w_ + x];
        return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
    }

private:
    int w_;
    ui::MemoryDC dc_;
    ui::BitmapHandle bmp_;
    void* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TRepFrame& AllSides(TRepFrame& f) {
    f.SetDrawTop(true);
    f.SetDrawBottom(true);
    f.SetDrawLeft(true);
    f.SetDrawRight(true);
    return f;
}

// A 1-point frame at 600 dpi is 8 device pixels thick (600 / 72 = 8.33).
TEST(FrameDraw, SidesAtPrinterResolution) {
    Canvas c(200, 200);
    TRepFrame frame;
    AllSides(frame).SetColor(0x0000FF);  // red
    const RECT r{10, 20, 110, 170};
    frame.Draw(c.dc(), r, DeviceFactor(600), DeviceFactor(600));

    struct Probe { int x, y; COLORREF expected; };
    const Probe probes[] = {
        {60, 20, kRed},   {60, 27, kRed},   {60, 28, kWhite},   // top
        {60, 169, kRed},  {60, 162, kRed},  {60, 161, kWhite},  // bottom
        {10, 90, kRed},   {17, 90, kRed},   {18, 90, kWhite},   // left
        {109, 90, kRed},  {102, 90, kRed},  {101, 90, kWhite},  // right
        {60, 19, kWhite}, {60, 170, kWhite}, {9, 90, kWhite}, {110, 90, kWhite},  // outside
        {60, 90, kWhite},  // inside
    };
    for (const auto& p : probes)
        EXPECT_EQ(c.at(p.x, p.y), p.expected) << p.x << "," << p.y;
}

TEST(FrameDraw, OnlyEnabledSidesAndBrushLeftClear) {
    Canvas c(100, 100);
    TRepFrame frame;
    frame.SetDrawBottom(true);
    frame.SetWidth(3);
    const RECT r{0, 0, 100, 100};
    frame.Draw(c.dc(), r, DeviceFactor(96), DeviceFactor(96));  // 3 pt at 96 dpi = 4 px
    EXPECT_EQ(c.at(50, 95), kWhite);
    EXPECT_EQ(c.at(50, 96), RGB(0, 0, 0));
    EXPECT_EQ(c.at(50, 99), RGB(0, 0, 0));
    EXPECT_EQ(c.at(0, 50), kWhite);
    EXPECT_EQ(c.at(50, 0), kWhite);
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
}

// Fill records of a metafile as rectangles, right and bottom exclusive.
int CALLBACK CollectFills(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM p) {
    auto& out = *reinterpret_cast<std::vector<RECT>*>(p);
    if (rec->iType == EMR_BITBLT) {
        const auto* b = reinterpret_cast<const EMRBITBLT*>(rec);
        out.push_back({b->xDest, b->yDest, b->xDest + b->cxDest, b->yDest + b->cyDest});
    } else if (rec->iType == EMR_FILLRGN || rec->iType == EMR_PAINTRGN) {
        const RECTL& r = reinterpret_cast<const EMRFILLRGN*>(rec)->rclBounds;
        out.push_back({r.left, r.top, r.right + 1, r.bottom + 1});
    }
    return 1;
}

// The sides reach a metafile as four fills, top, bottom, left, right.
TEST(FrameDraw, MetafileRecordsInDrawingOrder) {
    HDC ref = GetDC(nullptr);
    HDC dc = CreateEnhMetaFileW(ref, nullptr, nullptr, nullptr);
    ReleaseDC(nullptr, ref);
    ASSERT_NE(dc, nullptr);
    TRepFrame frame;
    AllSides(frame);
    const RECT r{100, 200, 500, 900};
    frame.Draw(dc, r, DeviceFactor(600), DeviceFactor(300));  // 8 px across, 4 px down
    ui::EnhMetaFile emf(CloseEnhMetaFile(dc));
    ASSERT_TRUE(emf);

    std::vector<RECT> fills;
    EnumEnhMetaFile(nullptr, emf.get(), CollectFills, &fills, nullptr);

    const RECT expected[] = {
        {100, 200, 500, 204}, {100, 896, 500, 900}, {100, 200, 108, 900}, {492, 200, 500, 900}};
    ASSERT_EQ(fills.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(fills[i].left, expected[i].left) << i;
        EXPECT_EQ(fills[i].top, expected[i].top) << i;
        EXPECT_EQ(fills[i].right, expected[i].right) << i;
        EXPECT_EQ(fills[i].bottom, expected[i].bottom) << i;
    }
}

TEST(SystemDisplay, ScreenAndLocale) {
    const TRepDisplay d = SystemDisplay();
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(d.Resolution, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    wchar_t measure[4] = {};
    ASSERT_GT(GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IMEASURE, measure, 4), 0);
    EXPECT_EQ(d.UsMeasurement, measure == std::wstring(L"1"));
}

}  // namespace
