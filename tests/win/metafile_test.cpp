// Page pictures recorded with GDI: what their records say, how they play, their bytes.
#include <gtest/gtest.h>

#include <optional>

#include "tests/win/page_pictures.h"
#include "ui/error.h"
#include "ui/metafile.h"

namespace {

using namespace pagetest;

TEST(Metafile, RecordsTextFontsAndFillsAsDrawn) {
    const std::vector<Label> labels = {
        {100, 200, 16, L"Arial", L"Иванов Пётр Сергеевич"},
        {350, 40, 13, L"Arial", L"Приложение к диплому"},
        {20, 1000, 15, L"Times New Roman", L"12.06.2024"},
        {700, 1090, 11, L"Arial", L"5"},
    };
    const std::vector<Fill> fills = {
        {{50, 300, 250, 340}, RGB(0, 0, 255)},
        {{0, 0, 794, 10}, RGB(200, 10, 30)},
    };
    const ui::EnhMetaFile page = RecordPage(labels, fills);
    const PageContent seen = ContentOf(page.get());

    ASSERT_EQ(seen.texts.size(), labels.size());
    ASSERT_EQ(seen.fonts.size(), labels.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen.texts[i].text, labels[i].text);
        EXPECT_EQ(seen.texts[i].reference.x, labels[i].x);
        EXPECT_EQ(seen.texts[i].reference.y, labels[i].y);
        EXPECT_EQ(seen.fonts[i].face, labels[i].face);
        EXPECT_EQ(seen.fonts[i].height, -labels[i].heightPx);
    }
    ASSERT_EQ(seen.rectangles.size(), fills.size());
    for (std::size_t i = 0; i < fills.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen.rectangles[i].box.left, fills[i].box.left);
        EXPECT_EQ(seen.rectangles[i].box.top, fills[i].box.top);
        EXPECT_EQ(seen.rectangles[i].box.right, fills[i].box.right - 1);
        EXPECT_EQ(seen.rectangles[i].box.bottom, fills[i].box.bottom - 1);
        EXPECT_EQ(seen.rectangles[i].brush, fills[i].colour);
    }
}

// A 32-bit white bitmap in a memory DC, to play pictures into.
class Surface {
public:
    Surface(int w, int h) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        select_.emplace(dc_.get(), bitmap_.get());
        RECT all{0, 0, w, h};
        FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    HDC dc() const { return dc_.get(); }
    COLORREF at(int x, int y) const {
        GdiFlush();
        return GetPixel(dc_.get(), x, y);
    }

private:
    ui::MemoryDC dc_;
    ui::BitmapHandle bitmap_;
    std::optional<ui::SelectGuard> select_;
};

TEST(Metafile, PlaysItsFrameOntoTheTarget) {
    // A 200 x 100 page whose top-left quarter is black.
    ui::MetafileRecorder rec(200, 100);
    {
        ui::PenHandle pen(CreatePen(PS_NULL, 0, 0));
        ui::SelectGuard usePen(rec.canvas(), pen.get());
        ui::SelectGuard useBrush(rec.canvas(), GetStockObject(BLACK_BRUSH));
        Rectangle(rec.canvas(), 0, 0, 101, 51);  // a null pen leaves out the right and bottom edge
    }
    const ui::EnhMetaFile page = rec.close();

    struct Case {
        RECT target;
        int x, y;
        bool black;
    };
    const Case cases[] = {
        // Twice the size: the quarter ends at (200, 100).
        {{0, 0, 400, 200}, 5, 5, true},
        {{0, 0, 400, 200}, 195, 95, true},
        {{0, 0, 400, 200}, 205, 95, false},
        {{0, 0, 400, 200}, 195, 105, false},
        {{0, 0, 400, 200}, 395, 195, false},
        // Same size, shifted by (40, 30).
        {{40, 30, 240, 130}, 35, 25, false},
        {{40, 30, 240, 130}, 42, 32, true},
        {{40, 30, 240, 130}, 137, 77, true},
        {{40, 30, 240, 130}, 143, 77, false},
        {{40, 30, 240, 130}, 137, 83, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "target " << c.target.left << "," << c.target.top
                                        << " point " << c.x << "," << c.y);
        Surface s(420, 220);
        ASSERT_TRUE(ui::DrawMetafile(s.dc(), page.get(), c.target));
        EXPECT_EQ(s.at(c.x, c.y), c.black ? RGB(0, 0, 0) : RGB(255, 255, 255));
    }
}

TEST(Metafile, BytesReadBackAsTheSamePicture) {
    const ui::EnhMetaFile page = RecordPage(ReportLabels(1, 20), {{{10, 10, 60, 60}, RGB(1, 2, 3)}});
    const std::vector<std::uint8_t> bytes = ui::EmfBytes(page.get());
    const ui::EnhMetaFile again = ui::EmfFromBytes(bytes);
    EXPECT_EQ(ui::EmfBytes(again.get()), bytes);

    const auto records = ui::EmfRecords(again.get());
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records.front().type, static_cast<DWORD>(EMR_HEADER));
    EXPECT_EQ(records.back().type, static_cast<DWORD>(EMR_EOF));
    const auto header = records.front().as<ENHMETAHEADER>();
    EXPECT_EQ(header.nBytes, bytes.size());
    EXPECT_EQ(header.nRecords, records.size());
    EXPECT_EQ(ContentOf(again.get()).texts.size(), 20u);
}

TEST(Metafile, BytesThatAreNoPictureAreRefused) {
    std::vector<std::uint8_t> good = ui::EmfBytes(RecordPage(ReportLabels(2, 3)).get());
    std::vector<std::uint8_t> noSignature = good;
    noSignature[offsetof(ENHMETAHEADER, dSignature)] ^= 0xFF;
    std::vector<std::uint8_t> notHeader = good;
    notHeader[0] = EMR_EOF;
    std::vector<std::uint8_t> text(200, 'x');

    const std::vector<std::uint8_t>* cases[] = {&noSignature, &notHeader, &text};
    for (const auto* bytes : cases)
        EXPECT_THROW(ui::EmfFromBytes(*bytes), ui::Error);
    EXPECT_THROW(ui::EmfFromBytes(std::vector<std::uint8_t>{}), ui::Error);
}

TEST(Metafile, ARecorderClosesOnce) {
    ui::MetafileRecorder rec(10, 10);
    const ui::EnhMetaFile page = rec.close();
    EXPECT_TRUE(page);
    EXPECT_EQ(rec.canvas(), nullptr);
    EXPECT_THROW(rec.close(), ui::Error);
}

}  // namespace
