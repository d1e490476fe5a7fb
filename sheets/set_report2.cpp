#include "sheets/set_report2.h"

#include "sheets/blank_guard.h"

namespace SetReport2 {

TBlankoSheet2* BlankoSheet2 = nullptr;

namespace {
constexpr int kFirstTop = 155;
constexpr int kPitch = 18;
constexpr int kHeight = 17;
int rowTop(int i) { return kFirstTop + kPitch * i; }
}  // namespace

TBlankoSheet2::TBlankoSheet2() {
    name = L"BlankoSheet2";
    createForm({L"Страница 2 Приложения к диплому", 794, 1123, ui::BorderStyle::Sizeable, false, false, false, false});
    SetReportCommon::SetUpSheetReport(Report1, L"");
    Report1.OnStartPage = [this](rep::TReport& r) { Report1StartPage(r); };
    Report1.AfterPreview = [this](rep::TReport& r) { Report1AfterPreview(r); };
    FormCreate();
    Report1.FieldOf = SetReportCommon::FieldsOf(*this);
}

void TBlankoSheet2::FormCreate() {
    using SetReportCommon::RunTimeLabel;
    for (int i = 0; i < kRows; ++i) RlbDiscipline[static_cast<size_t>(i)] = &RunTimeLabel(Report1, 65, rowTop(i), 480, kHeight);
    for (int i = 0; i < kRows; ++i) {
        RlbHours[static_cast<size_t>(i)] = &RunTimeLabel(Report1, 540, rowTop(i), 80, kHeight);
        RlbHours[static_cast<size_t>(i)]->SetAlignment(rep::TRepAlignment::taCenter);
    }
    for (int i = 0; i < kRows; ++i) RlbMark[static_cast<size_t>(i)] = &RunTimeLabel(Report1, 650, rowTop(i), 150, kHeight);
    discipline_.clear();
    hours_.clear();
    mark_.clear();
    for (int i = 0; i < kRows; ++i) {
        discipline_.push_back(SetReportCommon::BaseOf(*RlbDiscipline[static_cast<size_t>(i)]));
        hours_.push_back(SetReportCommon::BaseOf(*RlbHours[static_cast<size_t>(i)]));
        mark_.push_back(SetReportCommon::BaseOf(*RlbMark[static_cast<size_t>(i)]));
    }
}

void TBlankoSheet2::Report1StartPage(rep::TReport& sender) {
    if (released_) return;
    const SetReportCommon::TPrintOffsets o = SetReportCommon::UsableOffsets(Report1);
    const std::int64_t x = o.DeltaX2;
    for (const auto& b : discipline_) SetReportCommon::PlaceAt(b, x, o.DeltaY2);
    for (const auto& b : hours_) SetReportCommon::PlaceAt(b, x + o.DeltaXColumn2, o.DeltaY2);
    for (const auto& b : mark_) SetReportCommon::PlaceAt(b, x + o.DeltaXColumn3, o.DeltaY2);
    // A size of 0 leaves the font as the last non-zero size set it.
    if (o.FontSizeColumn3 != 0)
        for (rep::TRepLabel* l : RlbMark) l->SetFontSize(o.FontSizeColumn3);
    const SetReportCommon::TSupplement& record = Report1.RecordOfPage(sender.PageNumber());
    for (int i = 0; i < kRows; ++i) {
        RlbDiscipline[static_cast<size_t>(i)]->SetCaption(record.Slot(23 + i));
        RlbHours[static_cast<size_t>(i)]->SetCaption(record.Slot(63 + i));
        RlbMark[static_cast<size_t>(i)]->SetCaption(record.Slot(103 + i));
    }
}

void TBlankoSheet2::Report1AfterPreview(rep::TReport&) {
    if (released_) return;
    for (auto* list : {&discipline_, &hours_, &mark_})
        for (const auto& b : *list) SetReportCommon::PlaceAt(b, 0, 0);
}

void TBlankoSheet2::FormClose() {
    if (released_) return;
    released_ = true;
    for (auto* arr : {&RlbDiscipline, &RlbHours, &RlbMark})
        for (auto*& l : *arr) {
            Report1.Release(l);
            l = nullptr;
        }
    discipline_.clear();
    hours_.clear();
    mark_.clear();
}

}  // namespace SetReport2
