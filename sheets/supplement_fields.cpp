#include "sheets/supplement_fields.h"

namespace SetReportCommon {
namespace {

// The file's lines as groups; a group of Count > 0 is Name1..NameCount.
struct TStateGroup {
    int FirstLine;
    std::string_view Name;
    int Count;  // 0: a single fixed field named Name
    TStateKind Kind;
    int FirstDynSlot;
};

constexpr TStateKind T = TStateKind::Text;
constexpr TStateKind I = TStateKind::Index;

constexpr TStateGroup kGroups[] = {
    {1, "edTown", 0, T, 0},          {2, "edSchool1", 0, T, 0},
    {3, "edSchool2", 0, T, 0},       {4, "edSchool3", 0, T, 0},
    {5, "edSchool4", 0, T, 0},       {6, "edSurName", 0, T, 0},
    {7, "edName", 0, T, 0},          {8, "edBirthDay", 0, T, 0},
    {9, "cbTrial", 0, I, 0},         {10, "edPrevDocum1", 0, T, 0},
    {11, "edPrevDocum2", 0, T, 0},   {12, "edPrevDocum3", 0, T, 0},
    {13, "edEntry1", 0, T, 0},       {14, "edEntry2", 0, T, 0},
    {15, "edEntry3", 0, T, 0},       {16, "edNumToDipl", 0, T, 0},
    {17, "edRegNo", 0, T, 0},        {18, "edDateOut", 0, T, 0},
    {19, "edEndLern1", 0, T, 0},     {20, "edEndLern3", 0, T, 0},  // third before second
    {21, "edEndLern2", 0, T, 0},     {22, "edPresentDate", 0, T, 0},
    {23, "edTimeLern", 0, T, 0},     {24, "edSpecial", 0, T, 0},
    {25, "edSpecialicy", 0, T, 0},   {26, "edCourseWork", 4, T, 5},
    {30, "edPraktic", 4, T, 9},      {34, "edNameDiplPrj0", 0, T, 0},
    {35, "edNameDiplPrj1", 0, T, 0}, {36, "edNameDiplPrj2", 0, T, 0},
    {37, "edResult1", 0, T, 0},      {38, "edResult2", 0, T, 0},
    {39, "edExamen1", 0, T, 0},      {40, "edExamen2", 0, T, 0},
    {41, "edExamMore", 10, T, 13},   {51, "edQualify", 0, T, 0},
    {52, "edSpec", 4, T, 1},         {56, "edDiscipline", 40, T, 23},
    {96, "edHours", 40, T, 63},      {136, "cbMark", 40, I, 103},
};

constexpr bool GroupsCoverEveryLine() {
    int next = 1;
    for (const auto& g : kGroups) {
        if (g.FirstLine != next) return false;
        next += g.Count == 0 ? 1 : g.Count;
    }
    return next == static_cast<int>(StateLineCount) + 1;
}
static_assert(GroupsCoverEveryLine());

std::array<TStateField, StateLineCount> BuildFields() {
    std::array<TStateField, StateLineCount> fields;
    std::size_t line = 0;
    for (const auto& g : kGroups) {
        if (g.Count == 0) {
            fields[line++] = {std::string(g.Name), g.Kind, 0};
            continue;
        }
        for (int i = 0; i < g.Count; ++i)
            fields[line++] = {std::string(g.Name) + std::to_string(i + 1), g.Kind,
                              g.FirstDynSlot + i};
    }
    return fields;
}

}  // namespace

const std::array<TStateField, StateLineCount>& StateFields() {
    static const auto fields = BuildFields();
    return fields;
}

std::optional<std::size_t> FindStateField(std::string_view name) {
    const auto& fields = StateFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].Name == name) return i;
    return std::nullopt;
}

}  // namespace SetReportCommon
