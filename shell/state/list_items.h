#pragma once
// The items of the main window's lists, in list order: what an index in the state file means.
#include <array>

namespace MainSet {

constexpr int kGradeCount = 13;

// The items of cbTrial.
const std::array<const wchar_t*, 2>& TrialItems();
// The grade list of every cbMark box (not sorted).
const std::array<const wchar_t*, kGradeCount>& GradeItems();

}  // namespace MainSet
