#pragma once
// The main window: the supplement record is its input controls.
#include <array>
#include <map>
#include <string>

#include "ui/controls.h"
#include "ui/file_dialog.h"
#include "ui/form.h"

namespace MainSet {

constexpr int kDynControlCount = 142;

class TMainForm : public ui::Form {
public:
    TMainForm();

    // Creation handler, run by the constructor once the window exists.
    void FormCreate();

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

    ui::PageControl& PageCtrlSet() const { return *pageCtrl_; }
    ui::ScrollBox& ScrollBox1() const { return *scroll1_; }
    ui::ScrollBox& ScrollBox2() const { return *scroll2_; }
    ui::Panel& PanelSet1() const { return *panel1_; }
    ui::Panel& PanelSet2() const { return *panel2_; }
    ui::FileDialog& OpenSetDialog() { return openDialog_; }
    ui::FileDialog& SaveSetDialog() { return saveDialog_; }

private:
    void buildToolbar();
    void buildMenu();
    void buildPage1();
    void buildPage2Fixed();
    void createPage1RunTimeEdits();
    void buildDisciplineTable();
    void setPage1TabOrder();

    ui::Panel* toolbar_ = nullptr;
    ui::PageControl* pageCtrl_ = nullptr;
    ui::ScrollBox* scroll1_ = nullptr;
    ui::ScrollBox* scroll2_ = nullptr;
    ui::Panel* panel1_ = nullptr;
    ui::Panel* panel2_ = nullptr;
    std::array<ui::Window*, kDynControlCount + 1> dyn_{};
    std::vector<ui::Window*> page2TabOrder_;
    ui::FileDialog openDialog_;
    ui::FileDialog saveDialog_;
};

extern TMainForm* MainForm;

}  // namespace MainSet
