#pragma once
// What a report run hands the text of its labels to when it exports: the labels write
// into it, the formats implement it above.
#include <cstdint>
#include <string>

#include "report/model/rep_font.h"

namespace rep {

enum class TRepTextAlign { LeftJustify = 0, RightJustify = 1, Center = 2 };

class TRepExportFilter {
public:
    explicit TRepExportFilter(std::wstring fileName) : FileName(std::move(fileName)) {}
    virtual ~TRepExportFilter() = default;
    TRepExportFilter(const TRepExportFilter&) = delete;
    TRepExportFilter& operator=(const TRepExportFilter&) = delete;

    virtual std::wstring DescriptionText() const { return L"Abstract non-working export filter"; }
    virtual std::wstring FileExtension() const { return L""; }
    virtual std::wstring ShortName() const { return L"Abstract filter"; }
    virtual std::wstring MakerName() const { return L"Zarechinsk report engine"; }
    virtual void BeginExport(std::int32_t /*PaperWidth*/, std::int32_t /*PaperHeight*/, const TRepFont& /*Font*/) {}
    virtual void FinishPage() {}
    virtual void EndExport() {}
    virtual void BeginPage() {}
    virtual void WriteText(long double /*X*/, long double /*Y*/, const TRepFont& /*Font*/,
                           std::uint32_t /*BackColor*/, TRepTextAlign /*Alignment*/, const std::wstring& /*Text*/) {}

    const std::wstring FileName;
};

}  // namespace rep
