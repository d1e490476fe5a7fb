#pragma once
// The sections of Blk.ini read and rewritten as bytes, so that a section written by this
// program leaves every other byte of the file as it was. Names and values are
// Windows-1251, the file's encoding.
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

// The sections of the file in file order; lines outside any section, comments and lines
// without "=" are skipped.
std::vector<TIniSection> ParseIni(std::string_view bytes);

// The file with its first section called `name` (any case), from its header line to its
// last non-empty line, replaced by `section`; without one, `section` appended on a line of
// its own. `section` is whole lines ending in CR LF.
std::string ReplaceIniSection(std::string_view bytes, std::wstring_view name, std::string_view section);

}  // namespace SettingsUnit
