// The native build's writer, for the platform-free core and its tests.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "ui/atomic_file.h"
#include "ui/io_error.h"
#include "ui/utf8.h"

namespace ui {

std::wstring FolderOf(const std::wstring& path) {
    auto slash = path.find_last_of(L'/');
    if (slash == std::wstring::npos) return L".";
    return slash == 0 ? L"/" : path.substr(0, slash);
}

int WriteFileAtomically(const std::wstring& fileName, std::string_view bytes) {
    const std::string name = toUtf8(fileName);
    std::string tmp = toUtf8(FolderOf(fileName)) + "/blkXXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0) return IoCodeFromErrno(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            const int err = n < 0 ? errno : ENOSPC;
            close(fd);
            unlink(tmp.c_str());
            return IoCodeFromErrno(err);
        }
        done += static_cast<std::size_t>(n);
    }
    int err = fsync(fd) == 0 ? 0 : errno;
    if (close(fd) != 0 && !err) err = errno;
    if (!err && rename(tmp.c_str(), name.c_str()) != 0) err = errno;
    if (err) {
        unlink(tmp.c_str());
        return IoCodeFromErrno(err);
    }
    return 0;
}

}  // namespace ui
