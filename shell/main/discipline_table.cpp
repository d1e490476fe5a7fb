// Page 2 of the main window: the 40-row discipline table, built at run time.
#include "shell/main/discipline_table.h"

#include <string>
#include <vector>

#include "shell/main/glyphs.h"
#include "shell/main/main_form.h"
#include "ui/font.h"

namespace MainSet {

void TMainForm::buildPage2Fixed() {
    HFONT f = ui::sansSerif(12);
    named<ui::Label>(L"Label4",
                     *panel2_,
                     ui::LabelArgs{L"За время обучения сдал(а) зачеты, промежуточные и итоговые экзамены по "
                                   L"следующим дисциплинам:",
                                   8, 8, 395, 26, ui::Align::Left, true, true, f});
    named<ui::Shape>(L"Shape1", *panel2_, 8, 40, 545, 1);
    named<ui::Label>(L"Label5", *panel2_, ui::LabelArgs{L"Наименование дисциплин", 121, 55, 0, 0, ui::Align::Left,
                                                        false, true, f});
    named<ui::Label>(L"Label6", *panel2_, ui::LabelArgs{L"Количество аудиторных часов", 375, 43, 62, 39,
                                                        ui::Align::Center, true, true, f});
    named<ui::Label>(L"Label7", *panel2_,
                     ui::LabelArgs{L"Итоговая оценка", 477, 49, 48, 26, ui::Align::Center, true, true, f});
    named<ui::Shape>(L"Shape2", *panel2_, 8, 86, 545, 1);
    named<ui::Shape>(L"Shape4", *panel2_, 367, 40, 1, 950);
    named<ui::Shape>(L"Shape3", *panel2_, 448, 40, 1, 950);
    auto& print = named<ui::Button>(L"bbPrintSheet2", *panel2_,
                                    ui::ButtonArgs{L"Печать", 410, 1000, 130, 30, &glyphPrint()});
    print.onClick = [this] { bbPrintSheet2Click(); };
}

void TMainForm::buildDisciplineTable() {
    auto top = [](int i) { return kFirstRowTop + kRowPitch * (i - 1); };
    for (int i = 1; i <= kRows; ++i) {
        auto& e = named<ui::Edit>(L"edDiscipline" + std::to_wstring(i), *panel2_, ui::EditArgs{8, top(i), 353, 21});
        dyn_[static_cast<size_t>(22 + i)] = &e;
    }
    for (int i = 1; i <= kRows; ++i) {
        auto& e = named<ui::Edit>(L"edHours" + std::to_wstring(i), *panel2_, ui::EditArgs{376, top(i), 65, 21});
        dyn_[static_cast<size_t>(62 + i)] = &e;
    }
    // The list opens with every grade in view. Given with the items, the height is set once:
    // each resize of a drop-down list costs milliseconds, and there are 40 of them.
    const std::vector<std::wstring> grades(GradeItems().begin(), GradeItems().end());
    for (int i = 1; i <= kRows; ++i) {
        auto& c = named<ui::ComboBox>(L"cbMark" + std::to_wstring(i), *panel2_,
                                      ui::ComboArgs{456, top(i), 95, 21, grades, static_cast<int>(grades.size())});
        dyn_[static_cast<size_t>(102 + i)] = &c;
    }
    page2TabOrder_.clear();
    for (int i = 1; i <= kRows; ++i) {
        page2TabOrder_.push_back(dyn_[static_cast<size_t>(22 + i)]);
        page2TabOrder_.push_back(dyn_[static_cast<size_t>(62 + i)]);
        page2TabOrder_.push_back(dyn_[static_cast<size_t>(102 + i)]);
    }
    page2TabOrder_.push_back(control(L"bbPrintSheet2"));
}

}  // namespace MainSet
