#pragma once
// Enhanced-metafile byte images for tests, fuzz seeds and benchmarks: well formed as
// far as the page store checks, built without the platform's graphics.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace emftest {

enum : std::uint32_t {
    kEmrHeader = 1,
    kEmrEof = 14,
    kEmrSetBkMode = 18,
    kEmrSetTextAlign = 22,
    kEmrSetTextColor = 24,
    kEmrSaveDc = 33,
    kEmrSelectObject = 37,
    kEmrCreateBrushIndirect = 39,
    kEmrDeleteObject = 40,
    kEmrRectangle = 43,
    kEmrGdiComment = 70,
    kEmrExtCreateFontIndirectW = 82,
    kEmrExtTextOutW = 84,
};

class EmfBuilder {
public:
    EmfBuilder(std::int32_t widthPx = 794, std::int32_t heightPx = 1123) {
        Begin(kEmrHeader);
        for (std::int32_t v : {0, 0, widthPx - 1, heightPx - 1})  // rclBounds
            U32(static_cast<std::uint32_t>(v));
        for (std::int32_t v : {0, 0, 21000 - 1, 29700 - 1})  // rclFrame, 0.01 mm
            U32(static_cast<std::uint32_t>(v));
        U32(0x464D4520);  // signature
        U32(0x10000);     // version
        U32(0);           // nBytes, set by Finish
        U32(0);           // nRecords, set by Finish
        U32(1);           // nHandles (u16) + reserved
        U32(0);           // nDescription
        U32(0);           // offDescription
        U32(0);           // nPalEntries
        U32(1024);        // szlDevice
        U32(768);
        U32(320);  // szlMillimeters
        U32(240);
        End();
    }

    // Starts a record; End() fixes its size.
    void Begin(std::uint32_t type) {
        recordStart_ = bytes_.size();
        U32(type);
        U32(0);
        ++records_;
    }
    void End() {
        while (bytes_.size() % 4 != 0)
            bytes_.push_back(0);
        Put(recordStart_ + 4, static_cast<std::uint32_t>(bytes_.size() - recordStart_));
    }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void U16(std::uint16_t v) {
        bytes_.push_back(static_cast<std::uint8_t>(v));
        bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void Record(std::uint32_t type, std::initializer_list<std::uint32_t> fields) {
        Begin(type);
        for (std::uint32_t f : fields)
            U32(f);
        End();
    }

    // A comment record of exactly `size` bytes (>= 12, multiple of 4).
    void Comment(std::size_t size, std::uint32_t seed) {
        Begin(kEmrGdiComment);
        U32(static_cast<std::uint32_t>(size - 12));
        std::minstd_rand rng(seed + 1);
        while (bytes_.size() - recordStart_ < size)
            bytes_.push_back(static_cast<std::uint8_t>(rng()));
        End();
    }

    void Font(std::uint32_t handle, std::int32_t height, std::u16string_view face) {
        Begin(kEmrExtCreateFontIndirectW);
        U32(handle);
        U32(static_cast<std::uint32_t>(height));
        for (int i = 0; i < 4; ++i)  // width, escapement, orientation, weight
            U32(i == 3 ? 400 : 0);
        U32(0xCC000000);  // italic, underline, strike-out, charset (RUSSIAN_CHARSET)
        U32(0);           // precision, clip, quality, pitch
        for (std::size_t i = 0; i < 32; ++i)
            U16(i < face.size() ? face[i] : 0);
        End();
    }

    void Text(std::int32_t x, std::int32_t y, std::u16string_view text) {
        Begin(kEmrExtTextOutW);
        const auto n = static_cast<std::uint32_t>(text.size());
        const std::uint32_t offString = 76;
        const std::uint32_t offDx = offString + (2 * n + 3) / 4 * 4;
        const auto ux = static_cast<std::uint32_t>(x), uy = static_cast<std::uint32_t>(y);
        for (std::uint32_t v : {ux, uy, ux + 7 * n, uy + 16})  // rclBounds
            U32(v);
        U32(1);           // GM_COMPATIBLE
        U32(0x3F800000);  // exScale 1.0f
        U32(0x3F800000);  // eyScale 1.0f
        U32(ux);          // reference point
        U32(uy);
        U32(n);
        U32(offString);
        U32(0);  // options
        for (std::uint32_t v : {ux, uy, ux + 7 * n, uy + 16})
            U32(v);
        U32(offDx);
        for (char16_t c : text)
            U16(c);
        while ((bytes_.size() - recordStart_) % 4 != 0)
            bytes_.push_back(0);
        for (char16_t c : text)
            U32(c < 0x400 ? 6 : 8);
        End();
    }

    std::vector<std::uint8_t> Finish() {
        Record(kEmrEof, {0, 16, 20});
        Put(48, static_cast<std::uint32_t>(bytes_.size()));
        Put(52, records_);
        return std::move(bytes_);
    }

    std::size_t Size() const { return bytes_.size(); }

private:
    void Put(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t recordStart_ = 0;
    std::uint32_t records_ = 0;
};

constexpr std::size_t kHeaderAndEof = 88 + 20;

// A well-formed metafile of exactly `size` bytes (>= 108 and a multiple of 4, but not
// 112) whose padding depends on `seed`, so that pages can be told apart.
inline std::vector<std::uint8_t> MinimalEmf(std::size_t size, std::uint32_t seed = 0) {
    EmfBuilder b;
    const std::size_t rest = size - kHeaderAndEof;
    if (rest == 8)
        b.Record(kEmrSaveDc, {});
    else if (rest >= 12)
        b.Comment(rest, seed);
    return b.Finish();
}

// A page as the supplement sheets draw it: labels of Cyrillic text in a few fonts,
// with their attribute records, and some rules.
inline std::vector<std::uint8_t> TextPageEmf(std::uint32_t seed, int labels = 120) {
    static const std::u16string_view kWords[] = {u"Иванов",
                                                 u"Пётр",
                                                 u"Сергеевич",
                                                 u"техникум",
                                                 u"специальность",
                                                 u"диплом",
                                                 u"приложение",
                                                 u"дисциплина",
                                                 u"отлично",
                                                 u"хорошо",
                                                 u"удовлетворительно",
                                                 u"часов",
                                                 u"курсовая",
                                                 u"работа",
                                                 u"практика",
                                                 u"экзамен",
                                                 u"государственный",
                                                 u"квалификация",
                                                 u"техник",
                                                 u"программист",
                                                 u"1998",
                                                 u"2002",
                                                 u"36",
                                                 u"72",
                                                 u"120",
                                                 u"Математика",
                                                 u"Физика",
                                                 u"Информатика",
                                                 u"Экономика",
                                                 u"Право"};
    static const std::u16string_view kFaces[] = {u"Arial", u"Times New Roman", u"Courier New"};
    std::minstd_rand rng(seed + 17);
    EmfBuilder b;
    b.Record(kEmrSetBkMode, {1});
    b.Record(kEmrSetTextColor, {0});
    b.Record(kEmrCreateBrushIndirect, {2, 0, 0xFFFFFF, 0});
    for (int i = 0; i < labels; ++i) {
        if (i % 8 == 0) {
            b.Font(1, -13 - static_cast<std::int32_t>(rng() % 4), kFaces[rng() % 3]);
            b.Record(kEmrSelectObject, {1});
        }
        b.Record(kEmrSetTextAlign, {24});
        std::u16string text;
        for (int w = 1 + static_cast<int>(rng() % 4); w > 0; --w) {
            if (!text.empty())
                text += u' ';
            text += kWords[rng() % std::size(kWords)];
        }
        b.Text(40 + static_cast<std::int32_t>(rng() % 600), 30 + 8 * i, text);
        if (i % 8 == 7)
            b.Record(kEmrDeleteObject, {1});
        if (i % 20 == 0)
            b.Record(kEmrRectangle, {40, static_cast<std::uint32_t>(30 + 8 * i), 750,
                                     static_cast<std::uint32_t>(31 + 8 * i)});
    }
    return b.Finish();
}

}  // namespace emftest
