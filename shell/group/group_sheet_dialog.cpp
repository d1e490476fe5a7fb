#include "shell/group/group_sheet_dialog.h"

#include "ui/app.h"
#include "ui/font.h"

namespace MainSet {

TGroupSheetDialog::TGroupSheetDialog(std::size_t files) {
    name = L"GroupSheetDialog";
    ui::FormArgs args;
    args.caption = L"Печать группы";
    args.clientWidth = 392;
    args.clientHeight = 92;
    args.border = ui::BorderStyle::Dialog;
    args.minimizeBox = false;
    args.maximizeBox = false;
    args.font = ui::sansSerif(11);
    createForm(args);
    Question = &add<ui::Label>(*this, ui::LabelArgs{L"Выбрано файлов: " + std::to_wstring(files) +
                                                        L". Какую страницу приложения печатать для группы?",
                                                    12, 12, 368, 30, ui::Align::Left, true});
    Question->name = L"Question";
    First = &add<ui::Button>(*this, ui::ButtonArgs{L"&1-я страница", 12, 56, 88, 25});
    Second = &add<ui::Button>(*this, ui::ButtonArgs{L"&2-я страница", 106, 56, 88, 25});
    Both = &add<ui::Button>(*this, ui::ButtonArgs{L"&Обе страницы", 200, 56, 88, 25});
    Cancel = &add<ui::Button>(*this, ui::ButtonArgs{L"Отмена", 304, 56, 76, 25});
    First->name = L"First";
    Second->name = L"Second";
    Both->name = L"Both";
    Cancel->name = L"Cancel";
    First->onClick = [this] { choose(TGroupSheets::First); };
    Second->onClick = [this] { choose(TGroupSheets::Second); };
    Both->onClick = [this] { choose(TGroupSheets::Both); };
    Cancel->onClick = [this] { choose(TGroupSheets::None); };
    setDefaultButton(First);
    setCancelButton(Cancel);
    setTabOrder({First, Second, Both, Cancel});
}

void TGroupSheetDialog::choose(TGroupSheets s) {
    chosen_ = s;
    close();
}

TGroupSheets TGroupSheetDialog::Ask() {
    chosen_ = TGroupSheets::None;
    showModal();
    return chosen_;
}

}  // namespace MainSet
