#pragma once
// What a sheet's previews and print jobs are called, so that the supplements of several
// graduates can be told apart in the print queue and on screen.
#include <string>

#include "report/run/report.h"
#include "sheets/supplement.h"

namespace SetReportCommon {

// Without the blanks and tabs at either end.
std::wstring Trimmed(const std::wstring& s);

// The name of a sheet's preview and print jobs: the graduate's surname and the page, then
// the program, "Иванов, стр. 1 - Приложение к Диплому". The spooler keeps only the first
// 31 characters of a job's name, so a surname too long to leave the page in them is cut,
// at a word's end where it can be.
std::wstring SheetTitle(const std::wstring& surname, int page, const std::wstring& program);

}  // namespace SetReportCommon
