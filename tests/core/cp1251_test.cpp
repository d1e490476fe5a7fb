#include "ui/cp1251.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#if defined(__GLIBC__)
#include <iconv.h>
#endif

namespace {

TEST(Cp1251, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::wstring wide = ui::fromCp1251(all);
    ASSERT_EQ(wide.size(), 256u);
    const auto back = ui::toCp1251(wide);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1251, NoTwoBytesShareACharacter) {
    std::set<wchar_t> seen;
    for (int b = 0; b < 256; ++b) seen.insert(ui::cp1251ToWide(static_cast<unsigned char>(b)));
    EXPECT_EQ(seen.size(), 256u);
}

TEST(Cp1251, CyrillicAlphabet) {
    const std::wstring upper = L"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
    const std::wstring lower = L"абвгдежзийклмнопрстуфхцчшщъыьэюя";
    ASSERT_EQ(upper.size(), 32u);
    ASSERT_EQ(lower.size(), 32u);
    for (std::size_t i = 0; i < 32; ++i) {
        EXPECT_EQ(ui::wideToCp1251(upper[i]), 0xC0 + i) << i;
        EXPECT_EQ(ui::wideToCp1251(lower[i]), 0xE0 + i) << i;
    }
}

TEST(Cp1251, KnownUpperHalfCharacters) {
    struct Case { unsigned char byte; wchar_t ch; };
    const Case cases[] = {
        {0x80, L'Ђ'}, {0x82, L'‚'}, {0x88, L'€'}, {0x96, L'–'}, {0x97, L'—'},
        {0x98, L'\u0098'}, {0x99, L'™'}, {0xA0, L'\u00A0'}, {0xA5, L'Ґ'},
        {0xA8, L'Ё'}, {0xAB, L'«'}, {0xB2, L'І'}, {0xB4, L'ґ'}, {0xB8, L'ё'},
        {0xB9, L'№'}, {0xBB, L'»'}, {0xBF, L'ї'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::cp1251ToWide(c.byte), c.ch) << int(c.byte);
        EXPECT_EQ(ui::wideToCp1251(c.ch), c.byte) << int(c.byte);
    }
}

TEST(Cp1251, UnrepresentableCharacters) {
    // U+0080 and U+0081 are C1 controls with no byte (0x80 is Ђ); only U+0098 is kept.
    const wchar_t cases[] = {L'\u0080', L'\u0081', L'\u00E9', L'\u0100', L'\u4E2D',
                             L'\u2117', L'\uFFFD',
                             static_cast<wchar_t>(0xD800)};
    for (wchar_t ch : cases) {
        EXPECT_FALSE(ui::wideToCp1251(ch).has_value()) << int(ch);
        const std::wstring text = std::wstring(L"Иванов ") + ch + L" x";
        EXPECT_FALSE(ui::toCp1251(text).has_value()) << int(ch);
        EXPECT_EQ(ui::firstNotInCp1251(text), 7u) << int(ch);
    }
    EXPECT_EQ(ui::firstNotInCp1251(L"Иванов Пётр"), std::nullopt);
}

TEST(Cp1251, TextEncodesBytewise) {
    EXPECT_EQ(ui::toCp1251(L""), std::string());
    EXPECT_EQ(ui::toCp1251(L"г. Заречинск"),
              std::string("\xE3. \xC7\xE0\xF0\xE5\xF7\xE8\xED\xF1\xEA"));
    EXPECT_EQ(ui::fromCp1251(std::string("\xB9 5\0\x1A", 5)), std::wstring(L"№ 5\0\x1A", 5));
}

#if defined(__GLIBC__)
// The C library's own table agrees with ours on every assigned byte.
TEST(Cp1251, AgreesWithSystemTable) {
    iconv_t cd = iconv_open("UTF-32LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP1251 in iconv";
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        char in = static_cast<char>(b);
        unsigned char out[4] = {};
        char* pin = &in;
        char* pout = reinterpret_cast<char*>(out);
        std::size_t inLeft = 1, outLeft = 4;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(iconv(cd, &pin, &inLeft, &pout, &outLeft), static_cast<std::size_t>(-1)) << b;
        const char32_t cp = out[0] | (out[1] << 8) | (out[2] << 16) | (char32_t(out[3]) << 24);
        EXPECT_EQ(static_cast<char32_t>(ui::cp1251ToWide(static_cast<unsigned char>(b))), cp) << b;
    }
    iconv_close(cd);
}
#endif

}  // namespace
