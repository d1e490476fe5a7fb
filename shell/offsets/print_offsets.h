#pragma once
// The print offsets, one record for the whole program, kept in Blk.ini beside the executable.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "sheets/print_settings.h"

namespace SettingsUnit {

using TPrintOffsets = SetReportCommon::TPrintOffsets;
using SetReportCommon::OffsetsFitPaper;

extern TPrintOffsets PrintOffsets;

// The seven keys in file order, which is also the order of reading and writing.
struct TOffsetKey {
    const wchar_t* name;
    std::int32_t TPrintOffsets::*field;
    const wchar_t* def;
};
std::span<const TOffsetKey> OffsetKeys();
extern const std::wstring IniName;

// The executable's folder, "\", IniName; whatever the working directory.
std::wstring IniPath();

// Whether a file (not a folder) is at IniPath.
bool IniFileExists();

struct TIniSection;

// Whether the set fits the sheets' A4 paper at the screen's resolution, as the dialog shows them.
bool OffsetsFitA4(const TPrintOffsets& o);

// The settings file's bytes; nullopt without one, or when it cannot be read.
std::optional<std::string> IniBytes();

// A set of seven keys as read from its section (none: every key its default). A value that
// does not convert gives the defaults for all seven, and the sentence that names it.
struct TOffsetSetRead {
    TPrintOffsets Values;
    std::wstring Problem;  // empty when every value converted
};
TOffsetSetRead ReadOffsetSet(const TIniSection* section, const std::wstring& sectionName);

// Reads the seven keys of [Settings]; any failure gives the defaults for all seven.
bool ReadPrintOffsets(TPrintOffsets& out);
// What the settings file holds that does not read: a sentence for each set with a bad
// value, naming its section and key and saying what is used instead.
std::vector<std::wstring> IniProblems();
// Fills PrintOffsets, and the printers' own sets, at start.
void LoadPrintOffsets();

// Creates the settings file holding only the section line; throws ui::Error
// "Cannot create file <path>" when it cannot.
void CreateIniStub();
// Sets the keys of the section in place, every other byte of the file as it was (a file
// that does not exist yet is made with [Settings]); throws ui::Error "Unable to write to
// <path>" when the file cannot be written, and then it is as it was.
void WriteIniKeys(const std::wstring& section, const std::vector<std::pair<std::wstring, std::wstring>>& keys);
// Writes the seven keys of the section in place, every other byte of the file as it was (a
// file that does not exist yet is made with [Settings]); throws ui::Error "Unable to write
// to <path>" when the file cannot be written, and then it is as it was.
void WriteOffsetSet(const std::wstring& section, const TPrintOffsets& v);
void WritePrintOffsets(const TPrintOffsets& v);

}  // namespace SettingsUnit
