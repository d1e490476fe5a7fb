#include "shell/offsets/print_offsets.h"

#include <windows.h>

#include <vector>

#include "report/model/system_display.h"
#include "shell/offsets/ini_sections.h"
#include "shell/offsets/printer_offsets.h"
#include "shell/state/int_parse.h"
#include "shell/state/state_file_io.h"
#include "ui/atomic_file.h"
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

}  // namespace

std::span<const TOffsetKey> OffsetKeys() { return kKeys; }

bool IniFileExists() {
    DWORD attrs = GetFileAttributesW(IniPath().c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool OffsetsFitA4(const TPrintOffsets& o) { return OffsetsFitPaper(o, 2100, 2970, rep::ScreenResolution(), 100); }

std::optional<std::string> IniBytes() {
    if (!IniFileExists()) return std::nullopt;
    return SystemSet::ReadWholeFile(IniPath());
}

TOffsetSetRead ReadOffsetSet(const TIniSection* section, const std::wstring& sectionName) {
    TOffsetSetRead read;
    TPrintOffsets v;
    for (const Key& k : kKeys) {
        const std::wstring* found = section ? section->Find(k.name) : nullptr;
        const std::wstring text = found ? *found : k.def;
        std::string narrow;
        bool ascii = true;
        for (wchar_t c : text) {
            ascii = ascii && c <= 0x7F;
            narrow += static_cast<char>(c);
        }
        const auto n = ascii ? ParseInt32(narrow) : std::nullopt;
        if (!n) {
            // One bad value sets the whole set back, as it always did; she is told which.
            read.Problem = L"В файле Blk.ini в разделе [" + sectionName + L"] значение " + k.name + L" = «" +
                           text.substr(0, 40) + L"» — не целое число. Пока оно не исправлено, все подстройки этого "
                           L"раздела взяты по умолчанию: смещения 0, размер шрифта 3-ей колонки 10.";
            return read;
        }
        v.*k.field = *n;
    }
    read.Values = v;
    return read;
}

bool ReadPrintOffsets(TPrintOffsets& out) {
    out = TPrintOffsets{};
    const auto bytes = IniBytes();
    if (!bytes) return false;
    const TOffsetSetRead read = ReadOffsetSet(FindIniSection(ParseIni(*bytes), kSection), kSection);
    out = read.Values;
    return read.Problem.empty();
}

void LoadPrintOffsets() {
    ReadPrintOffsets(PrintOffsets);
    LoadPrinterOffsets();
}

std::vector<std::wstring> IniProblems() {
    std::vector<std::wstring> problems;
    const auto bytes = IniBytes();
    if (!bytes) return problems;
    const auto sections = ParseIni(*bytes);
    const TOffsetSetRead common = ReadOffsetSet(FindIniSection(sections, kSection), kSection);
    if (!common.Problem.empty()) problems.push_back(common.Problem);
    for (const TIniSection& s : sections) {
        if (&s != FindIniSection(sections, s.name) || !IsPrinterSection(s.name)) continue;
        const TOffsetSetRead own = ReadOffsetSet(&s, s.name);
        if (!own.Problem.empty()) problems.push_back(own.Problem);
    }
    return problems;
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

void WriteIniKeys(const std::wstring& section, const std::vector<std::pair<std::wstring, std::wstring>>& keys) {
    const std::wstring path = IniPath();
    std::string bytes = "[Settings]\r\n";
    if (IniFileExists()) {
        auto old = SystemSet::ReadWholeFile(path);
        if (!old) throw ui::Error(L"Unable to write to " + path);
        bytes = std::move(*old);
    }
    const auto changed = SetIniKeys(bytes, section, keys);
    if (!changed)
        throw ui::Error(L"Раздел [" + section + L"] нельзя записать в Blk.ini: в его имени есть знак, которого нет в "
                        L"кодировке файла.");
    if (ui::WriteFileAtomically(path, *changed) != 0) throw ui::Error(L"Unable to write to " + path);
}

void WriteOffsetSet(const std::wstring& section, const TPrintOffsets& v) {
    std::vector<std::pair<std::wstring, std::wstring>> keys;
    for (const Key& k : kKeys) keys.emplace_back(k.name, std::to_wstring(v.*k.field));
    WriteIniKeys(section, keys);
}

void WritePrintOffsets(const TPrintOffsets& v) { WriteOffsetSet(kSection, v); }

}  // namespace SettingsUnit
