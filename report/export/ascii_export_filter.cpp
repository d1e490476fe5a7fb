#include "report/export/ascii_export_filter.h"

#include <memory>

#include "report/run/export_library.h"
#include "report/run/rep_error.h"
#include "ui/atomic_file.h"
#include "ui/cp1251.h"
#include "ui/io_error.h"
#include "ui/utf8.h"

namespace rep {

void TRepAsciiExportFilter::fail(int code) const {
    throw ERepError(ui::toUtf8(ui::IoErrorMessage(code) + L": " + FileName));
}

void TRepAsciiExportFilter::BeginExport(std::int32_t PaperWidth, std::int32_t PaperHeight, const TRepFont& Font) {
    out_.clear();
    grid_.BeginExport(PaperWidth, PaperHeight, Font.Size);
}

void TRepAsciiExportFilter::BeginPage() { grid_.BeginPage(); }

void TRepAsciiExportFilter::WriteText(long double X, long double Y, const TRepFont&, std::uint32_t, TRepTextAlign Alignment,
                                      const std::wstring& Text) {
    grid_.WriteText(X, Y, Alignment, Text);
}

void TRepAsciiExportFilter::FinishPage() {
    for (const auto& line : grid_.FinishPage()) {
        std::string bytes;
        bytes.reserve(line.size() + 2);
        // A character the code page lacks becomes "?" in this plain-text copy.
        for (wchar_t c : line) bytes += static_cast<char>(ui::wideToCp1251(c).value_or('?'));
        bytes += "\r\n";
        out_ += bytes;
    }
}

void TRepAsciiExportFilter::EndExport() {
    // The whole text at once, in place of the old file only when it is complete.
    if (const int code = ui::WriteFileAtomically(FileName, out_)) fail(code);
    out_.clear();
}

void UseTextExport() {
    ExportFilterLibrary().AddFilter([](const std::wstring& name) { return std::make_unique<TRepAsciiExportFilter>(name); });
}

}  // namespace rep
