#pragma once
// What the secretary chose for her blanks: whether a value too long for its box may shrink
// its font, and the scanned picture of each sheet's blank shown under its preview. Kept in
// Blk.ini in a section of its own, which a program that knows only [Settings] passes over.
#include <string>

#include "sheets/print_settings.h"

namespace SettingsUnit {

using TBlankSettings = SetReportCommon::TBlankSettings;

extern TBlankSettings BlankSettings;

// Reads the section; a missing file or key gives the default. Reports nothing.
TBlankSettings ReadBlankSettings();
void LoadBlankSettings();
// Throws ui::Error "Unable to write to <path>" when a key cannot be written.
void WriteBlankSettings(const TBlankSettings& v);

}  // namespace SettingsUnit
