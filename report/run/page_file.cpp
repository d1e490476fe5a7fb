#include "report/run/page_file.h"

#include "report/run/file_stream.h"
#include "ui/atomic_file.h"
#include "ui/error.h"
#include "ui/handles.h"
#include "ui/metafile.h"
#include "ui/utf8.h"

namespace rep {

ERepBadFile::ERepBadFile(std::wstring fileName, int page, Fault fault)
    : ERepFileError(page, fault,
                    ui::toUtf8(L"The file " + fileName + L" is not a valid report file: ") + DamagedPart(page, fault)),
      fileName_(std::move(fileName)) {}

void AddPage(TRepPageList& pages, HENHMETAFILE page) { pages.AddPage(ui::EmfBytes(page)); }

ui::EnhMetaFile GetPage(TRepPageList& pages, int n) {
    const auto bytes = pages.GetPage(n);
    if (!bytes) return {};
    try {
        return ui::EmfFromBytes(*bytes);
    } catch (const ui::Error&) {
        throw ERepFileError(n);
    }
}

void SaveToFile(TRepPageList& pages, const std::wstring& name) {
    // Refused before anything is written, as every writer of the program refuses it.
    const DWORD attrs = GetFileAttributesW(name.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        ThrowFileError(L"Cannot create file", name, ERROR_ACCESS_DENIED);
    const DWORD folder = GetFileAttributesW(ui::FolderOf(name).c_str());
    if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY))
        ThrowFileError(L"Cannot create file", name, ERROR_PATH_NOT_FOUND);
    if (attrs != INVALID_FILE_ATTRIBUTES) {
        // A file open elsewhere (the report being shown) is in use: said before anything is written.
        ui::FileHandle probe(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) ThrowFileError(L"Cannot create file", name, GetLastError());
    }
    // Written beside it and put in place whole: a failure half-way leaves the old file.
    wchar_t tmpName[MAX_PATH + 16] = {};
    if (!GetTempFileNameW(ui::FolderOf(name).c_str(), L"rep", 0, tmpName))
        ThrowFileError(L"Cannot create file", name, GetLastError());
    ui::TempFile tmp(tmpName);
    {
        FileStream file(tmpName, FileStream::Mode::Create);
        pages.CopyTo(file);
        file.FlushToDisk();
    }
    if (!MoveFileExW(tmpName, name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowFileError(L"Cannot create file", name, GetLastError());
    tmp.keep();
}

ui::EnhMetaFile GetPage(TRepPageList& pages, const std::wstring& fileName, int n) {
    try {
        return GetPage(pages, n);
    } catch (const ERepFileError& e) {
        throw ERepBadFile(fileName, e.Page(), e.Kind());
    }
}

TRepLoadedFile LoadFromFile(const std::wstring& name) {
    TRepLoadedFile loaded;
    loaded.fileName = name;
    loaded.stream = TRepStream::OpenFile(name);
    loaded.pages = std::make_unique<TRepPageList>();
    int page = 0;
    try {
        loaded.pages->Open(*loaded.stream);
        // In order, so each page is one step of the record walk from the last.
        for (page = 1; page <= loaded.pages->PageCount(); ++page)
            rep::GetPage(*loaded.pages, page);
    } catch (const EFileAccessError&) {
        throw;
    } catch (const ERepFileError& e) {
        throw ERepBadFile(name, e.Page(), e.Kind());
    } catch (const ERepError&) {
        throw ERepBadFile(name, page);
    }
    return loaded;
}

}  // namespace rep
