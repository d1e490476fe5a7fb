#include "sheets/set_report2.h"

namespace SetReport2 {

TBlankoSheet2* BlankoSheet2 = nullptr;

TBlankoSheet2::TBlankoSheet2() {
    name = L"BlankoSheet2";
    createForm({L"Страница 2 Приложения к диплому", 794, 1123, ui::BorderStyle::Sizeable, false, false, false,
                false});
}

}  // namespace SetReport2
