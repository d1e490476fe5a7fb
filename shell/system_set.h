#pragma once
// The state file of the main window: Open and Save.
#include <string>

#include "shell/state_codec.h"

namespace SystemSet {

// Writes the main window to the file named in SaveSetDialog. Failures reach the error box;
// the file being replaced stays intact until the new one is complete.
void SaveState();
// Fills the main window from the file named in OpenSetDialog; all or nothing, silently.
void LoadState();

// The window's values as the file holds them.
TSettings CollectState();

// The same on an explicit file name.
void SaveStateTo(const std::wstring& fileName);
bool LoadStateFrom(const std::wstring& fileName);

}  // namespace SystemSet
