#pragma once
// A state file's record as the main window would show it, and so print it.
#include "sheets/supplement.h"
#include "shell/state/state_codec.h"

namespace SystemSet {

// What the window would show once the record is loaded into it: a combo box's item text,
// its typed text when no item is chosen, nothing for an index off its list.
SetReportCommon::TSupplement ShownFrom(const TSettings& record);

}  // namespace SystemSet
