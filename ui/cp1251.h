#pragma once
// Windows-1251 <-> UTF-16 with our own table, so files read the same on any
// machine whatever its ANSI code page.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

// Every byte has a character: the one unassigned byte 0x98 decodes to U+0098,
// so any file survives a decode/encode round trip unchanged.
wchar_t cp1251ToWide(unsigned char byte);
std::wstring fromCp1251(std::string_view bytes);

// The byte for one UTF-16 unit, or nullopt when Windows-1251 has none.
std::optional<unsigned char> wideToCp1251(wchar_t ch);

// Position of the first unit that Windows-1251 cannot hold, or nullopt.
std::optional<std::size_t> firstNotInCp1251(std::wstring_view text);

// The whole text, or nullopt if any character cannot be represented
// (never replaced by a substitute).
std::optional<std::string> toCp1251(std::wstring_view text);

}  // namespace ui
