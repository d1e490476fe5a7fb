#pragma once
// The state file of the main window: Open and Save.
#include <string>

#include "shell/state_codec.h"
#include "sheets/supplement.h"

namespace SystemSet {

// Writes the main window to the file named in SaveSetDialog. Failures reach the error box;
// the file being replaced stays intact until the new one is complete.
void SaveState();
// Fills the main window from the file named in OpenSetDialog; all or nothing, silently.
void LoadState();

// The window's values as the file holds them.
TSettings CollectState();

// What the sheets print: the text each field of the main window shows.
SetReportCommon::TSupplement ShownOnMainWindow();
// What the window would show, and so print, once the record is loaded into it: a combo
// box's item text, its typed text when no item is chosen, nothing for an index off its list.
SetReportCommon::TSupplement ShownFrom(const TSettings& record);

// The same on an explicit file name.
void SaveStateTo(const std::wstring& fileName);
// All or nothing: false, and the window as it was, for a file that is not a state file.
bool LoadStateFrom(const std::wstring& fileName);
// The same for the Open command: a file refused is named with its reason (ui::Error).
void OpenStateFrom(const std::wstring& fileName);

}  // namespace SystemSet
