#pragma once
// The main window's menu "Бланки": the scanned picture of each sheet's blank for its
// preview, and whether values too long for their boxes may shrink their font.
#include "ui/form.h"
#include "ui/menu.h"

namespace BlankMenu {

// The menu as an item of the window's menu bar; its commands work on the window.
ui::MenuItem Items(ui::Form& window);
// Loads the blank settings and shows them in the window's menu.
void Load(ui::Form& window);

// The commands.
void ChoosePicture(ui::Form& window, int page);
void RemovePictures(ui::Form& window);
void ToggleShrinkToFit(ui::Form& window);

}  // namespace BlankMenu
