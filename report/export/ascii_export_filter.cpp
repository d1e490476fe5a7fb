#include "report/export/ascii_export_filter.h"

#include <cerrno>
#include <filesystem>

#include "report/run/rep_error.h"
#include "ui/cp1251.h"
#include "ui/io_error.h"
#include "ui/utf8.h"

namespace rep {

void TRepAsciiExportFilter::fail() const {
    int code = ui::IoCodeFromErrno(errno);
    throw ERepError(ui::toUtf8(ui::IoErrorMessage(code) + L": " + FileName));
}

void TRepAsciiExportFilter::BeginExport(std::int32_t PaperWidth, std::int32_t PaperHeight, const TRepFont& Font) {
    errno = 0;
    out_.open(std::filesystem::path(FileName), std::ios::binary | std::ios::trunc);
    if (!out_) fail();
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
        errno = 0;
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out_) fail();
    }
}

void TRepAsciiExportFilter::EndExport() {
    errno = 0;
    out_.flush();
    if (!out_) fail();
    out_.close();
    if (out_.fail()) fail();
}

}  // namespace rep
