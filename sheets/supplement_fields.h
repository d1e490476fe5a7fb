#pragma once
// The fields of the supplement record, in the order of the lines of its state file: one
// main-window field per line, meaning by position.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace SetReportCommon {

inline constexpr std::size_t StateLineCount = 175;

enum class TStateKind { Text, Index };

struct TStateField {
    std::string Name;  // control name, e.g. "edTown", "cbMark40"
    TStateKind Kind;
    int DynSlot;       // slot in DynControls (1..142), 0 for a fixed field
};

// The layout of the file: StateFields()[n - 1] describes line n.
const std::array<TStateField, StateLineCount>& StateFields();

// 0-based position of a field's line, or nullopt for an unknown name.
std::optional<std::size_t> FindStateField(std::string_view name);

}  // namespace SetReportCommon
