#pragma once
// A whole graduating group at once: one preview of one sheet with a page per graduate,
// filled from their state files in the order of the surnames. The main window is not
// touched, and printing from the preview is one job whose page range picks graduates.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "report/run/report.h"
#include "sheets/supplement.h"

namespace rep {
class TRepStandardPreview;
}

namespace MainSet {

struct TGroupMember {
    std::wstring FileName;
    SetReportCommon::TSupplement Record;
    // "Иванов Иван Иванович": the surname and name lines as the sheet prints them.
    std::wstring FullName() const;
};

struct TUnreadableFile {
    std::wstring FileName;
    std::wstring Reason;
};

struct TGroup {
    std::vector<TGroupMember> Members;  // by surname, then name, then file name
    std::vector<TUnreadableFile> Unreadable;
};

// Reads each file as Open reads it. A file that is missing, cannot be read, is empty or is
// no state file is listed with its reason instead.
TGroup ReadGroup(const std::vector<std::wstring>& fileNames);

// The state files (names ending in ".Blk") of a folder, full paths, in name order.
std::vector<std::wstring> StateFilesIn(const std::wstring& folder);

// The Russian message naming the files that cannot be read, each with its reason; it asks
// whether to go on without them when some files could be read.
std::wstring UnreadableMessage(const TGroup& group);

// The preview of sheet 1 or 2 with one page per member, in order; returns when it closes.
// Sheet 3 is both: the preview of the first pages, whose print is followed, once she has
// turned the stack, by the second pages in the same order.
// The page's graduate is named in the preview's status bar. `opened` sees the window as
// soon as it is made (a benchmark's clock).
void PreviewGroup(const std::vector<TGroupMember>& members, int sheet,
                  const std::function<void(rep::TRepStandardPreview&)>& opened = {});

// The report of the group preview now open, or nullptr.
rep::TReport* GroupReport();

// The command once the files and the sheet are chosen: reads the files, names those that
// cannot be read and asks whether to go on, then opens the preview.
void PrintGroup(const std::vector<std::wstring>& fileNames, int sheet, HWND owner);

// Answers the question of PrintGroup (true: go on) and shows its notices; a test may set
// it to read the message instead.
extern std::function<bool(const std::wstring& message, bool question)> GroupMessageHook;
// A notice (OK) or a question (OK: go on) of the group's commands, through the hook.
bool Tell(const std::wstring& message, bool question, HWND owner = nullptr);

}  // namespace MainSet
