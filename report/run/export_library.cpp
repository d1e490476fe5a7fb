#include "report/run/export_library.h"

#include <algorithm>

namespace rep {

const wchar_t* const ReportFileText = L"Report file";

void TRepExportFilterLibrary::AddFilter(TRepExportFilterClass filterClass) {
    auto probe = filterClass(L"");
    const std::wstring name = probe->ShortName();
    if (std::any_of(entries_.begin(), entries_.end(), [&](const auto& e) { return e.Name == name; })) return;
    entries_.push_back({std::move(filterClass), name, probe->FileExtension()});
}

std::wstring TRepExportFilterLibrary::DialogFilter() const {
    std::wstring s = std::wstring(ReportFileText) + L"(*.REP)|*.REP";
    for (const auto& e : entries_) s += L"|" + e.Name + L" (*." + e.Extension + L")|*." + e.Extension;
    return s;
}

TRepExportFilterLibrary& ExportFilterLibrary() {
    static TRepExportFilterLibrary library;
    return library;
}

}  // namespace rep
