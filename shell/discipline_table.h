#pragma once
#include <array>

namespace MainSet {

constexpr int kRows = 40;
constexpr int kFirstRowTop = 90;
constexpr int kRowPitch = 22;
constexpr int kGradeCount = 13;

// The grade list of every cbMark box, in list order (not sorted).
const std::array<const wchar_t*, kGradeCount>& GradeItems();

}  // namespace MainSet
