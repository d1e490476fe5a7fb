#pragma once
// Every file the program writes (state files, Blk.ini, saved reports, text exports) is put
// in place whole: written to a temporary file in the same folder, flushed to disk, then
// moved over the old one. After any failure the old file is as it was and no temporary
// file remains.
#include <string>
#include <string_view>

namespace ui {

// Returns 0, or the code of the runtime's input/output messages (IoErrorMessage): 101 for
// a full disk, 5 for a file or folder that may not be written, 3 for a folder that does
// not exist.
int WriteFileAtomically(const std::wstring& fileName, std::string_view bytes);

// The folder a temporary file for `fileName` goes into: its own ("." for a bare name).
std::wstring FolderOf(const std::wstring& fileName);

}  // namespace ui
