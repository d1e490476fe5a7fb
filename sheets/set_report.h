#pragma once
// Sheet 1: page 1 of the supplement as a report form, never shown.
#include "sheets/report_slot.h"
#include "ui/form.h"

namespace SetReport {

class TBlankoSheet1 : public ui::Form {
public:
    TBlankoSheet1();
    SetReportCommon::TReportSlot Report1;
};

extern TBlankoSheet1* BlankoSheet1;

}  // namespace SetReport
