#include "report/preview/stored_pages_setup.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "report/run/printer_settings.h"
#include "report/run/rep_printer.h"
#include "ui/error.h"
#include "ui/printer.h"

namespace rep {

namespace {

// A DEVNAMES block naming the device, for the dialog to start from.
ui::GlobalHandle DevNamesOf(const ui::PrinterDevice& dev) {
    const std::size_t header = sizeof(DEVNAMES) / sizeof(wchar_t);
    const std::size_t chars = header + dev.driver.size() + 1 + dev.device.size() + 1 + dev.port.size() + 1;
    ui::GlobalHandle mem(GlobalAlloc(GHND, chars * sizeof(wchar_t)));
    if (!mem) ui::throwLastError(L"Cannot allocate the printer names");
    ui::GlobalLockGuard<wchar_t> lock(mem.get());
    if (!lock) ui::throwLastError(L"Cannot lock the printer names");
    wchar_t* base = lock.get();
    auto* names = reinterpret_cast<DEVNAMES*>(base);
    std::size_t at = header;
    const auto put = [&](const std::wstring& s) {
        const auto offset = static_cast<WORD>(at);
        std::memcpy(base + at, s.c_str(), (s.size() + 1) * sizeof(wchar_t));
        at += s.size() + 1;
        return offset;
    };
    names->wDriverOffset = put(dev.driver);
    names->wDeviceOffset = put(dev.device);
    names->wOutputOffset = put(dev.port);
    return mem;
}

// A copy of the device mode, which the dialog may replace.
ui::GlobalHandle CopyOf(HGLOBAL devMode) {
    if (!devMode) return {};
    ui::GlobalLockGuard<DEVMODEW> from(devMode);
    if (!from) return {};
    const SIZE_T size = from->dmSize + from->dmDriverExtra;
    ui::GlobalHandle mem(GlobalAlloc(GHND, size));
    if (!mem) ui::throwLastError(L"Cannot allocate the device mode");
    ui::GlobalLockGuard<BYTE> to(mem.get());
    if (!to) ui::throwLastError(L"Cannot lock the device mode");
    std::memcpy(to.get(), from.get(), size);
    return mem;
}

std::wstring NameAt(const DEVNAMES* names, WORD offset) {
    return reinterpret_cast<const wchar_t*>(names) + offset;
}

}  // namespace

bool StoredPagesPrinterSetup(TRepPrinter& printer, HWND owner) {
    const ui::PrinterDevice dev = printer.Printer().getPrinter();
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.Flags = PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = 1;
    ui::GlobalHandle names = DevNamesOf(dev);
    ui::GlobalHandle mode = CopyOf(dev.devMode);
    pd.hDevNames = names.release();
    pd.hDevMode = mode.release();
    const bool ok = PrintDlgW(&pd) != 0;
    // The dialog may have replaced either block; what it hands back is ours.
    names.reset(pd.hDevNames);
    mode.reset(pd.hDevMode);
    if (!ok) {
        if (const DWORD err = CommDlgExtendedError())
            throw ui::Error(L"The print dialog failed (error " + std::to_wstring(err) + L")");
        return false;
    }
    std::wstring device = dev.device, driver = dev.driver, port = dev.port;
    if (names) {
        ui::GlobalLockGuard<DEVNAMES> dn(names.get());
        if (dn) {
            device = NameAt(dn.get(), dn->wDeviceOffset);
            driver = NameAt(dn.get(), dn->wDriverOffset);
            port = NameAt(dn.get(), dn->wOutputOffset);
        }
    }
    // Taken over by the printer object only once it accepts the device.
    printer.Printer().setPrinter(device, driver, port, mode.get());
    mode.release();
    // The paper the stored pages are stretched onto is the chosen one.
    printer.Settings().ReadDeviceSettings();
    return true;
}

}  // namespace rep
