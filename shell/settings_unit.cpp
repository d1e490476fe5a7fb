#include "shell/settings_unit.h"

#include "ui/font.h"

namespace SettingsUnit {

TSettings* Settings = nullptr;

TSettings::TSettings() {
    name = L"Settings";
    createForm({L"Настройки", 154, 293, ui::BorderStyle::Dialog, false, false, false, true, false,
                ui::sansSerif(11)});
}

}  // namespace SettingsUnit
