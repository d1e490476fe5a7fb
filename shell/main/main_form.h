#pragma once
// The main window: the supplement record is its input controls.
#include <array>
#include <map>
#include <string>

#include "shell/state/list_items.h"
#include "shell/state/state_codec.h"
#include "ui/controls.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/tool_bar.h"

namespace MainSet {

constexpr int kDynControlCount = 142;

class TMainForm : public ui::Form {
public:
    // restLater: only the first screen (the top of page 1) is made; BuildRest makes the
    // controls below it and page 2, so that the first screen can be painted before them.
    explicit TMainForm(bool restLater = false);

    // Creation handler, run by the constructor once the window exists.
    void FormCreate();
    // The rest of the creation when it was left for later; once.
    void BuildRest();

    // DynControls slots 1..142.
    ui::Window* DynControls(int slot) const;
    ui::Edit& edit(const std::wstring& name) const;
    ui::ComboBox& combo(const std::wstring& name) const;
    // The value of a field: its displayed text.
    std::wstring fieldText(const std::wstring& name) const;

    // Command handlers; every other trigger forwards to these.
    void mnOpenClick();
    void mnSaveClick();
    void mnPrintSheet1Click();
    void mnPrintSheet2Click();
    // The calibration page of sheet 1 or 2 in its preview.
    void mnCalibration1Click();
    void mnCalibration2Click();
    // "Печать группы...": several state files, one sheet, one preview.
    void mnPrintGroupClick();
    void mnSettingsClick();
    void mnAboutClick();
    void mnExitClick();
    void sbtOpenClick() { mnOpenClick(); }
    void sbtSaveClick() { mnSaveClick(); }
    void sbtSetClick() { mnSettingsClick(); }
    void sbtAboutClick() { mnAboutClick(); }
    void sbtPrint1Click() { bbPrintSheet1Click(); }
    void sbtPrint2Click() { bbPrintSheet2Click(); }
    void bbPrintSheet1Click() { mnPrintSheet1Click(); }
    void bbPrintSheet2Click() { mnPrintSheet2Click(); }
    void bbExitClick() { mnExitClick(); }

    // Brings a field into view on its page and gives it the focus.
    void showField(ui::Window& field);
    // Whether the window holds input that the last Open or Save (or the start) did not.
    bool Modified() const;
    // Asks before unsaved input would be thrown away: save, discard, or go back. True
    // when the caller may go on.
    bool CanDiscardInput();

    bool preTranslate(MSG& msg) override;

    ui::PageControl& PageCtrlSet() const { return *pageCtrl_; }
    // The buttons under the menu bar.
    ui::ToolBar& toolbar() const { return *toolbar_; }
    ui::ScrollBox& ScrollBox1() const { return *scroll1_; }
    ui::ScrollBox& ScrollBox2() const { return *scroll2_; }
    ui::Panel& PanelSet1() const { return *panel1_; }
    ui::Panel& PanelSet2() const { return *panel2_; }
    ui::FileDialog& OpenSetDialog() { return openDialog_; }
    ui::FileDialog& SaveSetDialog() { return saveDialog_; }
    ui::FileDialog& GroupDialog() { return groupDialog_; }

protected:
    void doClose() override;

private:
    // The input as the file holds it now counts as saved.
    void markSaved();
    // The save dialog, proposing the file the window's data came from or went to last.
    bool askSaveName();
    // After a preview, back to the field the secretary was in.
    void comeBack();
    void buildToolbar();
    std::vector<ui::MenuItem> menuItems();
    // The controls of page 1 on the first screen, or those below it.
    void buildPage1(bool firstScreen);
    void buildPage2Fixed();
    void createPage1RunTimeEdits();
    void buildDisciplineTable();
    void setPage1TabOrder();

    ui::ToolBar* toolbar_ = nullptr;
    ui::PageControl* pageCtrl_ = nullptr;
    ui::ScrollBox* scroll1_ = nullptr;
    ui::ScrollBox* scroll2_ = nullptr;
    ui::Panel* panel1_ = nullptr;
    ui::Panel* panel2_ = nullptr;
    std::array<ui::Window*, kDynControlCount + 1> dyn_{};
    std::vector<ui::Window*> page2TabOrder_;
    ui::FileDialog openDialog_;
    ui::FileDialog saveDialog_;
    ui::FileDialog groupDialog_;
    SystemSet::TSettings savedState_;
    // The file the window's data was last opened from or saved to; empty for none yet.
    std::wstring currentFile_;
    bool restLater_;
    bool restBuilt_ = false;
};

extern TMainForm* MainForm;

}  // namespace MainSet
