#include "ui/atomic_file.h"

#include <windows.h>

#include <algorithm>

#include "ui/handles.h"

namespace ui {

namespace {
int ioCode(DWORD err) {
    if (err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL) return 101;
    if (err == ERROR_INVALID_NAME || err == ERROR_BAD_PATHNAME || err == ERROR_PATH_NOT_FOUND) return 3;
    return static_cast<int>(err);
}
}  // namespace

std::wstring FolderOf(const std::wstring& path) {
    auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    if (slash == 2 && path[1] == L':') return path.substr(0, 3);
    return path.substr(0, slash);
}

int WriteFileAtomically(const std::wstring& fileName, std::string_view bytes) {
    // A target that cannot be written is refused before anything is touched.
    DWORD attrs = GetFileAttributesW(fileName.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return 5;
    const std::wstring folder = FolderOf(fileName);
    DWORD fattrs = GetFileAttributesW(folder.c_str());
    if (fattrs == INVALID_FILE_ATTRIBUTES || !(fattrs & FILE_ATTRIBUTE_DIRECTORY)) return 3;
    wchar_t tmpName[MAX_PATH + 16] = {};
    if (!GetTempFileNameW(folder.c_str(), L"blk", 0, tmpName)) return ioCode(GetLastError());
    TempFile tmp(tmpName);
    {
        FileHandle f(CreateFileW(tmpName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f) return ioCode(GetLastError());
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
            DWORD wrote = 0;
            if (!WriteFile(f.get(), bytes.data() + done, chunk, &wrote, nullptr)) return ioCode(GetLastError());
            if (wrote != chunk) return 101;
            done += wrote;
        }
        // On the disk before it replaces anything: a power cut leaves the old file or the new.
        if (!FlushFileBuffers(f.get())) return ioCode(GetLastError());
    }
    if (!MoveFileExW(tmpName, fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ioCode(GetLastError());
    tmp.keep();
    return 0;
}

}  // namespace ui
