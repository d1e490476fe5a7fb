#pragma once
// The small dialog of "Печать группы" that asks which page of the supplement to print for
// the group: the first, the second, or both (all first pages, then the second ones).
#include <string>

#include "ui/controls.h"
#include "ui/form.h"

namespace MainSet {

enum class TGroupSheets { None = 0, First = 1, Second = 2, Both = 3 };

class TGroupSheetDialog : public ui::Form {
public:
    // files: how many files were chosen, said in the dialog.
    explicit TGroupSheetDialog(std::size_t files);

    ui::Label* Question = nullptr;
    ui::Button* First = nullptr;
    ui::Button* Second = nullptr;
    ui::Button* Both = nullptr;
    ui::Button* Cancel = nullptr;

    // Shows it modally; None when she cancels (Esc, «Отмена», the close box).
    TGroupSheets Ask();

private:
    void choose(TGroupSheets s);
    TGroupSheets chosen_ = TGroupSheets::None;
};

}  // namespace MainSet
