#pragma once
// The print offsets, one record for the whole program, kept in Blk.ini beside the executable.
#include <cstdint>
#include <span>
#include <string>

namespace SettingsUnit {

struct TPrintOffsets {
    std::int32_t DeltaX1 = 0;
    std::int32_t DeltaX2 = 0;
    std::int32_t DeltaY1 = 0;
    std::int32_t DeltaY2 = 0;
    std::int32_t DeltaXColumn2 = 0;
    std::int32_t DeltaXColumn3 = 0;
    std::int32_t FontSizeColumn3 = 10;

    bool operator==(const TPrintOffsets&) const = default;
};

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

// Reads the seven keys; any failure gives the defaults for all seven. Reports nothing.
bool ReadPrintOffsets(TPrintOffsets& out);
// Fills PrintOffsets, and the printers' own sets, at start.
void LoadPrintOffsets();

// Creates the settings file holding only the section line; throws ui::Error
// "Cannot create file <path>" when it cannot.
void CreateIniStub();
// Writes the seven keys in their order; throws ui::Error "Unable to write to <path>" at the
// first key that cannot be written (those before it stay written).
void WritePrintOffsets(const TPrintOffsets& v);

}  // namespace SettingsUnit
