#include "sheets/set_report.h"

#include <algorithm>

#include "sheets/blank_guard.h"

namespace SetReport {

TBlankoSheet1* BlankoSheet1 = nullptr;

namespace {

using rep::TRepAlignment;
constexpr TRepAlignment C = TRepAlignment::taCenter;
constexpr TRepAlignment L = TRepAlignment::taLeftJustify;

struct StaticDef {
    const wchar_t* name;
    const wchar_t* field;
    int left, top, width, height;
    TRepAlignment align;
    int pt;
};

// The form definition's labels in child order (the order they are drawn).
const StaticDef kStatic[] = {
    {L"RlbTown", L"edTown", 570, 127, 220, 18, C, 11},
    {L"RlbName", L"edName", 40, 70, 500, 18, C, 11},
    {L"RlbSurName", L"edSurName", 190, 50, 350, 18, C, 11},
    {L"RlbSchool1", L"edSchool1", 570, 148, 220, 18, C, 11},
    {L"RlbSchool2", L"edSchool2", 570, 169, 220, 18, C, 11},
    {L"RlbSchool3", L"edSchool3", 570, 190, 220, 18, C, 11},
    {L"RlbBirthDay", L"edBirthDay", 170, 93, 370, 18, C, 11},
    {L"RlbNumToDipl", L"edNumToDipl", 621, 297, 140, 19, C, 12},
    {L"RlbRegNo", L"edRegNo", 588, 334, 190, 19, C, 12},
    {L"RlbDateOut", L"edDateOut", 577, 377, 180, 19, C, 12},
    {L"RlbedPresentDate", L"edPresentDate", 614, 516, 140, 19, L, 12},
    {L"RlbQualify", L"edQualify", 570, 585, 220, 18, C, 10},
    {L"RlbPrevDocum1", L"edPrevDocum1", 350, 139, 190, 18, L, 10},
    {L"RlbTrial", L"cbTrial", 220, 208, 81, 18, C, 10},
    {L"RlbEntry1", L"edEntry1", 160, 234, 380, 18, L, 10},
    {L"RlbEntry2", L"edEntry2", 40, 255, 500, 18, L, 10},
    {L"RlbEntry3", L"edEntry3", 40, 276, 500, 18, L, 10},
    {L"RlbEndLern1", L"edEndLern1", 220, 304, 320, 18, L, 10},
    {L"RlbEndLern2", L"edEndLern2", 40, 325, 500, 18, C, 10},
    {L"RlbEndLern3", L"edEndLern3", 40, 346, 500, 18, C, 10},
    {L"RlbTimeLern", L"edTimeLern", 355, 372, 185, 18, L, 10},
    {L"RlbSpecial", L"edSpecial", 160, 400, 380, 18, L, 10},
    {L"RlbSpecialicy", L"edSpecialicy", 160, 424, 380, 18, L, 10},
    {L"RlbNameDiplPrj1", L"edNameDiplPrj1", 40, 696, 500, 18, C, 10},
    {L"RlbNameDiplPrj2", L"edNameDiplPrj2", 40, 716, 500, 18, C, 10},
    {L"RlbResult1", L"edResult1", 185, 737, 355, 18, L, 10},
    {L"RlbResult2", L"edResult2", 40, 756, 500, 18, C, 10},
    {L"RlbExamen1", L"edExamen1", 220, 789, 320, 18, C, 10},
    {L"RlbExamen2", L"edExamen2", 40, 809, 500, 18, C, 10},
    {L"RlbSchool4", L"edSchool4", 570, 211, 220, 18, C, 11},
    {L"RlbPrevDocum2", L"edPrevDocum2", 40, 159, 500, 18, C, 10},
    {L"RlbPrevDocum3", L"edPrevDocum3", 40, 179, 500, 18, C, 10},
    {L"RlbNameDiplPrj0", L"edNameDiplPrj0", 360, 676, 180, 18, C, 10},
};

// The class declares its fields in another order; the handlers walk that one.
const wchar_t* const kDeclared[] = {
    L"RlbTown", L"RlbName", L"RlbSurName", L"RlbSchool1", L"RlbSchool2", L"RlbSchool3", L"RlbSchool4",
    L"RlbBirthDay", L"RlbNumToDipl", L"RlbRegNo", L"RlbDateOut", L"RlbedPresentDate", L"RlbQualify",
    L"RlbPrevDocum1", L"RlbPrevDocum2", L"RlbPrevDocum3", L"RlbTrial", L"RlbEntry1", L"RlbEntry2", L"RlbEntry3",
    L"RlbEndLern1", L"RlbEndLern2", L"RlbEndLern3", L"RlbTimeLern", L"RlbSpecial", L"RlbSpecialicy",
    L"RlbNameDiplPrj0", L"RlbNameDiplPrj1", L"RlbNameDiplPrj2", L"RlbResult1", L"RlbResult2", L"RlbExamen1",
    L"RlbExamen2",
};

// Caption order of the page start.
const wchar_t* const kCaptionOrder[] = {
    L"RlbTown", L"RlbSurName", L"RlbName", L"RlbSchool1", L"RlbSchool2", L"RlbSchool3", L"RlbSchool4",
    L"RlbBirthDay", L"RlbNumToDipl", L"RlbRegNo", L"RlbDateOut", L"RlbedPresentDate", L"RlbQualify",
};
const wchar_t* const kCaptionOrder2[] = {
    L"RlbPrevDocum1", L"RlbPrevDocum2", L"RlbPrevDocum3", L"RlbTrial", L"RlbEntry1", L"RlbEntry2", L"RlbEntry3",
    L"RlbEndLern1", L"RlbEndLern2", L"RlbEndLern3", L"RlbTimeLern", L"RlbSpecial", L"RlbSpecialicy",
};
const wchar_t* const kCaptionOrder3[] = {
    L"RlbNameDiplPrj0", L"RlbNameDiplPrj1", L"RlbNameDiplPrj2", L"RlbResult1", L"RlbResult2", L"RlbExamen1",
    L"RlbExamen2",
};

const wchar_t* fieldOf(const std::wstring& label) {
    for (const auto& d : kStatic)
        if (label == d.name) return d.field;
    return nullptr;
}

}  // namespace

TBlankoSheet1::TBlankoSheet1() {
    name = L"BlankoSheet1";
    createForm({L"Страница 1 Приложения к диплому", 794, 1147, ui::BorderStyle::Sizeable, false, false, false, false});
    SetReportCommon::SetUpSheetReport(Report1, L"");
    Report1.OnStartPage = [this](rep::TReport& r) { Report1StartPage(r); };
    Report1.AfterPreview = [this](rep::TReport& r) { Report1AfterPreview(r); };
    buildStaticLabels();
    FormCreate();
    Report1.FieldOf = SetReportCommon::FieldsOf(*this);
}

void TBlankoSheet1::buildStaticLabels() {
    for (const auto& d : kStatic)
        SetReportCommon::DefinedLabel(Report1, d.name, d.left, d.top, d.width, d.height, d.align, d.pt);
    for (const wchar_t* n : kDeclared) declared_.push_back(label(n));
}

rep::TRepLabel* TBlankoSheet1::label(const std::wstring& n) const {
    for (rep::TRepPrintable* p : Report1.Printables())
        if (p->Name == n) return dynamic_cast<rep::TRepLabel*>(p);
    return nullptr;
}

void TBlankoSheet1::FormCreate() {
    using SetReportCommon::RunTimeLabel;
    for (int i = 0; i < 4; ++i) {
        RlbSpec[static_cast<size_t>(i)] = &RunTimeLabel(Report1, 570, 630 + 21 * i, 220, 18);
        RlbSpec[static_cast<size_t>(i)]->SetAlignment(rep::TRepAlignment::taCenter);
    }
    for (int i = 0; i < 4; ++i) RlbCourseWork[static_cast<size_t>(i)] = &RunTimeLabel(Report1, 40, 464 + 21 * i, 500, 18);
    for (int i = 0; i < 4; ++i) RlbPraktic[static_cast<size_t>(i)] = &RunTimeLabel(Report1, 40, 563 + 22 * i, 500, 18);
    for (int i = 0; i < 10; ++i) RlbExamMore[static_cast<size_t>(i)] = &RunTimeLabel(Report1, 40, 846 + 21 * i, 500, 18);

    bases_.clear();
    for (rep::TRepLabel* l : declared_) bases_.push_back(SetReportCommon::BaseOf(*l));
    for (auto* arr : {RlbSpec.data(), RlbCourseWork.data(), RlbPraktic.data()})
        for (int i = 0; i < 4; ++i) bases_.push_back(SetReportCommon::BaseOf(*arr[i]));
    for (auto* l : RlbExamMore) bases_.push_back(SetReportCommon::BaseOf(*l));

    captionOrder_.clear();
    auto named = [&](const wchar_t* n) { captionOrder_.push_back({label(n), fieldOf(n), 0}); };
    for (const wchar_t* n : kCaptionOrder) named(n);
    for (int i = 0; i < 4; ++i) captionOrder_.push_back({RlbSpec[static_cast<size_t>(i)], nullptr, 1 + i});
    for (const wchar_t* n : kCaptionOrder2) named(n);
    for (int i = 0; i < 4; ++i) captionOrder_.push_back({RlbCourseWork[static_cast<size_t>(i)], nullptr, 5 + i});
    for (int i = 0; i < 4; ++i) captionOrder_.push_back({RlbPraktic[static_cast<size_t>(i)], nullptr, 9 + i});
    for (const wchar_t* n : kCaptionOrder3) named(n);
    for (int i = 0; i < 10; ++i) captionOrder_.push_back({RlbExamMore[static_cast<size_t>(i)], nullptr, 13 + i});
}

void TBlankoSheet1::Report1StartPage(rep::TReport& sender) {
    const SetReportCommon::TPrintOffsets o = SetReportCommon::UsableOffsets(Report1);
    // Always from the base, so a rendering never moves a label by more than one offset.
    for (const auto& b : bases_) SetReportCommon::PlaceAt(b, o.DeltaX1, o.DeltaY1);
    const SetReportCommon::TSupplement& record = Report1.RecordOfPage(sender.PageNumber());
    for (const Caption& s : captionOrder_) {
        if (!s.label) continue;
        s.label->SetCaption(s.field ? record.Field(s.field) : record.Slot(s.slot));
    }
}

void TBlankoSheet1::Report1AfterPreview(rep::TReport&) {
    for (const auto& b : bases_) SetReportCommon::PlaceAt(b, 0, 0);
}

void TBlankoSheet1::FormClose() {
    if (runTimeReleased_) return;
    runTimeReleased_ = true;
    std::vector<rep::TRepLabel*> gone;
    for (auto* arr : {RlbSpec.data(), RlbCourseWork.data(), RlbPraktic.data()})
        for (int i = 0; i < 4; ++i) gone.push_back(arr[i]);
    for (auto* l : RlbExamMore) gone.push_back(l);
    // Released labels are never touched again.
    auto isGone = [&](rep::TRepLabel* l) { return std::find(gone.begin(), gone.end(), l) != gone.end(); };
    std::erase_if(bases_, [&](const auto& b) { return isGone(b.label); });
    std::erase_if(captionOrder_, [&](const Caption& s) { return isGone(s.label); });
    for (rep::TRepLabel* l : gone) Report1.Release(l);
    RlbSpec.fill(nullptr);
    RlbCourseWork.fill(nullptr);
    RlbPraktic.fill(nullptr);
    RlbExamMore.fill(nullptr);
}

}  // namespace SetReport
