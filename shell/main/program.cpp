#include "shell/main/program.h"

#include <windows.h>

#include <memory>

#include "report/export/ascii_export_filter.h"
#include "report/preview/standard_preview.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "shell/main/about_set.h"
#include "shell/main/main_form.h"
#include "shell/main/system_set.h"
#include "shell/offsets/printer_offsets.h"
#include "shell/offsets/settings_unit.h"
#include "ui/app.h"

namespace Program {

namespace {
std::unique_ptr<MainSet::TMainForm> mainForm;
std::unique_ptr<SetReport::TBlankoSheet1> sheet1;
std::unique_ptr<SetReport2::TBlankoSheet2> sheet2;
std::unique_ptr<AboutSet::TAbout> about;
std::unique_ptr<SettingsUnit::TSettings> settings;
}  // namespace

namespace {
void CreateMainForm(bool restLater) {
    ui::Application& app = ui::Application::get();
    app.setTitle(L"Приложение к Диплому");
    mainForm = std::make_unique<MainSet::TMainForm>(restLater);
    MainSet::MainForm = mainForm.get();
    app.setMainForm(mainForm.get());
}

// The sheets, the about box and the settings dialog, in this order.
void CreateOtherForms() {
    sheet1 = std::make_unique<SetReport::TBlankoSheet1>();
    SetReport::BlankoSheet1 = sheet1.get();
    sheet1->Report1.Records = [] { return SetReportCommon::TSupplementList{SystemSet::ShownOnMainWindow()}; };
    sheet2 = std::make_unique<SetReport2::TBlankoSheet2>();
    SetReport2::BlankoSheet2 = sheet2.get();
    sheet2->Report1.Records = [] { return SetReportCommon::TSupplementList{SystemSet::ShownOnMainWindow()}; };
    about = std::make_unique<AboutSet::TAbout>();
    AboutSet::About = about.get();
    settings = std::make_unique<SettingsUnit::TSettings>();
    SettingsUnit::Settings = settings.get();
}
}  // namespace

void Assemble() {
    rep::UseStandardPreview();
    rep::UseTextExport();
    SettingsUnit::UseIniPrintSettings();
}

void CreateForms() {
    Assemble();
    CreateMainForm(false);
    CreateOtherForms();
}

void DestroyForms() {
    settings.reset();
    SettingsUnit::Settings = nullptr;
    about.reset();
    AboutSet::About = nullptr;
    sheet2.reset();
    SetReport2::BlankoSheet2 = nullptr;
    sheet1.reset();
    SetReport::BlankoSheet1 = nullptr;
    ui::Application::get().setMainForm(nullptr);
    mainForm.reset();
    MainSet::MainForm = nullptr;
}

int Run() {
    // The first screen (the top of page 1) is painted first; the rest of the main window
    // and the other windows are made right after. The message loop starts only then, so
    // no key or click is handled before they exist.
    Assemble();
    CreateMainForm(true);
    MainSet::MainForm->show();
    UpdateWindow(MainSet::MainForm->hwnd());
    MainSet::MainForm->BuildRest();
    CreateOtherForms();
    ui::Application& app = ui::Application::get();
    // The library of the hints and of the preview's progress bar, loaded once the window is
    // up and after any key already typed, so that the first print command does not wait for it.
    app.post([] { ui::useCommonControls(); });
    // What Blk.ini holds that does not read, said once the window is up.
    app.post([] { SettingsUnit::TellIniProblems(); });
    app.run(*MainSet::MainForm);
    DestroyForms();
    return 0;
}

}  // namespace Program
