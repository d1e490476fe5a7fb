#include "shell/print_offsets.h"

#include <windows.h>

#include <vector>

#include "shell/int_parse.h"

namespace SettingsUnit {

TPrintOffsets PrintOffsets;
const std::wstring IniName = L"Blk.ini";

std::wstring IniPath() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return IniName;
        if (n < buf.size()) {
            std::wstring exe(buf.data(), n);
            auto slash = exe.find_last_of(L"\\/");
            std::wstring dir = slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash);
            // A drive root keeps its "\".
            if (dir.size() == 2 && dir[1] == L':') dir += L'\\';
            if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
            return dir + IniName;
        }
        buf.resize(buf.size() * 2);
    }
}

namespace {
bool readKey(const std::wstring& path, const wchar_t* key, const wchar_t* def, std::int32_t& out) {
    wchar_t buf[1024] = {};
    GetPrivateProfileStringW(L"Settings", key, def, buf, 1024, path.c_str());
    std::string narrow;
    for (const wchar_t* p = buf; *p; ++p) {
        if (*p > 0x7F) return false;
        narrow += static_cast<char>(*p);
    }
    auto v = ParseInt32(narrow);
    if (!v) return false;
    out = *v;
    return true;
}
}  // namespace

bool ReadPrintOffsets(TPrintOffsets& out) {
    std::wstring path = IniPath();
    out = TPrintOffsets{};
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    TPrintOffsets v;
    bool ok = readKey(path, L"DeltaX1", L"0", v.DeltaX1) && readKey(path, L"DeltaX2", L"0", v.DeltaX2) &&
              readKey(path, L"DeltaY1", L"0", v.DeltaY1) && readKey(path, L"DeltaY2", L"0", v.DeltaY2) &&
              readKey(path, L"DeltaXColumn2", L"0", v.DeltaXColumn2) &&
              readKey(path, L"DeltaXColumn3", L"0", v.DeltaXColumn3) &&
              readKey(path, L"FontSizeColumn3", L"10", v.FontSizeColumn3);
    if (ok) out = v;
    return ok;
}

void LoadPrintOffsets() { ReadPrintOffsets(PrintOffsets); }

}  // namespace SettingsUnit
