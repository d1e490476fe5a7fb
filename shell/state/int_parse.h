#pragma once
// The integer syntax of the program's text files (settings keys, state-file
// indices): optional leading blanks, an optional sign, then decimal digits or
// "$" and hexadecimal digits. Nothing may follow.
#include <cstdint>
#include <optional>
#include <string_view>

namespace SettingsUnit {

// Decimal must lie in the 32-bit signed range. Hexadecimal is a 32-bit
// pattern: up to $FFFFFFFF, which reads as -1; a value needing more than
// 32 bits fails. A sign applies to either form.
std::optional<std::int32_t> ParseInt32(std::string_view text);

}  // namespace SettingsUnit
