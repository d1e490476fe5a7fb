#pragma once
// The text export: labels' lines on a character grid, written as Windows-1251 text.
#include <string>

#include "report/export/ascii_grid.h"
#include "report/model/export_filter.h"

namespace rep {

class TRepAsciiExportFilter : public TRepExportFilter {
public:
    explicit TRepAsciiExportFilter(std::wstring fileName) : TRepExportFilter(std::move(fileName)) {}
    std::wstring DescriptionText() const override { return L"Text export (ASCII) filter"; }
    std::wstring FileExtension() const override { return L"TXT"; }
    std::wstring ShortName() const override { return L"Text file"; }
    void BeginExport(std::int32_t PaperWidth, std::int32_t PaperHeight, const TRepFont& Font) override;
    void BeginPage() override;
    void WriteText(long double X, long double Y, const TRepFont& Font, std::uint32_t BackColor,
                   TRepTextAlign Alignment, const std::wstring& Text) override;
    void FinishPage() override;
    void EndExport() override;

    const TRepAsciiGrid& Grid() const { return grid_; }

private:
    [[noreturn]] void fail(int code) const;
    TRepAsciiGrid grid_;
    std::string out_;  // the file's bytes, written whole at the end
};

// Adds the text export to the program-wide registry of the save dialog (once).
void UseTextExport();

}  // namespace rep
