#pragma once
// The pictures of the main window's buttons.
#include "ui/picture.h"

namespace MainSet {

const ui::Picture& glyphOpen();   // an open folder with a curved arrow
const ui::Picture& glyphSave();   // a floppy disk
const ui::Picture& glyphGear();   // a gear wheel
const ui::Picture& glyphAbout();  // a book with a question mark
const ui::Picture& glyphPrint();  // a printer with a sheet of paper
const ui::Picture& glyphNo();     // the standard No-button picture

}  // namespace MainSet
