#pragma once
// The print offsets, one record for the whole program, kept in Blk.ini beside the executable.
#include <cstdint>
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
};

extern TPrintOffsets PrintOffsets;
extern const std::wstring IniName;

// The executable's folder, "\", IniName; whatever the working directory.
std::wstring IniPath();

// Reads the seven keys; any failure gives the defaults for all seven. Reports nothing.
bool ReadPrintOffsets(TPrintOffsets& out);
// Fills PrintOffsets at start.
void LoadPrintOffsets();

}  // namespace SettingsUnit
