#pragma once
// Sheet 2: the discipline table of page 2 as a report form, never shown.
#include <array>
#include <vector>

#include "report/model/label.h"
#include "report/run/report.h"
#include "sheets/sheet_label.h"
#include "sheets/sheet_report.h"
#include "sheets/supplement.h"
#include "ui/form.h"

namespace SetReport2 {

constexpr int kRows = 40;

class TBlankoSheet2 : public ui::Form {
public:
    TBlankoSheet2();

    SetReportCommon::TSheetReport Report1{2};

    void FormCreate();
    void Report1StartPage(rep::TReport& sender);
    void Report1AfterPreview(rep::TReport& sender);
    void FormClose();

    // Row i is element i - 1.
    std::array<rep::TRepLabel*, kRows> RlbDiscipline{};
    std::array<rep::TRepLabel*, kRows> RlbHours{};
    std::array<rep::TRepLabel*, kRows> RlbMark{};
    // Where each column's labels stand between renderings, row by row.
    const std::vector<SetReportCommon::TBasePosition>& DisciplineBases() const { return discipline_; }
    const std::vector<SetReportCommon::TBasePosition>& HoursBases() const { return hours_; }
    const std::vector<SetReportCommon::TBasePosition>& MarkBases() const { return mark_; }

private:
    std::vector<SetReportCommon::TBasePosition> discipline_, hours_, mark_;
    bool released_ = false;
};

extern TBlankoSheet2* BlankoSheet2;

}  // namespace SetReport2
