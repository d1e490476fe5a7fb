#pragma once
#include <array>

#include "shell/state/list_items.h"

namespace MainSet {

constexpr int kRows = 40;
constexpr int kFirstRowTop = 90;
constexpr int kRowPitch = 22;
}  // namespace MainSet
