#pragma once
// The supplement record a sheet renders from: each field's value as it prints (the text its
// box shows), by the field's line in the state file. The main window fills it for the
// ordinary print commands, a state file for a group run; the sheets never reach a window.
#include <array>
#include <string>
#include <string_view>

#include "sheets/supplement_fields.h"

namespace SetReportCommon {

struct TSupplement {
    std::array<std::wstring, StateLineCount> Shown;

    // By control name ("edTown", "cbMark7"); an unknown name throws std::out_of_range.
    const std::wstring& Field(std::wstring_view name) const;
    std::wstring& Field(std::wstring_view name);
    // By DynControls slot, 1..142; another slot throws std::out_of_range.
    const std::wstring& Slot(int slot) const;

    bool operator==(const TSupplement&) const = default;
};

}  // namespace SetReportCommon
