#include "report/run/printer_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/win/printer_env.h"

namespace {

using namespace rep;

// The paper codes the driver lists, asked without the code under test.
std::vector<WORD> DriverPapers(const std::wstring& device, const std::wstring& port) {
    const int n = DeviceCapabilitiesW(device.c_str(), port.c_str(), DC_PAPERS, nullptr, nullptr);
    std::vector<WORD> codes(n > 0 ? static_cast<std::size_t>(n) : 0);
    if (n > 0)
        DeviceCapabilitiesW(device.c_str(), port.c_str(), DC_PAPERS,
                            reinterpret_cast<LPWSTR>(codes.data()), nullptr);
    return codes;
}

// The device mode the printer object will make its next device context from.
DEVMODEW DevModeOf(ui::TPrinter& printer) {
    ui::GlobalLockGuard<DEVMODEW> dm(printer.getPrinter().devMode);
    return dm ? *dm.get() : DEVMODEW{};
}

class PdfSettings : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_UNLESS_PDF_PRINTER();
        ASSERT_FALSE(printer.printers().empty()) << "start CUPS (scripts/printer.sh) before Wine";
        settings.Bind(&printer);
    }
    ui::TPrinter printer;
    TPrinterSettings settings;
};

TEST_F(PdfSettings, ReadsTheDevice) {
    EXPECT_TRUE(settings.Bound());
    EXPECT_EQ(settings.Device(), L"PDF");
    EXPECT_EQ(settings.Port(), L"CUPS:PDF");
    EXPECT_EQ(settings.Driver(), L"wineps.drv");  // file-name part of the driver path
    EXPECT_EQ(settings.PixelsPerInchX(), 300);
    EXPECT_EQ(settings.PixelsPerInchY(), 300);
    EXPECT_EQ(settings.Copies(), 1);
    EXPECT_FALSE(settings.Duplex());
    EXPECT_EQ(settings.PaperSize(), TRepPaperSize::A4);
    EXPECT_EQ(settings.Orientation(), TRepOrientation::poPortrait);
    EXPECT_EQ(settings.LeftOffset(), 0);
    EXPECT_EQ(settings.TopOffset(), 0);
    EXPECT_EQ(settings.PaperWidth(), 2100);
    EXPECT_EQ(settings.PaperLength(), 2970);
    EXPECT_TRUE(settings.Problems().empty());

    const DEVMODEW dm = DevModeOf(printer);
    const auto bin = BinFromCode(dm.dmDefaultSource);
    EXPECT_EQ(settings.OutputBin(), bin ? *bin : TRepBin::First);
    std::printf("[ device ] fields %#lx, paper %d, source %d, copies %d, duplex field %s\n",
                static_cast<unsigned long>(dm.dmFields), dm.dmPaperSize, dm.dmDefaultSource,
                dm.dmCopies, (dm.dmFields & DM_DUPLEX) ? "yes" : "no");
}

// Default paper has the device's physical page: 2479 x 3508 dots at 300 dpi.
TEST_F(PdfSettings, PhysicalPageOfDefaultPaper) {
    settings.SetPaperSize(TRepPaperSize::Default);
    EXPECT_EQ(settings.PaperSize(), TRepPaperSize::Default);
    EXPECT_EQ(settings.PaperWidth(), 2099);  // 2479 / 300 * 254 = 2098.95
    EXPECT_EQ(settings.PaperLength(), 2970);  // 3508 / 300 * 254 = 2970.19
}

TEST_F(PdfSettings, PaperListDecidesWhatIsAccepted) {
    const std::vector<WORD> listed = DriverPapers(L"PDF", L"CUPS:PDF");
    ASSERT_FALSE(listed.empty());
    std::printf("[ device ] %zu paper codes:", listed.size());
    for (WORD c : listed) std::printf(" %u", c);
    std::printf("\n");
    for (int i = 1; i < PaperSizeCount; ++i) {
        const auto size = static_cast<TRepPaperSize>(i);
        const bool inList =
            std::find(listed.begin(), listed.end(), PaperCode(size)) != listed.end();
        EXPECT_EQ(settings.PaperSupported(size), inList) << i;
        settings.SetPaperSize(TRepPaperSize::A4);
        settings.SetPaperSize(size);
        EXPECT_EQ(settings.PaperSize(), inList ? size : TRepPaperSize::A4) << i;
    }
    EXPECT_TRUE(settings.PaperSupported(TRepPaperSize::A4));
    EXPECT_FALSE(settings.PaperSupported(TRepPaperSize::Default));
}

TEST_F(PdfSettings, FieldsAsTheDeviceModeCarriesThem) {
    const DEVMODEW dm = DevModeOf(printer);
    const DWORD bits[] = {DM_ORIENTATION, DM_PAPERSIZE, DM_PAPERLENGTH, DM_PAPERWIDTH,
                          DM_COPIES, DM_DEFAULTSOURCE, DM_DUPLEX,
                          DM_COPIES | DM_ORIENTATION, DM_COPIES | DM_DUPLEX};
    for (DWORD b : bits)
        EXPECT_EQ(settings.FieldSupported(b), (dm.dmFields & b) == b) << std::hex << b;
}

// The sheets' request: A4, portrait, one copy, first bin.
TEST_F(PdfSettings, WritesTheSheetsRequestIntoTheDeviceMode) {
    const DEVMODEW before = DevModeOf(printer);
    settings.SetPaperSize(TRepPaperSize::A4);
    settings.SetOrientation(TRepOrientation::poPortrait);
    settings.SetCopies(1);
    settings.SetOutputBin(TRepBin::First);
    settings.WriteDeviceSettings();

    const ui::PrinterDevice dev = printer.getPrinter();
    EXPECT_EQ(dev.device, L"PDF");
    DEVMODEW dm = DevModeOf(printer);
    EXPECT_EQ(dm.dmPaperSize, 9);
    EXPECT_EQ(dm.dmCopies, 1);
    EXPECT_EQ(dm.dmDefaultSource, 1);
    EXPECT_EQ(dm.dmOrientation, DMORIENT_PORTRAIT);
    const DWORD written = DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_ORIENTATION;
    EXPECT_EQ(dm.dmFields & written, written);
    EXPECT_EQ(dm.dmFields, before.dmFields);  // only bits the device carried
    EXPECT_EQ(dm.dmDuplex, before.dmDuplex);   // duplex is never written

    // The driver takes this device mode as it is.
    std::vector<BYTE> merged(static_cast<std::size_t>(dm.dmSize + dm.dmDriverExtra));
    {
        ui::GlobalLockGuard<BYTE> in(dev.devMode);
        std::wstring name = L"PDF";
        HANDLE h = nullptr;
        ASSERT_TRUE(OpenPrinterW(name.data(), &h, nullptr));
        EXPECT_EQ(DocumentPropertiesW(nullptr, h, name.data(), reinterpret_cast<DEVMODEW*>(merged.data()),
                                      reinterpret_cast<DEVMODEW*>(in.get()), DM_IN_BUFFER | DM_OUT_BUFFER),
                  IDOK);
        ClosePrinter(h);
    }
    const auto* out = reinterpret_cast<const DEVMODEW*>(merged.data());
    EXPECT_EQ(out->dmPaperSize, 9);
    EXPECT_EQ(out->dmCopies, 1);
    EXPECT_EQ(out->dmDefaultSource, 1);
    EXPECT_EQ(out->dmOrientation, DMORIENT_PORTRAIT);

    // The printer's next device context is an A4 portrait page at 300 dpi.
    HDC dc = printer.handle();
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 2479);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 3508);
}

TEST_F(PdfSettings, RequestsReachTheDeviceMode) {
    struct Case {
        TRepPaperSize paper;
        TRepOrientation orientation;
        int copies;
        TRepBin bin;
        short paperCode, orientationCode, copiesCode, sourceCode;
        int physWidth, physHeight;  // device dots of the next device context
    };
    const Case cases[] = {
        {TRepPaperSize::A4, TRepOrientation::poLandscape, 2, TRepBin::Cassette, 9, 2, 2, 14, 3508, 2479},
        {TRepPaperSize::Letter, TRepOrientation::poPortrait, 3, TRepBin::Manual, 1, 1, 3, 4, 2550, 3300},
        {TRepPaperSize::A3, TRepOrientation::poPortrait, 1, TRepBin::Last, 8, 1, 1, 14, 3508, 4962},
    };
    for (const auto& c : cases) {
        settings.SetPaperSize(c.paper);
        settings.SetOrientation(c.orientation);
        settings.SetCopies(c.copies);
        settings.SetOutputBin(c.bin);
        settings.WriteDeviceSettings();
        const DEVMODEW dm = DevModeOf(printer);
        EXPECT_EQ(dm.dmPaperSize, c.paperCode);
        EXPECT_EQ(dm.dmOrientation, c.orientationCode);
        EXPECT_EQ(dm.dmCopies, c.copiesCode);
        EXPECT_EQ(dm.dmDefaultSource, c.sourceCode);
        EXPECT_EQ(GetDeviceCaps(printer.handle(), PHYSICALWIDTH), c.physWidth) << int(c.paper);
        EXPECT_EQ(GetDeviceCaps(printer.handle(), PHYSICALHEIGHT), c.physHeight) << int(c.paper);
    }
}

// The driver lists code 256, so Custom is taken, and with it a width and length.
TEST_F(PdfSettings, CustomPaper) {
    ASSERT_TRUE(settings.PaperSupported(TRepPaperSize::Custom));
    settings.SetPaperWidth(1000);  // ignored: the paper is not Custom yet
    EXPECT_EQ(settings.PaperWidth(), 2100);
    settings.SetPaperSize(TRepPaperSize::Custom);
    settings.SetPaperWidth(1500);
    settings.SetPaperLength(2000);
    EXPECT_EQ(settings.PaperWidth(), 1500);
    EXPECT_EQ(settings.PaperLength(), 2000);
    settings.WriteDeviceSettings();
    const DEVMODEW dm = DevModeOf(printer);
    EXPECT_EQ(dm.dmPaperSize, 256);
    EXPECT_EQ(dm.dmPaperWidth, 1500);
    EXPECT_EQ(dm.dmPaperLength, 2000);
    // Wine's PostScript driver gives code 256 a fixed 11 x 14 in page whatever the
    // width and length: shown, not checked.
    HDC dc = printer.handle();
    std::printf("[ device ] custom 150 x 200 mm -> %d x %d dots\n", GetDeviceCaps(dc, PHYSICALWIDTH),
                GetDeviceCaps(dc, PHYSICALHEIGHT));
}

TEST_F(PdfSettings, RejectedValuesChangeNothing) {
    settings.SetCopies(0);
    settings.SetCopies(-3);
    EXPECT_EQ(settings.Copies(), 1);
    settings.SetPaperLength(500);  // not Custom
    EXPECT_EQ(settings.PaperLength(), 2970);
    settings.SetOutputBin(static_cast<TRepBin>(99));
    EXPECT_EQ(settings.OutputBin(), BinFromCode(DevModeOf(printer).dmDefaultSource).value_or(TRepBin::First));
}

// Each report printer has its own printer object; writing one leaves the other alone.
TEST_F(PdfSettings, SettingsOfOnePrinterObjectOnly) {
    ui::TPrinter other;
    TPrinterSettings otherSettings;
    otherSettings.Bind(&other);
    settings.SetOrientation(TRepOrientation::poLandscape);
    settings.WriteDeviceSettings();
    otherSettings.WriteDeviceSettings();
    EXPECT_EQ(DevModeOf(printer).dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(DevModeOf(other).dmOrientation, DMORIENT_PORTRAIT);
}

// A printer object pointed at a printer that does not exist: names of any length
// are kept, and the device answers nothing.
TEST(PrinterSettingsUnknownDevice, LongNamesAndNoDevice) {
    SKIP_UNLESS_PDF_PRINTER();
    ui::TPrinter printer;
    const std::wstring name = L"Printer " + std::wstring(120, L'x');
    printer.setPrinter(name, std::wstring(100, L'd'), L"LPT9:" + std::wstring(90, L'p'), nullptr);
    TPrinterSettings settings;
    settings.Bind(&printer);
    EXPECT_EQ(settings.Device(), name);
    EXPECT_EQ(settings.Port(), L"LPT9:" + std::wstring(90, L'p'));
    EXPECT_TRUE(settings.Driver().empty());
    EXPECT_EQ(settings.PixelsPerInchX(), 0);
    EXPECT_EQ(settings.PaperSize(), TRepPaperSize::Default);
    EXPECT_EQ(settings.PaperWidth(), 0);
    EXPECT_FALSE(settings.FieldSupported(DM_COPIES));
    EXPECT_FALSE(settings.PaperSupported(TRepPaperSize::A4));
    ASSERT_FALSE(settings.Problems().empty());
    for (const auto& p : settings.Problems()) std::printf("[ problem ] %ls\n", p.c_str());
    settings.WriteDeviceSettings();  // no device mode: nothing to write, no failure
}

}  // namespace
