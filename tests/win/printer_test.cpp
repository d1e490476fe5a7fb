#include "ui/printer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "tests/win/printer_env.h"
#include "ui/error.h"
#include "ui/utf8.h"

namespace {

using ui::TPrinter;

std::size_t CountPages(const std::string& pdf) {
    // Page objects, not the /Pages tree node.
    static const std::regex page(R"(/Type\s*/Page[^s])");
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

void DrawText(HDC dc, const wchar_t* text) { TextOutW(dc, 300, 300, text, lstrlenW(text)); }

TEST(Printer, ListsThePdfQueueAsDefault) {
    SKIP_UNLESS_PDF_PRINTER();
    TPrinter printer;
    ASSERT_FALSE(printer.printers().empty()) << "start CUPS (scripts/printer.sh) before Wine";
    ASSERT_GE(printer.defaultIndex(), 0);
    const ui::PrinterEntry& p = printer.printers()[static_cast<std::size_t>(printer.defaultIndex())];
    EXPECT_EQ(p.name, L"PDF");
    EXPECT_EQ(p.port, L"CUPS:PDF");
    EXPECT_FALSE(p.driver.empty());
    EXPECT_EQ(printer.printerIndex(), printer.defaultIndex());
    EXPECT_TRUE(printer.problems().empty());
}

TEST(Printer, PrinterIndexRange) {
    SKIP_UNLESS_PDF_PRINTER();
    TPrinter printer;
    const int count = static_cast<int>(printer.printers().size());
    struct Case { int index; bool valid; };
    const Case cases[] = {{-1, true}, {0, true}, {count - 1, true}, {count, false}, {-2, false}};
    for (const auto& c : cases) {
        printer.setPrinterIndex(0);
        if (c.valid) {
            printer.setPrinterIndex(c.index);
            EXPECT_EQ(printer.printerIndex(), c.index == -1 ? printer.defaultIndex() : c.index);
        } else {
            EXPECT_THROW(printer.setPrinterIndex(c.index), ui::Error) << c.index;
            EXPECT_EQ(printer.printerIndex(), 0);
        }
    }
}

TEST(Printer, OwnDeviceModePerPrinterObject) {
    SKIP_UNLESS_PDF_PRINTER();
    TPrinter a, b;
    const ui::PrinterDevice da = a.getPrinter();
    const ui::PrinterDevice db = b.getPrinter();
    ASSERT_NE(da.devMode, nullptr);
    ASSERT_NE(db.devMode, nullptr);
    EXPECT_NE(da.devMode, db.devMode);
    EXPECT_EQ(da.device, L"PDF");
    EXPECT_EQ(a.getPrinter().devMode, da.devMode);  // kept, not loaded again
    {
        ui::GlobalLockGuard<DEVMODEW> ma(da.devMode), mb(db.devMode);
        EXPECT_STREQ(ma->dmDeviceName, L"PDF");
        ma->dmOrientation = DMORIENT_LANDSCAPE;
        EXPECT_EQ(mb->dmOrientation, DMORIENT_PORTRAIT);
    }
    // The device context follows the device mode given back.
    a.setPrinter(da.device, da.driver, da.port, da.devMode);
    b.setPrinter(db.device, db.driver, db.port, db.devMode);
    EXPECT_GT(GetDeviceCaps(a.handle(), HORZRES), GetDeviceCaps(a.handle(), VERTRES));
    EXPECT_LT(GetDeviceCaps(b.handle(), HORZRES), GetDeviceCaps(b.handle(), VERTRES));
    EXPECT_EQ(a.pixelsPerInchX(), 300);
    EXPECT_EQ(a.pixelsPerInchY(), 300);
}

// A device mode handed over by the caller becomes the printer object's own.
TEST(Printer, TakesOverAGivenDeviceMode) {
    SKIP_UNLESS_PDF_PRINTER();
    const std::vector<BYTE> driverMode = printer_env::DriverDevMode(L"PDF");
    ASSERT_FALSE(driverMode.empty());
    HGLOBAL mine = GlobalAlloc(GHND, driverMode.size());
    ASSERT_NE(mine, nullptr);
    {
        ui::GlobalLockGuard<BYTE> m(mine);
        std::copy(driverMode.begin(), driverMode.end(), m.get());
        reinterpret_cast<DEVMODEW*>(m.get())->dmOrientation = DMORIENT_LANDSCAPE;
    }
    TPrinter printer;
    const ui::PrinterDevice before = printer.getPrinter();
    printer.setPrinter(L"PDF", L"", L"CUPS:PDF", mine);
    EXPECT_EQ(printer.getPrinter().devMode, mine);
    EXPECT_GT(GetDeviceCaps(printer.handle(), HORZRES), GetDeviceCaps(printer.handle(), VERTRES));
    EXPECT_NE(before.devMode, mine);
}

// Names longer than any fixed buffer are kept whole and named in the failure.
TEST(Printer, UnknownPrinterWithALongName) {
    SKIP_UNLESS_PDF_PRINTER();
    TPrinter printer;
    const std::wstring name(300, L'N');
    const std::wstring port = L"PORT:" + std::wstring(200, L'p');
    const std::size_t listed = printer.printers().size();
    printer.setPrinter(name, L"driver", port, nullptr);
    EXPECT_EQ(printer.printers().size(), listed + 1);
    EXPECT_EQ(printer.printerIndex(), static_cast<int>(listed));
    const ui::PrinterDevice d = printer.getPrinter();
    EXPECT_EQ(d.device, name);
    EXPECT_EQ(d.port, port);
    EXPECT_EQ(d.devMode, nullptr);
    try {
        printer.handle();
        ADD_FAILURE() << "a device context for a printer that does not exist";
    } catch (const ui::Error& e) {
        EXPECT_NE(e.message().find(name), std::wstring::npos);
    }
    ASSERT_FALSE(printer.problems().empty());
    EXPECT_NE(printer.problems().front().find(L"OpenPrinterW"), std::wstring::npos);
    printer.setPrinterIndex(-1);
    EXPECT_EQ(printer.getPrinter().device, L"PDF");
}

TEST(Printer, JobStateAndMisuse) {
    SKIP_UNLESS_PDF_PRINTER();
    TPrinter printer;
    EXPECT_FALSE(printer.printing());
    EXPECT_THROW(printer.newPage(), ui::Error);
    EXPECT_THROW(printer.endDoc(), ui::Error);
    printer.abort();  // nothing to abort
    EXPECT_FALSE(printer.aborted());

    printer.beginDoc(L"blk state");
    EXPECT_TRUE(printer.printing());
    EXPECT_EQ(printer.pageNumber(), 1);
    EXPECT_THROW(printer.beginDoc(L"again"), ui::Error);
    EXPECT_THROW(printer.setPrinterIndex(-1), ui::Error);
    EXPECT_THROW(printer.refresh(), ui::Error);
    const ui::PrinterDevice d = printer.getPrinter();
    EXPECT_THROW(printer.setPrinter(d.device, d.driver, d.port, d.devMode), ui::Error);
    printer.abort();
    EXPECT_FALSE(printer.printing());
    EXPECT_TRUE(printer.aborted());
}

// An aborted job prints nothing, and the same printer object prints the next job.
TEST(Printer, AbortThenPrintAgain) {
    SKIP_UNLESS_PDF_PRINTER();
    printer_env::DeletePdfs(L"blk_aborted");
    printer_env::DeletePdfs(L"blk_after_abort");
    TPrinter printer;
    printer.beginDoc(L"blk aborted");
    DrawText(printer.canvas(), L"never printed");
    printer.abort();
    for (const auto& p : printer.problems()) std::printf("[ spooler ] %ls\n", p.c_str());
    printer.beginDoc(L"blk after abort");
    DrawText(printer.canvas(), L"printed");
    printer.endDoc();
    EXPECT_FALSE(printer.aborted());
    // Jobs leave the queue in order: once the second is there, the first would be too.
    EXPECT_FALSE(printer_env::WaitForPdf(L"blk_after_abort").empty());
    EXPECT_TRUE(printer_env::PdfFiles(L"blk_aborted").empty());
    printer_env::DeletePdfs(L"blk_after_abort");
}

TEST(Printer, JobReachesTheQueueWithItsPagesAndTitle) {
    SKIP_UNLESS_PDF_PRINTER();
    // Cut to 31 characters: "blk job with a title longer tha"; the queue writes
    // spaces as underscores.
    const std::wstring fileStart = L"blk_job_with_a_title_longer_tha";
    printer_env::DeletePdfs(fileStart);
    {
        TPrinter printer;
        printer.beginDoc(L"blk job with a title longer than thirty-one characters");
        EXPECT_EQ(printer.title(), L"blk job with a title longer tha");
        DrawText(printer.canvas(), L"page one");
        printer.newPage();
        EXPECT_EQ(printer.pageNumber(), 2);
        DrawText(printer.canvas(), L"page two");
        printer.newPage();
        DrawText(printer.canvas(), L"page three");
        printer.endDoc();
        EXPECT_FALSE(printer.printing());
        EXPECT_FALSE(printer.aborted());
    }
    const std::string pdf = printer_env::WaitForPdf(fileStart);
    ASSERT_FALSE(pdf.empty()) << "no job file in the PDF folder";
    EXPECT_EQ(CountPages(pdf), 3u);
    printer_env::DeletePdfs(fileStart);
}

TEST(Printer, TwoJobsOnOnePrinterObject) {
    SKIP_UNLESS_PDF_PRINTER();
    printer_env::DeletePdfs(L"blk_first_of_two");
    printer_env::DeletePdfs(L"blk_second_of_two");
    TPrinter printer;
    for (const wchar_t* title : {L"blk first of two", L"blk second of two"}) {
        printer.beginDoc(title);
        DrawText(printer.canvas(), title);
        printer.endDoc();
    }
    EXPECT_EQ(CountPages(printer_env::WaitForPdf(L"blk_first_of_two")), 1u);
    EXPECT_EQ(CountPages(printer_env::WaitForPdf(L"blk_second_of_two")), 1u);
    printer_env::DeletePdfs(L"blk_first_of_two");
    printer_env::DeletePdfs(L"blk_second_of_two");
}

TEST(Printer, OpenJobIsEndedWhenThePrinterObjectGoes) {
    SKIP_UNLESS_PDF_PRINTER();
    const std::wstring title = L"blk_left_open";
    printer_env::DeletePdfs(title);
    {
        TPrinter printer;
        printer.beginDoc(title);
        DrawText(printer.canvas(), L"partly drawn page");
    }
    const std::string pdf = printer_env::WaitForPdf(title);
    ASSERT_FALSE(pdf.empty()) << "the open job was not ended";
    EXPECT_EQ(CountPages(pdf), 1u);
    printer_env::DeletePdfs(title);
}

TEST(Printer, ApplicationPrinterIsOneObject) {
    SKIP_UNLESS_PDF_PRINTER();
    EXPECT_EQ(&ui::applicationPrinter(), &ui::applicationPrinter());
    EXPECT_EQ(ui::applicationPrinter().printerIndex(), ui::applicationPrinter().defaultIndex());
}

}  // namespace
