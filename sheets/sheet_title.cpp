#include "sheets/sheet_title.h"

#include "ui/printer.h"

namespace SetReportCommon {

std::wstring Trimmed(const std::wstring& s) {
    const auto first = s.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return s.substr(first, s.find_last_not_of(L" \t") - first + 1);
}

std::wstring SheetTitle(const std::wstring& surname, int page, const std::wstring& program) {
    const std::wstring pagePart = L"стр. " + std::to_wstring(page);
    std::wstring name = Trimmed(surname);
    const std::size_t room = ui::TPrinter::MaxTitle - pagePart.size() - 2;
    if (name.size() > room) {
        // At a word's end where there is one: "Иванов Иван ..." loses whole names.
        const std::size_t space = name.rfind(L' ', room);
        name = Trimmed(name.substr(0, space != std::wstring::npos && space > 0 ? space : room));
    }
    std::wstring title = name.empty() ? pagePart : name + L", " + pagePart;
    if (!program.empty()) title += L" - " + program;
    return title;
}

}  // namespace SetReportCommon
