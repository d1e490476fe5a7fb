#pragma once

namespace rep {

// Paper orientation of a report page and of a printer's device mode.
enum class TRepOrientation { poPortrait = 0, poLandscape = 1 };

}  // namespace rep
