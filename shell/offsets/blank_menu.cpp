#include "shell/offsets/blank_menu.h"

#include "shell/offsets/blank_settings.h"
#include "ui/file_dialog.h"
#include "ui/picture_file.h"

namespace BlankMenu {

namespace {

void ShowChecks(ui::Form& window) {
    const UINT id = window.menuId(L"mnShrinkToFit");
    if (window.menu() && id)
        CheckMenuItem(window.menu(), id,
                      MF_BYCOMMAND | (SettingsUnit::BlankSettings.ShrinkToFit ? MF_CHECKED : MF_UNCHECKED));
}

void Store(ui::Form& window, const SettingsUnit::TBlankSettings& v) {
    SettingsUnit::BlankSettings = v;
    ShowChecks(window);
    SettingsUnit::WriteBlankSettings(v);
}

}  // namespace

ui::MenuItem Items(ui::Form& w) {
    return {L"mnBlanks",
            L"&Бланки",
            nullptr,
            {
                {L"mnBlankPicture1", L"Рисунок бланка 1-й страницы...", [&w] { ChoosePicture(w, 1); }, {}},
                {L"mnBlankPicture2", L"Рисунок бланка 2-й страницы...", [&w] { ChoosePicture(w, 2); }, {}},
                {L"mnBlankPicturesOff", L"Убрать рисунки бланков", [&w] { RemovePictures(w); }, {}},
                ui::menuSeparator(L"mnBlankLine"),
                {L"mnShrinkToFit", L"Уменьшать шрифт значений, не входящих в графу", [&w] { ToggleShrinkToFit(w); },
                 {}},
            }};
}

void Load(ui::Form& window) {
    SettingsUnit::LoadBlankSettings();
    ShowChecks(window);
}

void ChoosePicture(ui::Form& window, int page) {
    ui::FileDialogArgs a;
    a.title = L"Рисунок бланка " + std::to_wstring(page) + L"-й страницы";
    a.filter = L"Рисунки (*.bmp;*.png;*.jpg;*.jpeg)|*.bmp;*.png;*.jpg;*.jpeg";
    a.fileName = SettingsUnit::BlankSettings.Picture(page);
    a.fileMustExist = true;
    ui::FileDialog dialog(ui::FileDialog::Kind::Open, a);
    if (!dialog.execute(window.hwnd())) return;
    // A file the preview could not show is refused now, with the reason, and the picture
    // chosen before stays.
    ui::LoadPictureFile(dialog.fileName());
    SettingsUnit::TBlankSettings v = SettingsUnit::BlankSettings;
    (page == 2 ? v.Picture2 : v.Picture1) = dialog.fileName();
    Store(window, v);
}

void RemovePictures(ui::Form& window) {
    SettingsUnit::TBlankSettings v = SettingsUnit::BlankSettings;
    v.Picture1.clear();
    v.Picture2.clear();
    Store(window, v);
}

void ToggleShrinkToFit(ui::Form& window) {
    SettingsUnit::TBlankSettings v = SettingsUnit::BlankSettings;
    v.ShrinkToFit = !v.ShrinkToFit;
    Store(window, v);
}

}  // namespace BlankMenu
