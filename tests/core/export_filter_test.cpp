// The filter registry and the text export written to a real file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "report/export/ascii_export_filter.h"
#include "report/run/export_library.h"
#include "report/run/rep_error.h"

namespace {

std::filesystem::path tempPath(const char* name) { return std::filesystem::temp_directory_path() / name; }

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ExportFilterLibrary, OffersTheReportFileThenTheTextFilterOnce) {
    rep::UseTextExport();
    rep::UseTextExport();
    auto& lib = rep::ExportFilterLibrary();
    EXPECT_EQ(lib.DialogFilter(), L"Report file(*.REP)|*.REP|Text file (*.TXT)|*.TXT");
    ASSERT_EQ(lib.Entries().size(), 1u);
    EXPECT_EQ(lib.Entries()[0].Name, L"Text file");
    EXPECT_EQ(lib.Entries()[0].Extension, L"TXT");
    auto f = lib.Entries()[0].FilterClass(L"x.txt");
    EXPECT_EQ(f->FileName, L"x.txt");
    EXPECT_EQ(f->DescriptionText(), L"Text export (ASCII) filter");
    rep::TRepExportFilter base(L"");
    EXPECT_EQ(base.ShortName(), L"Abstract filter");
    EXPECT_EQ(base.DescriptionText(), L"Abstract non-working export filter");
    EXPECT_EQ(base.FileExtension(), L"");
}

TEST(AsciiExport, WritesTwoPagesAsCp1251LinesWithoutSeparators) {
    auto path = tempPath("blk_export_test.txt");
    rep::TRepAsciiExportFilter f(path.wstring());
    rep::TRepFont font;  // Arial 10
    f.BeginExport(2100, 2970, font);
    EXPECT_EQ(f.Grid().RowCount(), 84);
    f.BeginPage();
    // Row 1 at y = 35.28, text from the left margin (x = 100 -> column round(4.82) = 5).
    f.WriteText(100, 35.2777777L, font, 0xFFFFFF, rep::TRepTextAlign::LeftJustify, L"Иванов");
    f.WriteText(100, 35.2777777L * 3, font, 0xFFFFFF, rep::TRepTextAlign::LeftJustify, L"Пётр");
    f.FinishPage();
    f.BeginPage();
    f.WriteText(0, 0, font, 0xFFFFFF, rep::TRepTextAlign::LeftJustify, L"стр2");
    f.FinishPage();
    f.EndExport();
    std::string expected = std::string("    ") + "\xC8\xE2\xE0\xED\xEE\xE2" + "\r\n" + "    " +
                           "\xCF\xB8\xF2\xF0" + "\r\n" + "\xF1\xF2\xF0" + "2\r\n";
    EXPECT_EQ(slurp(path), expected);
    std::filesystem::remove(path);
}

TEST(AsciiExport, AFileThatCannotBeCreatedIsAnError) {
    auto path = tempPath("no_such_folder_blk") / "x.txt";
    rep::TRepAsciiExportFilter f(path.wstring());
    // The text is written whole at the end, and only then can the folder fail it.
    f.BeginExport(2100, 2970, rep::TRepFont{});
    f.BeginPage();
    f.WriteText(100, 100, rep::TRepFont{}, 0, rep::TRepTextAlign::LeftJustify, L"x");
    f.FinishPage();
    EXPECT_THROW(f.EndExport(), rep::ERepError);
    EXPECT_FALSE(std::filesystem::exists(path.parent_path()));
}

}  // namespace
