#pragma once
// Files for the shell's tests: scratch folders, whole-file bytes, the settings file kept
// aside while a test changes it, and the failures only the host system can make (a small
// full disk, a file that nobody may change), made by running host commands under Wine.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "shell/offsets/print_offsets.h"

namespace hostfiles {

inline std::optional<std::string> readBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) data.append(buf, got);
    CloseHandle(h);
    return data;
}

inline bool writeBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD wrote = 0;
    bool ok = bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
                                wrote == bytes.size());
    CloseHandle(h);
    return ok;
}

// The lines of a file's bytes, split at CR LF (a last line without one included).
inline std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        out.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

// The names in a folder, "." and ".." left out, sorted.
inline std::vector<std::wstring> listFolder(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") names.push_back(n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

// Removes a file or a folder with everything in it.
inline void removeTree(const std::wstring& path) {
    DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
    if (attrs & FILE_ATTRIBUTE_DIRECTORY) {
        for (const auto& n : listFolder(path)) removeTree(path + L"\\" + n);
        RemoveDirectoryW(path.c_str());
    } else {
        DeleteFileW(path.c_str());
    }
}

// A fresh folder under the temporary directory, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        static int serial = 0;
        path_ = std::wstring(tmp) + L"blk-shell-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++serial);
        removeTree(path_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { removeTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Keeps whatever lies at the settings file's place and puts it back at the end, so that
// no test sees the settings of another.
class SavedIni {
public:
    SavedIni() : path_(SettingsUnit::IniPath()), saved_(readBytes(path_)) { clear(); }
    ~SavedIni() {
        clear();
        if (saved_) writeBytes(path_, *saved_);
    }
    SavedIni(const SavedIni&) = delete;
    SavedIni& operator=(const SavedIni&) = delete;
    const std::wstring& path() const { return path_; }
    // Leaves nothing at the settings file's place.
    void clear() const { removeTree(path_); }
    void write(const std::string& bytes) const {
        clear();
        writeBytes(path_, bytes);
    }
    std::optional<std::string> read() const { return readBytes(path_); }

private:
    std::wstring path_;
    std::optional<std::string> saved_;
};

// The host system's name for a path: Wine's own conversion, else the drive that maps the
// host's root (Z:).
inline std::optional<std::string> hostPath(const std::wstring& windowsPath) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    std::string out;
    if (auto toUnix = reinterpret_cast<ToUnix>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")))) {
        if (char* unix = toUnix(windowsPath.c_str())) {
            out = unix;
            HeapFree(GetProcessHeap(), 0, unix);
        }
    } else if (windowsPath.size() >= 3 && (windowsPath[0] == L'Z' || windowsPath[0] == L'z') && windowsPath[1] == L':') {
        for (size_t i = 2; i < windowsPath.size(); ++i) {
            wchar_t c = windowsPath[i];
            if (c > 0x7E) return std::nullopt;
            out += c == L'\\' ? '/' : static_cast<char>(c);
        }
    }
    // Keeps the shell quoting simple.
    if (out.empty() || out.find_first_of("'\\") != std::string::npos) return std::nullopt;
    for (unsigned char c : out)
        if (c < 0x20 || c > 0x7E) return std::nullopt;
    return out;
}

// Runs a command of the host system and returns its exit status, or nullopt when host
// commands cannot be run here (not under Wine, no shell). Under Wine a Unix program started
// with CreateProcess gets no process handle, so the command reports its status in a file.
inline std::optional<int> runHost(const std::string& command, DWORD timeoutMs = 15000) {
    if (GetFileAttributesW(L"Z:\\bin\\sh") == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    static int serial = 0;
    std::string base = "/tmp/blk-host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    auto win = [](const std::string& unix) {
        std::wstring w = L"Z:";
        for (char c : unix) w += c == '/' ? L'\\' : static_cast<wchar_t>(c);
        return w;
    };
    std::wstring script = win(base + ".sh"), status = win(base + ".rc");
    DeleteFileW(status.c_str());
    if (!writeBytes(script, "PATH=/usr/sbin:/usr/bin:/sbin:/bin\n" + command + "\necho $? > " + base + ".part && mv " + base + ".part " + base + ".rc\n"))
        return std::nullopt;
    std::wstring cmd = L"Z:\\bin\\sh " + std::wstring(base.begin(), base.end()) + L".sh";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessW(L"Z:\\bin\\sh", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    std::optional<int> result;
    if (started) {
        for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
            if (auto text = readBytes(status)) {
                result = std::atoi(text->c_str());
                break;
            }
            Sleep(20);
        }
    }
    DeleteFileW(script.c_str());
    DeleteFileW(status.c_str());
    return result;
}

// A tiny file system of its own (64 KiB of memory), mounted for the test and gone after it.
class SmallDisk {
public:
    SmallDisk() {
        static int serial = 0;
        unix_ = "/tmp/blk-small-disk-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        auto rc = runHost("mkdir -p " + unix_ + " && mount -t tmpfs -o size=64k blk-test " + unix_);
        if (rc && *rc == 0) {
            mounted_ = true;
            path_ = L"Z:" + std::wstring(unix_.begin(), unix_.end());
            for (auto& c : path_)
                if (c == L'/') c = L'\\';
        } else {
            why_ = rc ? "mount -t tmpfs failed with status " + std::to_string(*rc) + " (not root?)"
                      : std::string("host commands cannot be run here (not under Wine?)");
            runHost("rmdir " + unix_);
        }
    }
    ~SmallDisk() {
        if (mounted_) runHost("umount " + unix_ + " && rmdir " + unix_);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool ready() const { return mounted_; }
    const std::string& whyNot() const { return why_; }
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Takes all the space that is left with one file; true when the disk is then full.
    bool fill(const std::wstring& name) const {
        HANDLE h = CreateFileW(file(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        std::string block(512, 'x');
        DWORD wrote = 0;
        DWORD err = 0;
        for (int i = 0; i < 1000; ++i) {
            if (!WriteFile(h, block.data(), static_cast<DWORD>(block.size()), &wrote, nullptr)) {
                err = GetLastError();
                break;
            }
        }
        CloseHandle(h);
        return err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL;
    }

private:
    std::string unix_;
    std::wstring path_;
    bool mounted_ = false;
    std::string why_;
};

// Marks a file immutable on the host (chattr +i): not even root may write, rename or
// replace it. Undone at the end.
class ImmutableFile {
public:
    explicit ImmutableFile(const std::wstring& path) {
        auto unix = hostPath(path);
        if (!unix) {
            why_ = "the host's name for the file is unknown";
            return;
        }
        unix_ = *unix;
        auto rc = runHost("chattr +i '" + unix_ + "'");
        if (rc && *rc == 0) set_ = true;
        else why_ = rc ? "chattr +i failed (not root, or the file system has no such flag)"
                       : "host commands cannot be run here (not under Wine?)";
    }
    ~ImmutableFile() { release(); }
    ImmutableFile(const ImmutableFile&) = delete;
    ImmutableFile& operator=(const ImmutableFile&) = delete;
    void release() {
        if (set_) runHost("chattr -i '" + unix_ + "'");
        set_ = false;
    }
    bool ready() const { return set_; }
    const std::string& whyNot() const { return why_; }

private:
    std::string unix_;
    bool set_ = false;
    std::string why_;
};

}  // namespace hostfiles
