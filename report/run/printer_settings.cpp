#include "report/run/printer_settings.h"

#include <winspool.h>

#include <algorithm>
#include <limits>

#include "ui/error.h"

namespace rep {

namespace {

bool HasFields(const DEVMODEW* dm, DWORD bits) { return dm && (dm->dmFields & bits) == bits; }

short ToShort(int v) {
    return static_cast<short>(std::clamp<int>(v, std::numeric_limits<short>::min(),
                                              std::numeric_limits<short>::max()));
}

// The driver's answer to QUERYESCSUPPORT for one escape.
bool EscapeSupported(HDC dc, int escape) {
    return Escape(dc, QUERYESCSUPPORT, sizeof escape, reinterpret_cast<LPCSTR>(&escape), nullptr) > 0;
}

// A device distance in dots as tenths of a millimetre.
int DotsToTenths(long dots, int dpi) { return static_cast<int>(RoundEven(DotsToNative(dots, dpi))); }

std::wstring FileNamePart(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

void TPrinterSettings::Note(std::wstring problem) {
    if (std::find(problems_.begin(), problems_.end(), problem) != problems_.end()) return;
    OutputDebugStringW(problem.c_str());
    problems_.push_back(std::move(problem));
}

void TPrinterSettings::Bind(ui::TPrinter* printer) {
    printer_ = printer;
    if (printer_ && !printer_->printers().empty()) ReadDeviceSettings();
}

ui::PrinterDevice TPrinterSettings::AskPrinter() {
    ui::PrinterDevice dev = printer_->getPrinter();
    if (!dev.devMode) dev = printer_->getPrinter();  // a second chance to load the device mode
    return dev;
}

bool TPrinterSettings::FieldSupported(DWORD bits) const {
    if (!printer_) return false;
    const ui::PrinterDevice dev = printer_->getPrinter();
    ui::GlobalLockGuard<DEVMODEW> dm(dev.devMode);
    return HasFields(dm.get(), bits);
}

const std::wstring& TPrinterSettings::Driver() {
    if (!driverRead_ && printer_) ReadDriverName();
    return driver_;
}

void TPrinterSettings::ReadDriverName() {
    driverRead_ = true;
    driver_.clear();
    std::wstring name = device_;
    HANDLE raw = nullptr;
    if (!OpenPrinterW(name.data(), &raw, nullptr)) {
        Note(L"OpenPrinterW \"" + name + L"\" failed: " + ui::lastErrorMessage());
        return;
    }
    ui::PrinterHandle printer(raw);
    DWORD needed = 0;
    GetPrinterDriverW(printer.get(), nullptr, 2, nullptr, 0, &needed);
    std::vector<BYTE> buf(std::max<DWORD>(needed, sizeof(DRIVER_INFO_2W)));
    if (!GetPrinterDriverW(printer.get(), nullptr, 2, buf.data(), static_cast<DWORD>(buf.size()),
                           &needed)) {
        Note(L"GetPrinterDriverW \"" + name + L"\" failed: " + ui::lastErrorMessage());
        return;
    }
    const auto* info = reinterpret_cast<const DRIVER_INFO_2W*>(buf.data());
    if (info->pDriverPath) driver_ = FileNamePart(info->pDriverPath);
}

void TPrinterSettings::ReadPaperList(const DEVMODEW* dm) {
    paperSupported_.fill(false);
    const wchar_t* port = port_.empty() ? nullptr : port_.c_str();
    const int count = DeviceCapabilitiesW(device_.c_str(), port, DC_PAPERS, nullptr, dm);
    if (count < 0) {
        Note(L"DeviceCapabilitiesW DC_PAPERS \"" + device_ + L"\" failed: " + ui::lastErrorMessage());
        return;
    }
    if (count == 0) return;
    std::vector<WORD> codes(static_cast<std::size_t>(count));
    if (DeviceCapabilitiesW(device_.c_str(), port, DC_PAPERS, reinterpret_cast<LPWSTR>(codes.data()),
                            dm) < 0) {
        Note(L"DeviceCapabilitiesW DC_PAPERS \"" + device_ + L"\" failed: " + ui::lastErrorMessage());
        return;
    }
    for (WORD code : codes) {
        const auto size = PaperSizeFromCode(code);
        if (size && *size != TRepPaperSize::Default) paperSupported_[static_cast<int>(*size)] = true;
    }
}

void TPrinterSettings::ReadDeviceSettings() {
    if (!printer_) return;
    const ui::PrinterDevice dev = AskPrinter();
    device_ = dev.device;
    port_ = dev.port;
    driverRead_ = false;
    ui::GlobalLockGuard<DEVMODEW> lock(dev.devMode);
    const DEVMODEW* dm = lock.get();
    if (!dm) Note(L"No device mode for printer \"" + device_ + L"\"");

    HDC dc = nullptr;
    try {
        dc = printer_->handle();
    } catch (const ui::Error& e) {
        Note(e.message());
    }
    xDpi_ = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    yDpi_ = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    const bool resolution = xDpi_ > 0 && yDpi_ > 0;  // the escapes' dots need it

    copies_ = HasFields(dm, DM_COPIES) ? dm->dmCopies : 1;

    outputBin_ = TRepBin::First;
    if (HasFields(dm, DM_DEFAULTSOURCE))
        if (const auto bin = BinFromCode(dm->dmDefaultSource)) outputBin_ = *bin;

    duplex_ = HasFields(dm, DM_DUPLEX) && dm->dmDuplex != DMDUP_SIMPLEX;

    leftOffset_ = topOffset_ = 0;
    if (dc && resolution && EscapeSupported(dc, GETPRINTINGOFFSET)) {
        POINT offset{};
        if (Escape(dc, GETPRINTINGOFFSET, 0, nullptr, &offset) > 0) {
            leftOffset_ = DotsToTenths(offset.x, xDpi_);
            topOffset_ = DotsToTenths(offset.y, yDpi_);
        } else {
            Note(L"Escape GETPRINTINGOFFSET \"" + device_ + L"\" failed");
        }
    }

    printableWidth_ = dc && resolution ? DotsToTenths(GetDeviceCaps(dc, HORZRES), xDpi_) : 0;
    printableLength_ = dc && resolution ? DotsToTenths(GetDeviceCaps(dc, VERTRES), yDpi_) : 0;

    paperSize_ = TRepPaperSize::Default;
    if (HasFields(dm, DM_PAPERSIZE))
        if (const auto size = PaperSizeFromCode(dm->dmPaperSize)) paperSize_ = *size;

    paperWidth_ = paperLength_ = 0;
    if (dc && resolution && EscapeSupported(dc, GETPHYSPAGESIZE)) {
        POINT size{};
        if (Escape(dc, GETPHYSPAGESIZE, 0, nullptr, &size) > 0) {
            paperWidth_ = DotsToTenths(size.x, xDpi_);
            paperLength_ = DotsToTenths(size.y, yDpi_);
        } else {
            Note(L"Escape GETPHYSPAGESIZE \"" + device_ + L"\" failed");
        }
    }

    rightMargin_ = paperWidth_ > 0 && printableWidth_ > 0 ? std::max(0, paperWidth_ - leftOffset_ - printableWidth_) : 0;
    bottomMargin_ =
        paperLength_ > 0 && printableLength_ > 0 ? std::max(0, paperLength_ - topOffset_ - printableLength_) : 0;

    ReadPaperList(dm);
}

void TPrinterSettings::WriteDeviceSettings() {
    if (!printer_) return;
    const ui::PrinterDevice dev = AskPrinter();
    if (!dev.devMode) {
        Note(L"No device mode to write for printer \"" + dev.device + L"\"");
        return;
    }
    {
        ui::GlobalLockGuard<DEVMODEW> lock(dev.devMode);
        DEVMODEW* dm = lock.get();
        if (!dm) {
            Note(L"Cannot lock the device mode of printer \"" + dev.device + L"\"");
            return;
        }
        if (paperSize_ == TRepPaperSize::Custom) {
            if (HasFields(dm, DM_PAPERLENGTH)) {
                dm->dmFields |= DM_PAPERLENGTH;
                dm->dmPaperLength = ToShort(paperLength_);
            }
            if (HasFields(dm, DM_PAPERWIDTH)) {
                dm->dmFields |= DM_PAPERWIDTH;
                dm->dmPaperWidth = ToShort(paperWidth_);
            }
        }
        if (HasFields(dm, DM_PAPERSIZE) && paperSize_ != TRepPaperSize::Default) {
            dm->dmFields |= DM_PAPERSIZE;
            dm->dmPaperSize = ToShort(PaperCode(paperSize_));
        }
        if (HasFields(dm, DM_COPIES)) {
            dm->dmFields |= DM_COPIES;
            dm->dmCopies = ToShort(copies_);
        }
        if (HasFields(dm, DM_DEFAULTSOURCE)) {
            dm->dmFields |= DM_DEFAULTSOURCE;
            dm->dmDefaultSource = ToShort(BinCode(outputBin_));
        }
        if (HasFields(dm, DM_ORIENTATION)) {
            dm->dmFields |= DM_ORIENTATION;
            dm->dmOrientation = orientation_ == TRepOrientation::poLandscape ? DMORIENT_LANDSCAPE
                                                                             : DMORIENT_PORTRAIT;
        }
    }
    printer_->setPrinter(dev.device, dev.driver, dev.port, dev.devMode);
}

void TPrinterSettings::SetCopies(int copies) {
    if (copies >= 1 && FieldSupported(DM_COPIES)) copies_ = copies;
}

void TPrinterSettings::SetOrientation(TRepOrientation orientation) {
    if (FieldSupported(DM_ORIENTATION)) orientation_ = orientation;
}

void TPrinterSettings::SetOutputBin(TRepBin bin) {
    const int i = static_cast<int>(bin);
    if (i >= 0 && i < BinCount && FieldSupported(DM_DEFAULTSOURCE)) outputBin_ = bin;
}

void TPrinterSettings::SetPaperSize(TRepPaperSize size) {
    if (size == TRepPaperSize::Default || PaperSupported(size)) paperSize_ = size;
}

void TPrinterSettings::SetPaperWidth(int width) {
    if (paperSize_ == TRepPaperSize::Custom) paperWidth_ = width;
}

void TPrinterSettings::SetPaperLength(int length) {
    if (paperSize_ == TRepPaperSize::Custom) paperLength_ = length;
}

bool TPrinterSettings::PaperSupported(TRepPaperSize size) const {
    const int i = static_cast<int>(size);
    return i >= 1 && i < PaperSizeCount && paperSupported_[static_cast<std::size_t>(i)];
}

int TPrinterSettings::PaperWidth() const {
    if (const auto tenths = PaperSizeTenths(paperSize_)) return static_cast<int>(tenths->Width);
    return paperWidth_;
}

int TPrinterSettings::PaperLength() const {
    if (const auto tenths = PaperSizeTenths(paperSize_)) return static_cast<int>(tenths->Length);
    return paperLength_;
}

}  // namespace rep
