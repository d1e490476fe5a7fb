#pragma once
// The registry of export filter classes that the preview's save dialog offers. It starts
// empty: each format adds itself when the program starts.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/model/export_filter.h"

namespace rep {

// A filter class: makes a filter of the class for a file name.
using TRepExportFilterClass = std::function<std::unique_ptr<TRepExportFilter>(const std::wstring&)>;

struct TRepExportFilterLibraryEntry {
    TRepExportFilterClass FilterClass;
    std::wstring Name;
    std::wstring Extension;
};

class TRepExportFilterLibrary {
public:
    // A class whose name is there already is not added again.
    void AddFilter(TRepExportFilterClass filterClass);
    // "Report file(*.REP)|*.REP", then "|Name (*.EXT)|*.EXT" per filter.
    std::wstring DialogFilter() const;
    const std::vector<TRepExportFilterLibraryEntry>& Entries() const { return entries_; }

private:
    std::vector<TRepExportFilterLibraryEntry> entries_;
};

// The program-wide registry.
TRepExportFilterLibrary& ExportFilterLibrary();

extern const wchar_t* const ReportFileText;  // "Report file"

}  // namespace rep
