#include "shell/group/group_print.h"

#include <algorithm>
#include <memory>

#include "report/preview/standard_preview.h"
#include "report/run/rep_printer.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "shell/state/shown_record.h"
#include "shell/state/state_file_io.h"
#include "ui/app.h"

namespace MainSet {

std::function<bool(const std::wstring&, bool)> GroupMessageHook;

namespace {

rep::TReport* activeGroupReport = nullptr;

// More lines than this would push the buttons off the screen.
constexpr std::size_t kListedFiles = 15;

std::wstring trimmed(const std::wstring& s) {
    const auto first = s.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return s.substr(first, s.find_last_not_of(L" \t") - first + 1);
}

std::wstring shortName(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Alphabetical as the secretary reads it: Russian collation, case ignored.
int compareText(const std::wstring& a, const std::wstring& b) {
    static const LCID russian = MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT);
    const int r = CompareStringW(russian, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                 static_cast<int>(b.size()));
    return r == 0 ? a.compare(b) : r - CSTR_EQUAL;
}

}  // namespace

std::wstring TGroupMember::FullName() const {
    const std::wstring surname = trimmed(Record.Field(L"edSurName"));
    const std::wstring name = trimmed(Record.Field(L"edName"));
    if (surname.empty()) return name.empty() ? shortName(FileName) : name;
    return name.empty() ? surname : surname + L" " + name;
}

TGroup ReadGroup(const std::vector<std::wstring>& fileNames) {
    TGroup group;
    for (const std::wstring& file : fileNames) {
        const SystemSet::TDecodedState read = SystemSet::ReadStateFile(file);
        if (!read.Record) {
            group.Unreadable.push_back({file, read.Problem});
            continue;
        }
        group.Members.push_back({file, SystemSet::ShownFrom(*read.Record)});
    }
    std::stable_sort(group.Members.begin(), group.Members.end(), [](const TGroupMember& a, const TGroupMember& b) {
        for (const wchar_t* field : {L"edSurName", L"edName"})
            if (int c = compareText(trimmed(a.Record.Field(field)), trimmed(b.Record.Field(field)))) return c < 0;
        return compareText(a.FileName, b.FileName) < 0;
    });
    return group;
}

std::vector<std::wstring> StateFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    const std::wstring base = folder.empty() || folder.back() == L'\\' ? folder : folder + L'\\';
    HANDLE search = FindFirstFileW((base + L"*.Blk").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        const std::wstring name = found.cFileName;
        // The pattern also matches the short names of longer extensions (".Blkx").
        const bool blk = name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".Blk") == 0;
        if (blk && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(base + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end(), [](const std::wstring& a, const std::wstring& b) { return compareText(a, b) < 0; });
    return files;
}

std::wstring UnreadableMessage(const TGroup& group) {
    std::wstring text = group.Members.empty() ? L"Ни один из выбранных файлов не удалось прочитать:\n\n"
                                              : L"Эти файлы не удалось прочитать, их страниц не будет:\n\n";
    for (std::size_t i = 0; i < group.Unreadable.size() && i < kListedFiles; ++i)
        text += group.Unreadable[i].FileName + L" \x2014 " + group.Unreadable[i].Reason + L"\n";
    if (group.Unreadable.size() > kListedFiles)
        text += L"и ещё " + std::to_wstring(group.Unreadable.size() - kListedFiles) + L" файл(ов)\n";
    if (!group.Members.empty())
        text += L"\nПечатать остальных (" + std::to_wstring(group.Members.size()) + L") без них?";
    return text;
}

rep::TReport* GroupReport() { return activeGroupReport; }

bool Tell(const std::wstring& message, bool question, HWND owner) {
    if (GroupMessageHook) return GroupMessageHook(message, question);
    const UINT type = question ? MB_OKCANCEL | MB_ICONWARNING : MB_OK | MB_ICONERROR;
    return MessageBoxW(owner ? owner : GetActiveWindow(), message.c_str(), ui::Application::get().title().c_str(),
                       type) == IDOK;
}

namespace {

template <class Sheet>
void runGroup(Sheet& sheet, const std::vector<TGroupMember>& members,
              const std::function<void(rep::TRepStandardPreview&)>& opened) {
    SetReportCommon::TSheetReport& report = sheet.Report1;
    // The sheet makes a page per record and checks each with its own graduate's values.
    report.Records = [&members] {
        SetReportCommon::TSupplementList records;
        records.reserve(members.size());
        for (const TGroupMember& m : members) records.push_back(m.Record);
        return records;
    };
    report.OnPreview = [&members, &opened](rep::TRepPrinter& printer) {
        rep::ShowStandardPreview(printer);
        if (rep::TRepStandardPreview* w = rep::StandardPreviewOf(printer)) {
            w->PageNote = [&members](int n) -> std::wstring {
                if (n < 1 || n > static_cast<int>(members.size())) return {};
                const TGroupMember& m = members[static_cast<std::size_t>(n - 1)];
                return m.FullName() + L" (" + shortName(m.FileName) + L")";
            };
            w->UpdateStatus();
            if (opened) opened(*w);
        }
    };
    struct Active {
        rep::TReport* outer = activeGroupReport;
        ~Active() { activeGroupReport = outer; }
    } active;
    activeGroupReport = &report;
    report.Preview();
}

}  // namespace

void PreviewGroup(const std::vector<TGroupMember>& members, int sheet,
                  const std::function<void(rep::TRepStandardPreview&)>& opened) {
    if (members.empty()) return;
    // A sheet of its own: the ordinary print commands stay usable meanwhile and keep their
    // settings, and the group's page range ends with its preview.
    if (sheet == 2) {
        SetReport2::TBlankoSheet2 form;
        runGroup(form, members, opened);
        return;
    }
    SetReport::TBlankoSheet1 form;
    std::unique_ptr<SetReport2::TBlankoSheet2> second;
    if (sheet == 3) {
        // Both: once the first pages are out, the stack is turned and the second pages
        // follow in the same order, on the same printer and range, checked as every print is.
        second = std::make_unique<SetReport2::TBlankoSheet2>();
        SetReport2::TBlankoSheet2& two = *second;
        form.Report1.AfterPrint = [&form, &two, &members](rep::TReport&) {
            const std::wstring turn = L"Первые страницы напечатаны (" + std::to_wstring(members.size()) +
                                      L").\n\nПереверните стопку бланков и положите её в лоток так, чтобы "
                                      L"печать шла на вторых страницах, в том же порядке, затем нажмите «ОК».\n"
                                      L"«Отмена» \x2014 вторые страницы не печатать.";
            if (!Tell(turn, true)) return;
            two.Report1.Records = form.Report1.Records;
            two.Report1.PrinterSettings = form.Report1.PrinterSettings;
            two.Report1.ShowProgress = form.Report1.ShowProgress;
            two.Report1.Print();
        };
    }
    runGroup(form, members, opened);
}

void PrintGroup(const std::vector<std::wstring>& fileNames, int sheet, HWND owner) {
    const TGroup group = ReadGroup(fileNames);
    if (!group.Unreadable.empty()) {
        const bool question = !group.Members.empty();
        const bool goOn = Tell(UnreadableMessage(group), question, owner);
        if (!question || !goOn) return;
    }
    PreviewGroup(group.Members, sheet);
}

}  // namespace MainSet
