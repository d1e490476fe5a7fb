#include "shell/print_offsets.h"

#include <windows.h>

#include <vector>

#include "shell/int_parse.h"
#include "shell/printer_offsets.h"
#include "ui/error.h"
#include "ui/handles.h"

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
constexpr wchar_t kSection[] = L"Settings";

using Key = TOffsetKey;

const Key kKeys[] = {
    {L"DeltaX1", &TPrintOffsets::DeltaX1, L"0"},
    {L"DeltaX2", &TPrintOffsets::DeltaX2, L"0"},
    {L"DeltaY1", &TPrintOffsets::DeltaY1, L"0"},
    {L"DeltaY2", &TPrintOffsets::DeltaY2, L"0"},
    {L"DeltaXColumn2", &TPrintOffsets::DeltaXColumn2, L"0"},
    {L"DeltaXColumn3", &TPrintOffsets::DeltaXColumn3, L"0"},
    {L"FontSizeColumn3", &TPrintOffsets::FontSizeColumn3, L"10"},
};

bool readKey(const std::wstring& path, const Key& key, std::int32_t& out) {
    wchar_t buf[1024] = {};
    GetPrivateProfileStringW(kSection, key.name, key.def, buf, 1024, path.c_str());
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

std::span<const TOffsetKey> OffsetKeys() { return kKeys; }

bool IniFileExists() {
    DWORD attrs = GetFileAttributesW(IniPath().c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadPrintOffsets(TPrintOffsets& out) {
    out = TPrintOffsets{};
    if (!IniFileExists()) return false;
    std::wstring path = IniPath();
    TPrintOffsets v;
    for (const Key& k : kKeys)
        if (!readKey(path, k, v.*k.field)) return false;
    out = v;
    return true;
}

void LoadPrintOffsets() {
    ReadPrintOffsets(PrintOffsets);
    LoadPrinterOffsets();
}

void CreateIniStub() {
    std::wstring path = IniPath();
    ui::FileHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) throw ui::Error(L"Cannot create file " + path);
    static const char stub[] = "[Settings]\r\n";
    DWORD wrote = 0;
    if (!WriteFile(f.get(), stub, sizeof stub - 1, &wrote, nullptr) || wrote != sizeof stub - 1) {
        // A half stub would pass for a settings file next time.
        f.reset();
        DeleteFileW(path.c_str());
        throw ui::Error(L"Cannot create file " + path);
    }
}

void WritePrintOffsets(const TPrintOffsets& v) {
    std::wstring path = IniPath();
    for (const Key& k : kKeys) {
        std::wstring text = std::to_wstring(v.*k.field);
        if (!WritePrivateProfileStringW(kSection, k.name, text.c_str(), path.c_str()))
            throw ui::Error(L"Unable to write to " + path);
    }
}

}  // namespace SettingsUnit
