// A machine without printers. These run in win_tests_noprinter (tests/CMakeLists.txt):
// a Wine prefix of their own with CUPS hidden from Wine, BLK_NO_PRINTER=1.
#include <gtest/gtest.h>

#include "report/run/printer_settings.h"
#include "tests/win/printer_env.h"
#include "ui/error.h"
#include "ui/printer.h"

namespace {

using namespace rep;

TEST(NoPrinter, PrinterObjectListsNothing) {
    SKIP_UNLESS_NO_PRINTER();
    ui::TPrinter printer;
    EXPECT_TRUE(printer.printers().empty());
    EXPECT_EQ(printer.defaultIndex(), -1);
    EXPECT_EQ(printer.printerIndex(), -1);
    EXPECT_TRUE(printer.problems().empty());  // an empty list is an answer, not a failure
    const ui::PrinterDevice d = printer.getPrinter();
    EXPECT_TRUE(d.device.empty());
    EXPECT_EQ(d.devMode, nullptr);
    EXPECT_THROW(printer.handle(), ui::Error);
    EXPECT_THROW(printer.beginDoc(L"nothing"), ui::Error);
    EXPECT_FALSE(printer.printing());
    printer.setPrinterIndex(-1);
    EXPECT_EQ(printer.printerIndex(), -1);
    EXPECT_THROW(printer.setPrinterIndex(0), ui::Error);
}

// The report printer binds nothing without a printer; a printer object that lists
// none, bound anyway, reads nothing either.
TEST(NoPrinter, SettingsFallBack) {
    SKIP_UNLESS_NO_PRINTER();
    ui::TPrinter printer;
    for (bool bindEmpty : {false, true}) {
        TPrinterSettings s;
        if (bindEmpty) s.Bind(&printer);
        EXPECT_EQ(s.Bound(), bindEmpty);
        for (DWORD bits : {DM_ORIENTATION, DM_PAPERSIZE, DM_PAPERLENGTH, DM_PAPERWIDTH, DM_COPIES,
                           DM_DEFAULTSOURCE, DM_DUPLEX})
            EXPECT_FALSE(s.FieldSupported(bits)) << bits;

        s.SetCopies(3);
        s.SetOrientation(TRepOrientation::poLandscape);
        s.SetOutputBin(TRepBin::Cassette);
        s.SetPaperWidth(1000);
        s.SetPaperLength(1000);
        EXPECT_EQ(s.Copies(), 1);
        EXPECT_EQ(s.Orientation(), TRepOrientation::poPortrait);
        EXPECT_EQ(s.OutputBin(), TRepBin::First);

        for (int i = 1; i < PaperSizeCount; ++i) {
            s.SetPaperSize(static_cast<TRepPaperSize>(i));
            EXPECT_EQ(s.PaperSize(), TRepPaperSize::A4) << i;
        }
        EXPECT_EQ(s.PaperWidth(), 2100);  // from the standard table
        EXPECT_EQ(s.PaperLength(), 2970);
        EXPECT_EQ(s.PixelsPerInchX(), 0);
        EXPECT_EQ(s.LeftOffset(), 0);
        EXPECT_EQ(s.TopOffset(), 0);

        s.WriteDeviceSettings();  // nothing to write into

        s.SetPaperSize(TRepPaperSize::Default);  // always taken
        EXPECT_EQ(s.PaperSize(), TRepPaperSize::Default);
        EXPECT_EQ(s.PaperWidth(), 0);
        EXPECT_EQ(s.PaperLength(), 0);
    }
}

}  // namespace
