#include "shell/state/int_parse.h"

namespace SettingsUnit {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    std::uint32_t magnitude = 0;
    if (i < text.size() && text[i] == '$') {
        if (++i == text.size()) return std::nullopt;
        for (; i < text.size(); ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0 || magnitude > 0x0FFFFFFFu) return std::nullopt;
            magnitude = magnitude << 4 | static_cast<std::uint32_t>(d);
        }
        // Two's complement pattern; a sign negates it modulo 2^32.
        if (negative) magnitude = 0u - magnitude;
        return static_cast<std::int32_t>(magnitude);
    }

    if (i == text.size()) return std::nullopt;
    const std::uint32_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        const auto d = static_cast<std::uint32_t>(c - '0');
        if (magnitude > (limit - d) / 10) return std::nullopt;
        magnitude = magnitude * 10 + d;
    }
    if (negative) return static_cast<std::int32_t>(0u - magnitude);
    return static_cast<std::int32_t>(magnitude);
}

}  // namespace SettingsUnit
