#pragma once
// Sheet 1: page 1 of the supplement as a report form, never shown.
#include <array>
#include <vector>

#include "report/model/label.h"
#include "report/run/report.h"
#include "sheets/sheet_label.h"
#include "sheets/sheet_report.h"
#include "sheets/supplement.h"
#include "ui/form.h"

namespace SetReport {

class TBlankoSheet1 : public ui::Form {
public:
    TBlankoSheet1();

    SetReportCommon::TSheetReport Report1{1};

    void FormCreate();
    void Report1StartPage(rep::TReport& sender);
    void Report1AfterPreview(rep::TReport& sender);
    void FormClose();

    // The static labels by name (RlbTown, ...), or nullptr.
    rep::TRepLabel* label(const std::wstring& name) const;
    std::array<rep::TRepLabel*, 4> RlbSpec{};
    std::array<rep::TRepLabel*, 4> RlbCourseWork{};
    std::array<rep::TRepLabel*, 4> RlbPraktic{};
    std::array<rep::TRepLabel*, 10> RlbExamMore{};
    // Where every label stands between renderings, in drawing order.
    const std::vector<SetReportCommon::TBasePosition>& BasePositions() const { return bases_; }

private:
    struct Caption {
        rep::TRepLabel* label;
        const wchar_t* field;  // the record's field, or nullptr with slot
        int slot;
    };
    void buildStaticLabels();
    std::vector<SetReportCommon::TBasePosition> bases_;  // declared order, then run-time
    std::vector<Caption> captionOrder_;
    std::vector<rep::TRepLabel*> declared_;
    bool runTimeReleased_ = false;
};

extern TBlankoSheet1* BlankoSheet1;

}  // namespace SetReport
