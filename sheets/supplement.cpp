#include "sheets/supplement.h"

#include <stdexcept>

namespace SetReportCommon {

namespace {
std::size_t lineOf(std::wstring_view name) {
    std::string narrow;
    for (wchar_t c : name) {
        if (c > 0x7F) throw std::out_of_range("no supplement field with a non-ASCII name");
        narrow += static_cast<char>(c);
    }
    const auto line = FindStateField(narrow);
    if (!line) throw std::out_of_range("no supplement field " + narrow);
    return *line;
}

const std::array<std::size_t, 143>& slotLines() {
    static const auto lines = [] {
        std::array<std::size_t, 143> l{};
        l.fill(StateLineCount);
        const auto& fields = StateFields();
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].DynSlot > 0) l[static_cast<std::size_t>(fields[i].DynSlot)] = i;
        return l;
    }();
    return lines;
}
}  // namespace

const std::wstring& TSupplement::Field(std::wstring_view name) const { return Shown[lineOf(name)]; }
std::wstring& TSupplement::Field(std::wstring_view name) { return Shown[lineOf(name)]; }

const std::wstring& TSupplement::Slot(int slot) const {
    const auto& lines = slotLines();
    if (slot < 1 || static_cast<std::size_t>(slot) >= lines.size() || lines[static_cast<std::size_t>(slot)] >= Shown.size())
        throw std::out_of_range("no supplement slot " + std::to_string(slot));
    return Shown[lines[static_cast<std::size_t>(slot)]];
}

}  // namespace SetReportCommon
