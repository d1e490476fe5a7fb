#include "sheets/blank_guard.h"

#include <windows.h>

#include "sheets/field_captions.h"
#include "sheets/print_settings.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "ui/app.h"
#include "ui/picture_file.h"
#include "ui/utf8.h"

namespace SetReportCommon {

std::function<bool(const std::wstring&)> AskPrintAsItIsHook;

namespace {

// More lines than this would push the buttons of the question off the screen.
constexpr std::size_t kListedLines = 25;

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

std::wstring NameOf(const TFieldOfLabel& fieldOf, const rep::TRepCustomLabel* label) {
    const std::string field = label && fieldOf ? fieldOf(*label) : std::string();
    return field.empty() ? std::wstring(L"«?»") : SetReportCommon::FieldCaption(field);
}

std::wstring Problems(unsigned kinds, const std::wstring& overlapped) {
    std::wstring s;
    auto add = [&s](const std::wstring& what) { s += (s.empty() ? L"" : L", ") + what; };
    if (kinds & rep::mkCut) add(L"не помещается в графу, часть слов не будет напечатана");
    if (kinds & rep::mkPastEdge) add(L"выходит за край бумаги");
    if (kinds & rep::mkUnprintable) add(L"заходит на край листа, где принтер не печатает");
    if (kinds & rep::mkOverlap) add(L"заходит на " + overlapped);
    return s;
}

TBlankMisfit Describe(const rep::TRepMisfit& m, const TFieldOfLabel& fieldOf) {
    TBlankMisfit b;
    b.Area = m.Area;
    b.Spoils = m.Kinds != 0;
    std::wstring text = NameOf(fieldOf, m.Label) + L": ";
    if (m.ShrunkTo && !m.Kinds) text += L"шрифт уменьшен до " + std::to_wstring(m.ShrunkTo) + L" pt";
    else text += Problems(m.Kinds, NameOf(fieldOf, m.Overlapped));
    b.Text = text;
    return b;
}

std::string Numbered(const char* prefix, std::size_t i) { return prefix + std::to_string(i + 1); }

template <std::size_t N>
std::string InArray(const std::array<rep::TRepLabel*, N>& arr, const rep::TRepPrintable& l, const char* prefix) {
    for (std::size_t i = 0; i < N; ++i)
        if (arr[i] == &l) return Numbered(prefix, i);
    return {};
}

bool Ask(const std::wstring& list) {
    const std::wstring text = L"Эти значения испортят бланк:\n\n" + list +
                              L"\nНапечатать как есть?\n«Да» — напечатать как есть, «Нет» — вернуться и исправить.";
    if (AskPrintAsItIsHook) return AskPrintAsItIsHook(text);
    return MessageBoxW(GetActiveWindow(), text.c_str(), ui::Application::get().title().c_str(),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace

std::vector<TBlankMisfit> CheckLaidOutPage(rep::TReport& report, const TFieldOfLabel& fieldOf,
                                           const rep::TRepPrintArea& area) {
    const auto found = PrintSettings().Blanks().ShrinkToFit ? rep::ShrinkMisfits(report, area)
                                                              : rep::FindMisfits(report, area);
    std::vector<TBlankMisfit> out;
    for (const rep::TRepMisfit& m : found) out.push_back(Describe(m, fieldOf));
    return out;
}

std::wstring NoticeOf(const std::vector<TBlankMisfit>& misfits) {
    std::wstring spoil, shrunk;
    for (const TBlankMisfit& m : misfits) {
        std::wstring& to = m.Spoils ? spoil : shrunk;
        to += (to.empty() ? L"" : L"; ") + m.Text;
    }
    if (spoil.empty()) return shrunk;
    return L"Испортят бланк (весь список — F2): " + spoil + (shrunk.empty() ? L"" : L"; " + shrunk);
}

std::vector<rep::TRepNativeRect> MarksOf(const std::vector<TBlankMisfit>& misfits) {
    std::vector<rep::TRepNativeRect> marks;
    for (const TBlankMisfit& m : misfits)
        if (m.Spoils) marks.push_back(m.Area);
    return marks;
}

bool AskPrintAsItIs(const std::vector<TPageMisfits>& pages) {
    std::wstring list;
    std::size_t lines = 0, left = 0;
    for (const TPageMisfits& p : pages) {
        bool named = false;
        for (const TBlankMisfit& m : p.Misfits) {
            if (!m.Spoils) continue;
            if (lines >= kListedLines) {
                ++left;
                continue;
            }
            if (!p.Who.empty() && !named) {
                list += p.Who + L" (стр. " + std::to_wstring(p.Page) + L"):\n";
                named = true;
                ++lines;
            }
            list += (p.Who.empty() ? L"\u2022 " : L"    \u2022 ") + m.Text + L"\n";
            ++lines;
        }
    }
    if (list.empty()) return true;
    if (left) list += L"и ещё " + std::to_wstring(left) + L"\n";
    return Ask(list);
}

ui::BitmapHandle BlankPicture(int page, std::wstring* problem) {
    const std::wstring& path = PrintSettings().Blanks().Picture(page);
    if (path.empty()) return {};
    try {
        return ui::LoadPictureFile(path);
    } catch (const std::exception& e) {
        // Chosen once and gone or spoilt since: the preview says so instead of showing none.
        if (problem) *problem = L"Рисунок бланка не показан. " + ui::fromUtf8(e.what()) + L".";
        return {};
    }
}

TFieldOfLabel FieldsOf(const SetReport::TBlankoSheet1& sheet) {
    return [&sheet](const rep::TRepPrintable& l) -> std::string {
        if (l.Name.rfind(L"Rlb", 0) == 0) {
            // The form definition names a label after its field: RlbTown prints edTown.
            const std::string rest = Narrow(l.Name.substr(3));
            if (rest == "Trial") return "cbTrial";
            return rest.rfind("ed", 0) == 0 ? rest : "ed" + rest;
        }
        for (const auto& s : {InArray(sheet.RlbSpec, l, "edSpec"), InArray(sheet.RlbCourseWork, l, "edCourseWork"),
                              InArray(sheet.RlbPraktic, l, "edPraktic"), InArray(sheet.RlbExamMore, l, "edExamMore")})
            if (!s.empty()) return s;
        return {};
    };
}

TFieldOfLabel FieldsOf(const SetReport2::TBlankoSheet2& sheet) {
    return [&sheet](const rep::TRepPrintable& l) -> std::string {
        for (const auto& s : {InArray(sheet.RlbDiscipline, l, "edDiscipline"), InArray(sheet.RlbHours, l, "edHours"),
                              InArray(sheet.RlbMark, l, "cbMark")})
            if (!s.empty()) return s;
        return {};
    };
}

}  // namespace SetReportCommon
