#pragma once
// Page pictures in the page store, and the store saved to and loaded from a report file.
#include <windows.h>

#include <memory>
#include <string>

#include "report/run/page_list.h"
#include "report/run/rep_error.h"
#include "report/run/rep_stream.h"
#include "ui/handles.h"

namespace rep {

// A report file that does not hold up, named in the message:
// "The file C:\x\a.REP is not a valid report file: page 3 is damaged".
class ERepBadFile : public ERepFileError {
public:
    ERepBadFile(std::wstring fileName, int page, Fault fault = Fault::Damaged);
    const std::wstring& FileName() const { return fileName_; }

private:
    std::wstring fileName_;
};

// Appends the picture as the next page.
void AddPage(TRepPageList& pages, HENHMETAFILE page);
// Page n as a new picture, or none when n is not a stored page. A page the system
// cannot read throws ERepFileError(n).
ui::EnhMetaFile GetPage(TRepPageList& pages, int n);
// The same for pages loaded from a saved report: damage throws ERepBadFile naming it.
ui::EnhMetaFile GetPage(TRepPageList& pages, const std::wstring& fileName, int n);

// Copies the whole store into the file, 10240 bytes at a time, under the page-list lock
// (every writer of the store holds it) with the stream's lock around each chunk. It is
// written to a temporary file beside it, flushed, and put in place whole: a copy that fails
// half-way, or a file open elsewhere (the report being shown, which fails with the system's
// "in use" error), leaves the old file as it was and no temporary file. A store without
// pages gives a file of no pages, which loads again.
void SaveToFile(TRepPageList& pages, const std::wstring& name);

// A saved report opened as a page store: the read-only stream and the page list on
// it. The report printer takes both over.
struct TRepLoadedFile {
    std::wstring fileName;
    std::unique_ptr<TRepStream> stream;
    std::unique_ptr<TRepPageList> pages;  // after stream: freed first

    int PageCount() const { return pages->PageCount(); }
    ui::EnhMetaFile GetPage(int n) { return rep::GetPage(*pages, fileName, n); }
};

// Opens the file read-only and checks every page (its record links, its data and that
// the system reads its picture) before handing anything back, so a failed load leaves
// whatever the caller holds untouched. A file that cannot be opened throws
// EFileAccessError; one that is not a sound report file throws ERepBadFile.
TRepLoadedFile LoadFromFile(const std::wstring& name);

}  // namespace rep
