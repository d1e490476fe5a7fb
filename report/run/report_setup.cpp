// The report's printer setup: the platform's print dialog, its answers kept in the
// report's printer settings for the next run.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>

#include "report/run/rep_printer.h"
#include "report/run/report.h"
#include "ui/error.h"
#include "ui/printer.h"

namespace rep {

namespace {
// The printer object's index of the printer the dialog chose, or -1.
int indexOfDevice(HGLOBAL devNames) {
    if (!devNames) return -1;
    ui::GlobalLockGuard<DEVNAMES> dn(devNames);
    if (!dn) return -1;
    const auto* base = reinterpret_cast<const wchar_t*>(dn.get());
    std::wstring device = base + dn->wDeviceOffset;
    const auto& list = ui::applicationPrinter().printers();
    for (size_t i = 0; i < list.size(); ++i)
        if (_wcsicmp(list[i].name.c_str(), device.c_str()) == 0) return static_cast<int>(i);
    return -1;
}
}  // namespace

void TReport::PrinterSetupFrom(TRepPrinter* source) {
    if (!source || !source->PrinterOK()) return;
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = GetActiveWindow();
    pd.Flags = PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = static_cast<WORD>(PrinterSettings.Copies);
    if (source->Status() == stFinished) {
        int count = std::max(1, source->PageCount());
        pd.nMinPage = 1;
        pd.nMaxPage = static_cast<WORD>(count);
        pd.nFromPage = 1;
        pd.nToPage = static_cast<WORD>(count);
    } else {
        pd.nMinPage = pd.nMaxPage = 1;
        pd.nFromPage = pd.nToPage = 1;
    }
    bool ok = PrintDlgW(&pd) != 0;
    ui::GlobalHandle devMode(pd.hDevMode), devNames(pd.hDevNames);
    if (!ok) {
        if (DWORD err = CommDlgExtendedError()) throw ui::Error(L"The print dialog failed (error " + std::to_wstring(err) + L")");
        return;
    }
    PrinterSettings.Copies = pd.nCopies ? pd.nCopies : 1;
    if (devMode) {
        ui::GlobalLockGuard<DEVMODEW> dm(devMode.get());
        if (dm && (dm->dmFields & DM_COPIES) && dm->dmCopies > 0 && pd.nCopies <= 1) PrinterSettings.Copies = dm->dmCopies;
    }
    const int before = PrinterSettings.PrinterIndex;
    PrinterSettings.PrinterIndex = indexOfDevice(devNames.get());
    if (pd.Flags & PD_PAGENUMS) {
        PrinterSettings.FirstPage = pd.nFromPage;
        PrinterSettings.LastPage = pd.nToPage;
    } else {
        PrinterSettings.FirstPage = 0;
        PrinterSettings.LastPage = 0;
    }
    // Another printer has other margins and offsets: the preview is laid out for it anew,
    // its frames and notice with it, before anything prints.
    if (PrinterSettings.PrinterIndex != before) RefreshPreview(*source);
}

}  // namespace rep
