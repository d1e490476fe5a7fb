#include "sheets/sheet_report.h"

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "sheets/sheet_title.h"
#include "ui/app.h"

namespace SetReportCommon {

namespace {
std::wstring Pages(int first, int last) {
    return first == last ? std::to_wstring(first) : std::to_wstring(first) + L"\x2013" + std::to_wstring(last);
}
}  // namespace

std::wstring WhoOf(const TSupplement& record) {
    const std::wstring surname = Trimmed(record.Field(L"edSurName"));
    const std::wstring name = Trimmed(record.Field(L"edName"));
    if (surname.empty() || name.empty()) return surname + name;
    return surname + L" " + name;
}

TSheetReport::TSheetReport(int sheet) : sheet_(sheet) {
    // A page for each record, the first with the run's start.
    OnNeedData = [this](rep::TReport& r, bool& more) {
        const auto records = RecordsOf(RunSource());
        more = records && r.PageNumber() < static_cast<int>(records->size());
        if (more) r.NewPage();
    };
}

std::shared_ptr<const TSupplementList> TSheetReport::RecordsOf(const rep::TRepPrinter* preview) const {
    if (preview)
        if (auto it = previews_.find(preview); it != previews_.end()) return it->second;
    return direct_;
}

const TSupplement& TSheetReport::RecordOfPage(int n) const {
    static const TSupplement empty;
    const auto records = RecordsOf(RunSource());
    if (!records || n < 1 || n > static_cast<int>(records->size())) return empty;
    return (*records)[static_cast<std::size_t>(n - 1)];
}

std::wstring TSheetReport::WhoOfPage(int page) const {
    const auto records = RecordsOf(RunSource());
    if (!records || records->size() < 2) return {};
    const std::wstring who = WhoOf(RecordOfPage(page));
    return who.empty() ? L"страница " + std::to_wstring(page) : who;
}

std::wstring TSheetReport::TitleFor(const TSupplementList& records) const {
    std::wstring first = records.empty() ? std::wstring() : Trimmed(records.front().Field(L"edSurName"));
    if (records.size() > 1) first = (first.empty() ? L"Группа" : first) + L" и др.";
    return SheetTitle(first, sheet_, ui::Application::get().title());
}

void TSheetReport::PreviewStarting(rep::TRepPrinter& preview) {
    auto records = std::make_shared<const TSupplementList>(Records ? Records() : TSupplementList{});
    previews_[&preview] = records;
    ExpectedPages = static_cast<int>(records->size());
    // The window and the print jobs are named after the graduate the pages are of.
    ReportTitle = TitleFor(*records);
    preview.Title = ReportTitle;
    preview.OnStaleNote = [this, &preview]() -> std::wstring {
        const auto shown = RecordsOf(&preview);
        if (!Records || !shown) return {};
        return *shown == Records() ? std::wstring() : StaleText;
    };
    if (rep::TRepStandardPreview* window = rep::StandardPreviewOf(preview)) {
        window->setText(preview.Title);
        window->ClearPageChecks();
    }
}

void TSheetReport::PreviewShown(rep::TRepPrinter& preview) {
    rep::TRepStandardPreview* window = rep::StandardPreviewOf(preview);
    if (!window) return;
    std::wstring problem;
    window->RepPreview->SetUnderlay(BlankPicture(sheet_, &problem));
    if (!problem.empty()) window->SetNotice(problem);
}

void TSheetReport::PreviewEnded(rep::TRepPrinter& preview) { previews_.erase(&preview); }

void TSheetReport::PageLaidOut() {
    rep::TRepPrinter* printer = RepPrinter();
    if (!printer) return;
    // Every run shrinks as the check does; only the preview's own run marks its pages.
    const auto misfits = CheckLaidOutPage(*this, FieldOf, printer->PrintArea());
    if (printer->Destination != rep::dtPageStore || Exporting() || RunSource() != printer) return;
    if (rep::TRepStandardPreview* window = rep::StandardPreviewOf(*printer)) {
        std::wstring notice = NoticeOf(misfits);
        const std::wstring who = WhoOfPage(PageNumber());
        if (!who.empty() && !notice.empty()) notice = who + L". " + notice;
        window->SetPageCheck(PageNumber(), MarksOf(misfits), std::move(notice));
    }
}

bool TSheetReport::ApprovePrint(rep::TRepPrinter& printer) {
    if (!RunSource()) {
        direct_ = std::make_shared<const TSupplementList>(Records ? Records() : TSupplementList{});
        ReportTitle = TitleFor(*direct_);
    }
    const auto records = RecordsOf(RunSource());
    const int count = std::max(1, records ? static_cast<int>(records->size()) : 0);
    ExpectedPages = count;
    printer.ExpectedPages = count;
    // Every page the job will print, laid out and measured for this printer, each with its
    // own graduate's record.
    const rep::TRepPrintArea area = printer.PrintArea();
    std::vector<TPageMisfits> found;
    for (int n = 1; n <= count; ++n) {
        if ((printer.FirstPage > 0 && n < printer.FirstPage) || (printer.LastPage > 0 && n > printer.LastPage)) continue;
        LayOutPage(n);
        auto misfits = CheckLaidOutPage(*this, FieldOf, area);
        if (!misfits.empty()) found.push_back({n, WhoOfPage(n), std::move(misfits)});
    }
    rep::TRepStandardPreview* window = RunSource() ? rep::StandardPreviewOf(*RunSource()) : nullptr;
    // The preview shows what the check found for this printer.
    if (window)
        for (const TPageMisfits& p : found) {
            std::wstring notice = NoticeOf(p.Misfits);
            if (!p.Who.empty() && !notice.empty()) notice = p.Who + L". " + notice;
            window->SetPageCheck(p.Page, MarksOf(p.Misfits), std::move(notice));
        }
    if (AskPrintAsItIs(found)) return true;
    // Back to where the values are edited.
    if (window) window->ExitClick();
    return false;
}

void TSheetReport::PrintCancelled(int pagesEnded) {
    std::wstring text = L"Печать отменена, задание снято с печати.";
    // The pages ended before the cancel, of those the job's range sends.
    const rep::TRepPrinter* printer = RepPrinter();
    const int first = printer && printer->FirstPage > 0 ? printer->FirstPage : 1;
    const int last = printer && printer->LastPage > 0 ? std::min(pagesEnded, printer->LastPage) : pagesEnded;
    if (last < first) {
        text += L"\nНи одна страница не была передана принтеру.";
    } else {
        text += L"\nДо отмены принтеру были переданы страницы " + Pages(first, last);
        std::wstring who;
        for (int n = first; n <= last && n < first + 10; ++n) {
            const std::wstring w = WhoOfPage(n);
            if (!w.empty()) who += (who.empty() ? L"" : L", ") + w;
        }
        if (!who.empty()) text += L" (" + who + (last - first >= 10 ? L" и др." : L"") + L")";
        text += L". Если принтер успел их напечатать, эти бланки уже заполнены.";
    }
    rep::ShowMessage(text);
}

}  // namespace SetReportCommon
