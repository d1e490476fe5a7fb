#include "report/export/export_filter.h"

#include "report/export/ascii_export_filter.h"

namespace rep {

const wchar_t* const ReportFileText = L"Report file";

std::wstring TRepExportFilter::MakerName() const { return L"Zarechinsk report engine"; }

void TRepExportFilterLibrary::AddFilter(TRepExportFilterClass filterClass) {
    auto probe = filterClass(L"");
    TRepExportFilterLibraryEntry entry{std::move(filterClass), probe->ShortName(), probe->FileExtension()};
    entries_.push_back(std::move(entry));
}

std::wstring TRepExportFilterLibrary::DialogFilter() const {
    std::wstring s = std::wstring(ReportFileText) + L"(*.REP)|*.REP";
    for (const auto& e : entries_) s += L"|" + e.Name + L" (*." + e.Extension + L")|*." + e.Extension;
    return s;
}

TRepExportFilterLibrary& ExportFilterLibrary() {
    // Created before any filter registers; the text filter is the one this program has.
    static TRepExportFilterLibrary library = [] {
        TRepExportFilterLibrary lib;
        lib.AddFilter([](const std::wstring& name) { return std::make_unique<TRepAsciiExportFilter>(name); });
        return lib;
    }();
    return library;
}

}  // namespace rep
