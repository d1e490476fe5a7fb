#pragma once
// Printer setup for stored pages that no report stands behind, such as those of a loaded
// report file: the print dialog chooses the report printer's device and its settings
// (copies, paper, ...), with which the stored pages are then printed.
#include <windows.h>

namespace rep {

class TRepPrinter;

// Shows the print dialog for the printer's own device; no page range is offered, since
// the stored pages always print whole. Returns false when the user cancels. A dialog
// that fails throws ui::Error.
bool StoredPagesPrinterSetup(TRepPrinter& printer, HWND owner);

}  // namespace rep
