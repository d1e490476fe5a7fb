#pragma once
// The report of a supplement sheet: one page per record, every page laid out for the printer
// that prints it and checked against that printer's printable area with its own record,
// before the blank goes in. The check belongs to the run itself: a preview of one sheet, of a
// group, its refresh and every print from it go through the same steps, and an event set on
// the report by its opener cannot replace them.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "report/run/report.h"
#include "sheets/blank_guard.h"
#include "sheets/supplement.h"

namespace SetReportCommon {

using TSupplementList = std::vector<TSupplement>;

// "Иванов Пётр Сергеевич": the surname and name lines as the sheet prints them; empty when
// the record has neither.
std::wstring WhoOf(const TSupplement& record);

class TSheetReport : public rep::TReport {
public:
    // sheet: 1 or 2, the blank whose picture the preview draws under the page.
    explicit TSheetReport(int sheet);

    // The records to print, one page each: what the main window holds, or a group's. Taken
    // when a preview opens (the preview keeps them: its print and export use them, not what
    // the window holds later) and when a print starts without a preview. None: one empty page.
    std::function<TSupplementList()> Records;
    // The field whose value a label prints, for naming it to her.
    TFieldOfLabel FieldOf;
    // What a preview says when the records it was made from are no longer what Records
    // gives (the main window was changed since).
    std::wstring StaleText = L"Данные изменились после открытия просмотра — F5 обновит просмотр.";

    // The record page n of the running run prints (from 1); an empty one outside the list.
    const TSupplement& RecordOfPage(int n) const;
    // The records the running run, or the preview of that printer, was made from.
    std::shared_ptr<const TSupplementList> RecordsOf(const rep::TRepPrinter* preview) const;

protected:
    void PreviewStarting(rep::TRepPrinter& preview) override;
    void PreviewShown(rep::TRepPrinter& preview) override;
    void PreviewEnded(rep::TRepPrinter& preview) override;
    bool ApprovePrint(rep::TRepPrinter& printer) override;
    void PageLaidOut() override;
    void PrintCancelled(int pagesEnded) override;

private:
    std::wstring WhoOfPage(int page) const;
    std::wstring TitleFor(const TSupplementList& records) const;

    int sheet_;
    std::map<const rep::TRepPrinter*, std::shared_ptr<const TSupplementList>> previews_;
    // The records of a print asked for without a preview, taken when it starts.
    std::shared_ptr<const TSupplementList> direct_;
};

}  // namespace SetReportCommon
