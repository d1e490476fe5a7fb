#pragma once
// Print offsets of their own for printers that need them, kept in Blk.ini as sections
// "[Printer: <name>]" with the seven keys of [Settings]. [Settings] stays the set of every
// other printer, so a program that knows only [Settings] reads the file as before.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/offsets/print_offsets.h"

namespace SettingsUnit {

// "Printer: <name>".
std::wstring PrinterSectionName(const std::wstring& printer);
// The printer of a section "Printer: <name>" (any case), or nothing for another section.
std::optional<std::wstring> PrinterOfSection(const std::wstring& section);
bool IsPrinterSection(const std::wstring& section);
// Whether the printer's section can be written into the settings file: its name has no
// brackets and every letter is in the file's encoding. One that cannot is refused when it is
// chosen, so that OK never fails on it.
bool CanWritePrinterSection(const std::wstring& printer);

using TPrinterSets = std::vector<std::pair<std::wstring, TPrintOffsets>>;

// The printers' own sets as the settings file holds them now, in file order.
TPrinterSets ReadPrinterOffsets();
// Reads the printers' own sets from the settings file for printing. A set whose value does not convert
// gives the defaults for all seven, as [Settings] does; a missing key its default alone.
void LoadPrinterOffsets();

// The printer's own set (printer names compare in any case), or nullptr.
const TPrintOffsets* OwnPrinterOffsets(const std::wstring& printer);
// The set the printer prints with: its own, or PrintOffsets. An empty name (no printer)
// has none of its own.
const TPrintOffsets& PrinterOffsets(const std::wstring& printer);
// The names of the printers with sets of their own, as the file spells them.
std::vector<std::wstring> PrintersWithOwnOffsets();

// Makes the sheets print with the sets kept here and the blanks' settings.
void UseIniPrintSettings();

// Writes the printer's seven keys in place (creating the file with [Settings] first if there
// is none) and keeps the set for the next print. Every other byte of the file stays. Throws
// ui::Error "Unable to write to <path>" when the file cannot be written, and a message
// naming the printer when its name cannot be written into the file.
void WritePrinterOffsets(const std::wstring& printer, const TPrintOffsets& v);

}  // namespace SettingsUnit
