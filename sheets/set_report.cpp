#include "sheets/set_report.h"

namespace SetReport {

TBlankoSheet1* BlankoSheet1 = nullptr;

TBlankoSheet1::TBlankoSheet1() {
    name = L"BlankoSheet1";
    createForm({L"Страница 1 Приложения к диплому", 794, 1147, ui::BorderStyle::Sizeable, false, false, false,
                false});
}

}  // namespace SetReport
