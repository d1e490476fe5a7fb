#pragma once
// Export filters: what a report run hands the text of its labels to, and the registry of
// filter classes that the preview's save dialog offers.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/export/ascii_grid.h"
#include "report/model/rep_font.h"

namespace rep {

class TRepExportFilter {
public:
    explicit TRepExportFilter(std::wstring fileName) : FileName(std::move(fileName)) {}
    virtual ~TRepExportFilter() = default;
    TRepExportFilter(const TRepExportFilter&) = delete;
    TRepExportFilter& operator=(const TRepExportFilter&) = delete;

    virtual std::wstring DescriptionText() const { return L"Abstract non-working export filter"; }
    virtual std::wstring FileExtension() const { return L""; }
    virtual std::wstring ShortName() const { return L"Abstract filter"; }
    virtual std::wstring MakerName() const;
    virtual void BeginExport(std::int32_t /*PaperWidth*/, std::int32_t /*PaperHeight*/, const TRepFont& /*Font*/) {}
    virtual void FinishPage() {}
    virtual void EndExport() {}
    virtual void BeginPage() {}
    virtual void WriteText(long double /*X*/, long double /*Y*/, const TRepFont& /*Font*/,
                           std::uint32_t /*BackColor*/, TRepTextAlign /*Alignment*/, const std::wstring& /*Text*/) {}

    const std::wstring FileName;
};

// A filter class: makes a filter of the class for a file name.
using TRepExportFilterClass = std::function<std::unique_ptr<TRepExportFilter>(const std::wstring&)>;

struct TRepExportFilterLibraryEntry {
    TRepExportFilterClass FilterClass;
    std::wstring Name;
    std::wstring Extension;
};

class TRepExportFilterLibrary {
public:
    void AddFilter(TRepExportFilterClass filterClass);
    // "Report file(*.REP)|*.REP", then "|Name (*.EXT)|*.EXT" per filter.
    std::wstring DialogFilter() const;
    const std::vector<TRepExportFilterLibraryEntry>& Entries() const { return entries_; }

private:
    std::vector<TRepExportFilterLibraryEntry> entries_;
};

// The program-wide registry; the text filter registers itself in it first.
TRepExportFilterLibrary& ExportFilterLibrary();

extern const wchar_t* const ReportFileText;  // "Report file"

}  // namespace rep
