#pragma once
// Printer settings: what a report asks for, and what a report printer's device
// reads, accepts and is given before a printer run.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "report/model/orientation.h"
#include "report/model/units.h"
#include "ui/printer.h"

namespace rep {

// What a report stores and asks of the device.
struct TRepPrinterSettings {
    int Copies = 1;
    bool Duplex = false;  // stored and streamed only; never written into a device
    TRepBin OutputBin = TRepBin::First;
    int FirstPage = 0;     // 0 = from the first page
    int LastPage = 0;      // 0 = to the last page
    int PrinterIndex = -1; // -1 = the default printer
    TRepPaperSize PaperSize = TRepPaperSize::Letter;  // not used by a run
    std::wstring Title;                               // not used
};

// The report's PrinterSettings property.
struct TReportPrinterSettings : TRepPrinterSettings {};

// The settings of one report printer's device, bound to its printer object.
class TPrinterSettings {
public:
    TPrinterSettings() = default;
    TPrinterSettings(const TPrinterSettings&) = delete;
    TPrinterSettings& operator=(const TPrinterSettings&) = delete;

    // Remembers the printer object and reads its device if it lists a printer.
    void Bind(ui::TPrinter* printer);
    bool Bound() const { return printer_ != nullptr; }

    void ReadDeviceSettings();
    // Puts the accepted values into the device mode before a printer run.
    void WriteDeviceSettings();

    // Bound, and every given DM_ bit is set in the device mode's field mask.
    bool FieldSupported(DWORD bits) const;

    // Setters take a value only where the device carries the field.
    void SetCopies(int copies);
    void SetOrientation(TRepOrientation orientation);
    void SetOutputBin(TRepBin bin);
    // Default is always taken; any other size only if the driver lists it.
    void SetPaperSize(TRepPaperSize size);
    // Tenths of a millimetre; taken only while the paper size is Custom.
    void SetPaperWidth(int width);
    void SetPaperLength(int length);

    int Copies() const { return copies_; }
    bool Duplex() const { return duplex_; }
    TRepOrientation Orientation() const { return orientation_; }
    TRepBin OutputBin() const { return outputBin_; }
    TRepPaperSize PaperSize() const { return paperSize_; }
    // Portrait, in tenths of a millimetre: the standard size for Letter..ESheet,
    // otherwise the device's physical page (Default) or the custom size.
    int PaperWidth() const;
    int PaperLength() const;
    bool PaperSupported(TRepPaperSize size) const;
    int PixelsPerInchX() const { return xDpi_; }
    int PixelsPerInchY() const { return yDpi_; }
    // The device's unprintable margin, tenths of a millimetre.
    int LeftOffset() const { return leftOffset_; }
    int TopOffset() const { return topOffset_; }
    // The size of the area the device prints on, tenths of a millimetre; 0 when unknown.
    int PrintableWidth() const { return printableWidth_; }
    int PrintableLength() const { return printableLength_; }
    // What the device leaves unprinted at the right and bottom of its physical page.
    int RightMargin() const { return rightMargin_; }
    int BottomMargin() const { return bottomMargin_; }

    const std::wstring& Device() const { return device_; }
    // Asked of the spooler when first wanted, not with the other settings: the program does
    // not use it, and the question costs more than a millisecond at every preview.
    const std::wstring& Driver();
    const std::wstring& Port() const { return port_; }

    // Device answers that fell back to a default, one line each.
    const std::vector<std::wstring>& Problems() const { return problems_; }

private:
    ui::PrinterDevice AskPrinter();
    void ReadDriverName();
    void ReadPaperList(const DEVMODEW* dm);
    void Note(std::wstring problem);

    ui::TPrinter* printer_ = nullptr;
    std::wstring device_;
    std::wstring driver_;
    bool driverRead_ = false;
    std::wstring port_;
    int copies_ = 1;
    bool duplex_ = false;
    TRepOrientation orientation_ = TRepOrientation::poPortrait;
    TRepBin outputBin_ = TRepBin::First;
    TRepPaperSize paperSize_ = TRepPaperSize::A4;
    std::array<bool, PaperSizeCount> paperSupported_{};  // index 0 (Default) unused
    int paperWidth_ = 0;
    int paperLength_ = 0;
    int xDpi_ = 0;
    int yDpi_ = 0;
    int leftOffset_ = 0;
    int topOffset_ = 0;
    int printableWidth_ = 0;
    int printableLength_ = 0;
    int rightMargin_ = 0;
    int bottomMargin_ = 0;
    std::vector<std::wstring> problems_;
};

}  // namespace rep
