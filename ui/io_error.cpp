#include "ui/io_error.h"

#include <cerrno>

namespace ui {

std::wstring IoErrorMessage(int code) {
    switch (code) {
    case 2: return L"File not found";
    case 3: return L"Invalid filename";
    case 4: return L"Too many open files";
    case 5: return L"File access denied";
    case 100: return L"Read beyond end of file";
    case 101: return L"Disk full";
    case 106: return L"Invalid numeric input";
    default: return L"I/O error " + std::to_wstring(code);
    }
}

int IoCodeFromErrno(int err) {
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case EINVAL:
    case ENAMETOOLONG: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return 5;
    case ENOSPC: return 101;
    default: return err;
    }
}

}  // namespace ui
