#pragma once
// The print-offset settings dialog: six offsets on up-downs and the font size of page 2's
// third column, loaded from Blk.ini when the dialog becomes active and written by OK.
// Beside them each offset in millimetres with a field for a correction in millimetres,
// and whose set the dialog edits: the one for all printers or a printer's own.
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "shell/offsets/print_offsets.h"

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
    // Stores the values in PrintOffsets and the settings file, then closes the dialog. A set
    // the file holds a bad value of is written over only once she has said yes to that.
    void BitBtnOKClick();
    // Closes the dialog and writes nothing (Esc as well).
    void BitBtnCancelClick();


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
    ui::Button* BitBtnCancel = nullptr;
    // In offset order: DeltaX1, DeltaY1, DeltaX2, DeltaY2, DeltaXColumn2, DeltaXColumn3.
    std::array<ui::Label*, 6> lbMm{};
    std::array<ui::Edit*, 6> edCorrectionMm{};
    ui::Label* lbWhose = nullptr;
    ui::ComboBox* cbWhose = nullptr;  // item 0: all printers; then one per printer
    ui::Button* bbCopyCommon = nullptr;

    // The printer whose own set the dialog shows, or empty for the set of all printers.
    std::wstring EditedPrinter() const;
    // Chooses whose set to show by the item of cbWhose, as choosing it in the list does.
    void ChooseSet(int item);
    // The edited printer's set starts again from the set for all printers.
    void CopyCommonSet();
    // Adds each typed correction to its offset as whole steps and empties its field. A
    // correction that is no number, or that takes its offset out of range, throws and
    // changes nothing.
    void ApplyCorrections();

    bool preTranslate(MSG& msg) override;

    // A test answers the question before a bad set is written over (its text given).
    static inline std::function<bool(const std::wstring&)> AskHook;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool isNewActivation(HWND previous);

    // settings_sets.cpp
    struct Choice {
        std::wstring printer;  // empty: all printers
        TPrintOffsets values;
        bool own = true;       // a printer's own set (always for all printers)
        bool changed = false;  // since the dialog was shown
        TPrintOffsets loaded;  // the values in effect as the dialog opened, unclamped
        std::wstring problem;  // what the file holds that is not in effect; empty: nothing
    };
    // The values of the set to write: a value shown clamped to the dialog's range and not
    // moved stays what it was.
    TPrintOffsets toWrite(const Choice& c) const;
    // Asks before a set with a bad value in the file is written over; false: write nothing.
    bool mayWriteOver(const std::vector<const Choice*>& sets) const;
    void buildSetControls();
    std::array<ui::UpDown*, 6> upDowns() const;
    TPrintOffsets fieldValues() const;
    void showValues(const TPrintOffsets& v);
    void showMillimetres();
    void showWhose();
    void storeFields();
    void loadChoices();
    void applyCorrection(std::size_t row);
    bool writeSets();
    std::vector<Choice> choices_;
    std::size_t chosen_ = 0;

    bool justShown_ = false;
};

extern TSettings* Settings;

// Says once, as the program starts, what Blk.ini holds that does not read, naming section
// and key, and what is used instead. A test reads the text here instead of the message box.
void TellIniProblems();
extern std::function<void(const std::wstring&)> IniProblemsHook;

}  // namespace SettingsUnit
