#include "ui/cp1251.h"

#include <array>

namespace ui {
namespace {

// Upper half 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

constexpr char32_t kCyrillicA = 0x0410;  // byte 0xC0

}  // namespace

wchar_t cp1251ToWide(unsigned char byte) {
    if (byte < 0x80) return static_cast<wchar_t>(byte);
    if (byte >= 0xC0) return static_cast<wchar_t>(kCyrillicA + (byte - 0xC0));
    return static_cast<wchar_t>(kHigh[byte - 0x80]);
}

std::wstring fromCp1251(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) out.push_back(cp1251ToWide(static_cast<unsigned char>(c)));
    return out;
}

std::optional<unsigned char> wideToCp1251(wchar_t ch) {
    // wchar_t is 32-bit on Linux; compare as an unsigned code unit.
    const auto u = static_cast<char32_t>(ch);
    if (u < 0x80) return static_cast<unsigned char>(u);
    if (u >= kCyrillicA && u < kCyrillicA + 64)
        return static_cast<unsigned char>(0xC0 + (u - kCyrillicA));
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == u) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::optional<std::size_t> firstNotInCp1251(std::wstring_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!wideToCp1251(text[i])) return i;
    return std::nullopt;
}

std::optional<std::string> toCp1251(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t ch : text) {
        const auto b = wideToCp1251(ch);
        if (!b) return std::nullopt;
        out.push_back(static_cast<char>(*b));
    }
    return out;
}

}  // namespace ui
