#pragma once
// What keeps a sheet from spoiling its blank, in words: the values of a laid-out page that
// are cut, run past the paper or the printer's printable area, or take another value's
// place (shrunk first where the secretary allows it), named as the main window names their
// fields, and the question asked before such values are printed.
#include <functional>
#include <string>
#include <vector>

#include "report/run/misfit_check.h"
#include "report/run/report.h"
#include "ui/handles.h"

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

TFieldOfLabel FieldsOf(const SetReport::TBlankoSheet1& sheet);
TFieldOfLabel FieldsOf(const SetReport2::TBlankoSheet2& sheet);

// The values of the page as laid out now, for the printer of the area, named; shrunk first
// where the setting says so.
std::vector<TBlankMisfit> CheckLaidOutPage(rep::TReport& report, const TFieldOfLabel& fieldOf,
                                           const rep::TRepPrintArea& area);

// The list for the status bar of the preview: empty when every value fits unshrunk.
std::wstring NoticeOf(const std::vector<TBlankMisfit>& misfits);
// The frames a preview draws: the values that spoil the blank.
std::vector<rep::TRepNativeRect> MarksOf(const std::vector<TBlankMisfit>& misfits);

// One graduate's values that would spoil a blank; `who` empty when the job has one page.
struct TPageMisfits {
    int Page = 0;
    std::wstring Who;
    std::vector<TBlankMisfit> Misfits;
};
// Asks whether to print values that spoil the blank; true: print as it is. Without any
// such value it asks nothing and answers true.
bool AskPrintAsItIs(const std::vector<TPageMisfits>& pages);
// A test answers here instead of the message box (the question's text given).
extern std::function<bool(const std::wstring&)> AskPrintAsItIsHook;

// The scanned picture of the sheet's blank, or none; a chosen one that cannot be read gives
// none and, in `problem`, the sentence that says why.
ui::BitmapHandle BlankPicture(int page, std::wstring* problem = nullptr);

}  // namespace SetReportCommon
