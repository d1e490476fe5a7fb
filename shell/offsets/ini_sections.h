#pragma once
// Blk.ini as bytes: read in the file's own encoding (Windows-1251, or UTF-8 with or without
// a byte-order mark), and changed only in the keys the program owns, in place, every other
// byte of the file (comments, unknown keys, blank lines, order) staying as it was.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace SettingsUnit {

struct TIniSection {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> keys;  // file order, trimmed

    // The first value of the key (any case), or nullptr.
    const std::wstring* Find(std::wstring_view key) const;
};

// Equal but for the case of Latin and Cyrillic letters, as section and key names compare.
bool SameIniName(std::wstring_view a, std::wstring_view b);

// UTF-8 where the file begins with its byte-order mark, or where it reads as UTF-8 and has
// letters beyond ASCII; Windows-1251 otherwise (and for an empty file).
bool IniIsUtf8(std::string_view bytes);

// The sections of the file in file order; lines outside any section, comments and lines
// without "=" are skipped. A value in double quotes loses them, as the system's reading does.
std::vector<TIniSection> ParseIni(std::string_view bytes);
// The first section of that name (any case), or nullptr.
const TIniSection* FindIniSection(const std::vector<TIniSection>& sections, std::wstring_view name);

// Whether a section name can be written into the file: no brackets or line ends, and every
// character in the file's encoding.
bool IniCanHoldName(std::string_view bytes, std::wstring_view name);

// The file with these keys of its first section `section` (any case) set. A key that is
// there gets the new value in its own line, its name and line end as they were; a key that
// is not is added after the section's last key; a missing section is added at the end. The
// lines added end as the file's lines end. Nullopt, and nothing to write, where a name or a
// value cannot be written in the file's encoding.
std::optional<std::string> SetIniKeys(std::string_view bytes, std::wstring_view section,
                                      const std::vector<std::pair<std::wstring, std::wstring>>& keys);

}  // namespace SettingsUnit
