// Printers' own offsets in Blk.ini: the bytes of the file before and after, what a reader
// of [Settings] alone sees, and which set a printer gets.
#include <gtest/gtest.h>

#include "shell/offsets/print_offsets.h"
#include "shell/offsets/printer_offsets.h"
#include "tests/win/host_files.h"
#include "ui/error.h"

namespace {

using hostfiles::SavedIni;
using SettingsUnit::PrintOffsets;
using SettingsUnit::TPrintOffsets;

const std::string kSettings = "[Settings]\r\nDeltaX1 = 5\r\nDeltaX2=0\r\nDeltaY1=-3\r\n; ours\r\nFontSizeColumn3=12\r\n";
const TPrintOffsets kCommon{5, 0, -3, 0, 0, 0, 12};

std::string section(const std::string& header, const std::string& x1) {
    return "[" + header + "]\r\nDeltaX1=" + x1 +
           "\r\nDeltaX2=2\r\nDeltaY1=3\r\nDeltaY2=4\r\nDeltaXColumn2=5\r\nDeltaXColumn3=6\r\nFontSizeColumn3=11\r\n";
}

class PrinterOffsetsFile : public ::testing::Test {
protected:
    void TearDown() override {
        PrintOffsets = TPrintOffsets{};
        SettingsUnit::LoadPrinterOffsets();
    }
    // What the program reads at start, and what an older program reads: [Settings] alone.
    void load() { SettingsUnit::LoadPrintOffsets(); }
    SavedIni ini;
};

TEST_F(PrinterOffsetsFile, APrintersSetIsAddedAndReplacedWithoutTouchingSettings) {
    ini.write(kSettings);
    load();
    EXPECT_EQ(PrintOffsets, kCommon);
    EXPECT_FALSE(SettingsUnit::OwnPrinterOffsets(L"PDF"));
    EXPECT_EQ(SettingsUnit::PrinterOffsets(L"PDF"), kCommon);

    SettingsUnit::WritePrinterOffsets(L"PDF", {1, 2, 3, 4, 5, 6, 11});
    EXPECT_EQ(ini.read(), kSettings + section("Printer: PDF", "1"));
    SettingsUnit::WritePrinterOffsets(L"Кабинет 12", {-7, 2, 3, 4, 5, 6, 11});
    SettingsUnit::WritePrinterOffsets(L"pdf", {9, 2, 3, 4, 5, 6, 11});
    // "Кабинет 12" in Windows-1251; the section keeps its place and its header as it was:
    // only the keys change.
    const std::string after = kSettings + section("Printer: PDF", "9") +
                              section("Printer: \xCA\xE0\xE1\xE8\xED\xE5\xF2 12", "-7");
    EXPECT_EQ(ini.read(), after);

    // Read again at the next start: [Settings] as before, each printer its own.
    PrintOffsets = {};
    load();
    EXPECT_EQ(PrintOffsets, kCommon);
    TPrintOffsets read;
    EXPECT_TRUE(SettingsUnit::ReadPrintOffsets(read));
    EXPECT_EQ(read, kCommon);
    EXPECT_EQ(SettingsUnit::PrinterOffsets(L"Pdf"), (TPrintOffsets{9, 2, 3, 4, 5, 6, 11}));
    EXPECT_EQ(SettingsUnit::PrinterOffsets(L"кабинет 12"), (TPrintOffsets{-7, 2, 3, 4, 5, 6, 11}));
    EXPECT_EQ(SettingsUnit::PrinterOffsets(L"Other"), kCommon);
    EXPECT_EQ(SettingsUnit::PrinterOffsets(L""), kCommon);

    // Writing [Settings] the old way keeps the printers' sections.
    SettingsUnit::WritePrintOffsets({8, 0, 0, 0, 0, 0, 10});
    load();
    EXPECT_EQ(PrintOffsets, (TPrintOffsets{8, 0, 0, 0, 0, 0, 10}));
    EXPECT_EQ(SettingsUnit::PrinterOffsets(L"PDF"), (TPrintOffsets{9, 2, 3, 4, 5, 6, 11}));
    EXPECT_EQ(SettingsUnit::PrinterOffsets(L"Кабинет 12"), (TPrintOffsets{-7, 2, 3, 4, 5, 6, 11}));
}

TEST_F(PrinterOffsetsFile, BadSetsMissingFilesAndNamesTheFileCannotHold) {
    // A value that does not convert gives that printer the defaults, not the common set.
    ini.write(kSettings + section("Printer: PDF", "abc") + "[Printer: HP]\r\nDeltaY1=4\r\n");
    load();
    EXPECT_EQ(PrintOffsets, kCommon);
    EXPECT_EQ(SettingsUnit::PrinterOffsets(L"PDF"), TPrintOffsets{});
    EXPECT_EQ(SettingsUnit::PrinterOffsets(L"HP"), (TPrintOffsets{0, 0, 4, 0, 0, 0, 10}));

    // Without a file the section comes after the stub an older program expects.
    ini.clear();
    SettingsUnit::WritePrinterOffsets(L"PDF", {1, 2, 3, 4, 5, 6, 11});
    EXPECT_EQ(ini.read(), "[Settings]\r\n" + section("Printer: PDF", "1"));

    // A name outside Windows-1251 is refused by name, and the file stays as it was.
    const auto before = ini.read();
    try {
        SettingsUnit::WritePrinterOffsets(L"打印机", {1, 2, 3, 4, 5, 6, 11});
        ADD_FAILURE() << "written";
    } catch (const ui::Error& e) {
        EXPECT_NE(std::wstring(e.message()).find(L"«打印机»"), std::wstring::npos);
    }
    EXPECT_EQ(ini.read(), before);
    EXPECT_FALSE(SettingsUnit::OwnPrinterOffsets(L"打印机"));
}

}  // namespace
