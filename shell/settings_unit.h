#pragma once
// The print-offset settings dialog: six offsets on up-downs and the font size of page 2's
// third column, loaded from Blk.ini when the dialog becomes active and written by OK.
#include <map>
#include <string>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/spin_edit.h"
#include "ui/updown.h"

namespace SettingsUnit {

class TSettings : public ui::Form {
public:
    TSettings();

    // Activation handler: the controls show the settings file's values.
    void FormActivate();
    // Stores the values in PrintOffsets and the settings file, then closes the dialog.
    void BitBtnOKClick();


    // The form's fields; the form owns the controls.
    ui::Label* Label1 = nullptr;
    ui::Panel* SetGroupBox1 = nullptr;
    ui::Panel* SetGroupBox2 = nullptr;
    ui::Panel* SetGroupBox3 = nullptr;
    ui::Edit* meSetDeltaX1 = nullptr;
    ui::Edit* meSetDeltaY1 = nullptr;
    ui::Edit* meSetDeltaX2 = nullptr;
    ui::Edit* meSetDeltaY2 = nullptr;
    ui::Edit* meSetDeltaXCol2 = nullptr;
    ui::Edit* meSetDeltaXCol3 = nullptr;
    ui::UpDown* UpDownSetDeltaX1 = nullptr;
    ui::UpDown* UpDownSetDeltaY1 = nullptr;
    ui::UpDown* UpDownSetDeltaX2 = nullptr;
    ui::UpDown* UpDownSetDeltaY2 = nullptr;
    ui::UpDown* UpDownSetDeltaXCol2 = nullptr;
    ui::UpDown* UpDownSetDeltaXCol3 = nullptr;
    ui::Label* Label8 = nullptr;
    ui::SpinEdit* sedFontSizeCol3 = nullptr;
    ui::Button* BitBtnOK = nullptr;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool isNewActivation(HWND previous);

    bool justShown_ = false;
};

extern TSettings* Settings;

}  // namespace SettingsUnit
