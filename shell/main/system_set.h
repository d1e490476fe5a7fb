#pragma once
// The state file of the main window: Open and Save.
#include <string>

#include "sheets/supplement.h"
#include "shell/state/shown_record.h"
#include "shell/state/state_codec.h"

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

// The same on an explicit file name.
void SaveStateTo(const std::wstring& fileName);
// All or nothing: false, and the window as it was, for a file that is not a state file.
bool LoadStateFrom(const std::wstring& fileName);
// The same for the Open command: a file refused is named with its reason (ui::Error).
void OpenStateFrom(const std::wstring& fileName);

}  // namespace SystemSet
