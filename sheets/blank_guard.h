#pragma once
// Keeps a sheet from spoiling its blank: at the end of each page it finds the values that
// are cut, run past the paper or take another value's place (shrinking them first where
// the secretary allows it), marks them in the preview, and asks before printing them.
#include <functional>
#include <string>
#include <vector>

#include "report/run/misfit_check.h"
#include "report/run/report.h"

namespace SetReport {
class TBlankoSheet1;
}
namespace SetReport2 {
class TBlankoSheet2;
}

namespace SetReportCommon {

// One value as the secretary is told about it: the field as the main window names it and
// what happens to it on the blank.
struct TBlankMisfit {
    std::wstring Text;
    bool Spoils = true;  // false: shrinking made it fit
    rep::TRepNativeRect Area;
};

// The name of the main-window field whose value a label prints ("edTown", "cbMark3").
using TFieldOfLabel = std::function<std::string(const rep::TRepPrintable&)>;

// Installs the check on the sheet's report. Call it after the preview's naming: it wraps
// the preview the sheet opens.
void GuardBlank(SetReport::TBlankoSheet1& sheet);
void GuardBlank(SetReport2::TBlankoSheet2& sheet);
void GuardBlank(rep::TReport& report, int page, TFieldOfLabel fieldOf);

// The values of the page as laid out now, named; shrunk first where the setting says so.
std::vector<TBlankMisfit> CheckLaidOutPage(rep::TReport& report, const TFieldOfLabel& fieldOf);
// Lays the page out as a print would (the report's page start) and checks it.
std::vector<TBlankMisfit> CheckBeforePrint(rep::TReport& report, const TFieldOfLabel& fieldOf);

// The list for the status bar of the preview: empty when every value fits unshrunk.
std::wstring NoticeOf(const std::vector<TBlankMisfit>& misfits);
// Asks whether to print values that spoil the blank; true: print as it is. Without any
// such value it asks nothing and answers true.
bool AskPrintAsItIs(const std::vector<TBlankMisfit>& misfits);
// A test answers here instead of the message box (the question's text given).
extern std::function<bool(const std::wstring&)> AskPrintAsItIsHook;

}  // namespace SetReportCommon
