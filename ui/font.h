#pragma once
// Fonts live for the whole program in one cache; windows refer to them.
#include <windows.h>

#include <string>

namespace ui {

enum FontStyle : unsigned { Regular = 0, Bold = 1, Italic = 2 };

// heightPx is the character height (the em without internal leading), as forms give it.
HFONT font(const std::wstring& face, int heightPx, unsigned style = Regular);

// The form font of this program's windows.
inline HFONT sansSerif(int heightPx, unsigned style = Regular) { return font(L"MS Sans Serif", heightPx, style); }

// One line of text in that font (the system font for nullptr), as a window would measure it.
SIZE textExtent(HFONT f, const std::wstring& s);

}  // namespace ui
