#pragma once
// The print-offset settings dialog.
#include "ui/form.h"

namespace SettingsUnit {

class TSettings : public ui::Form {
public:
    TSettings();
};

extern TSettings* Settings;

}  // namespace SettingsUnit
