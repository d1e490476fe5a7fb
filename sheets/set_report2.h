#pragma once
// Sheet 2: the discipline table of page 2 as a report form, never shown.
#include "sheets/report_slot.h"
#include "ui/form.h"

namespace SetReport2 {

class TBlankoSheet2 : public ui::Form {
public:
    TBlankoSheet2();
    SetReportCommon::TReportSlot Report1;
};

extern TBlankoSheet2* BlankoSheet2;

}  // namespace SetReport2
