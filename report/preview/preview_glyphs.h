#pragma once
// The preview window's button pictures: 18 x 18, 16 colours, drawn from text rows.
#include <string>

#include "ui/picture.h"

namespace rep {

// A toolbar glyph by the name of its bitmap resource ("REPZOOMTOFITBITMAP", ...). An unknown
// name throws ui::Error: a misspelt name is a programming fault, not a blank button.
const ui::Picture& PreviewGlyph(const std::wstring& resource);

// The close button's two-state glyph: the enabled picture or its greyed copy.
const ui::Picture& ExitGlyph(bool enabled);

}  // namespace rep
