#include "shell/printer_offsets.h"

#include <windows.h>

#include <optional>
#include <utility>

#include "shell/ini_sections.h"
#include "shell/int_parse.h"
#include "ui/atomic_file.h"
#include "ui/cp1251.h"
#include "ui/error.h"
#include "ui/handles.h"

namespace SettingsUnit {

namespace {

constexpr wchar_t kPrefix[] = L"Printer:";

TPrinterSets ownSets;

std::optional<std::string> readWholeFile(const std::wstring& path) {
    ui::FileHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return std::nullopt;
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    return bytes;
}

TPrintOffsets setOf(const TIniSection& s) {
    TPrintOffsets v;
    for (const TOffsetKey& k : OffsetKeys()) {
        const std::wstring* text = s.Find(k.name);
        std::wstring value = text ? *text : k.def;
        std::string narrow;
        for (wchar_t c : value) {
            if (c > 0x7F) return TPrintOffsets{};
            narrow += static_cast<char>(c);
        }
        auto n = ParseInt32(narrow);
        if (!n) return TPrintOffsets{};
        v.*k.field = *n;
    }
    return v;
}

// The printer a section belongs to, or nothing for another section.
std::optional<std::wstring> printerOf(const std::wstring& section) {
    const std::wstring_view prefix = kPrefix;
    if (section.size() <= prefix.size() || !SameIniName(std::wstring_view(section).substr(0, prefix.size()), prefix))
        return std::nullopt;
    std::wstring name = section.substr(prefix.size());
    name.erase(0, name.find_first_not_of(L" \t"));
    if (name.empty()) return std::nullopt;
    return name;
}

void remember(const std::wstring& printer, const TPrintOffsets& v) {
    for (auto& [name, set] : ownSets)
        if (SameIniName(name, printer)) {
            set = v;
            return;
        }
    ownSets.emplace_back(printer, v);
}

void writeWholeFile(const std::wstring& path, const std::string& bytes) {
    if (ui::WriteFileAtomically(path, bytes) != 0) throw ui::Error(L"Unable to write to " + path);
}

}  // namespace

std::wstring PrinterSectionName(const std::wstring& printer) { return std::wstring(kPrefix) + L" " + printer; }

TPrinterSets ReadPrinterOffsets() {
    TPrinterSets sets;
    if (!IniFileExists()) return sets;
    const auto bytes = readWholeFile(IniPath());
    if (!bytes) return sets;
    for (const TIniSection& s : ParseIni(*bytes)) {
        const auto printer = printerOf(s.name);
        if (!printer) continue;
        // The first section of a printer counts, as the first of [Settings] does.
        bool seen = false;
        for (const auto& entry : sets) seen = seen || SameIniName(entry.first, *printer);
        if (!seen) sets.emplace_back(*printer, setOf(s));
    }
    return sets;
}

void LoadPrinterOffsets() { ownSets = ReadPrinterOffsets(); }

const TPrintOffsets* OwnPrinterOffsets(const std::wstring& printer) {
    if (printer.empty()) return nullptr;
    for (const auto& [name, set] : ownSets)
        if (SameIniName(name, printer)) return &set;
    return nullptr;
}

const TPrintOffsets& PrinterOffsets(const std::wstring& printer) {
    const TPrintOffsets* own = OwnPrinterOffsets(printer);
    return own ? *own : PrintOffsets;
}

std::vector<std::wstring> PrintersWithOwnOffsets() {
    std::vector<std::wstring> names;
    for (const auto& entry : ownSets) names.push_back(entry.first);
    return names;
}

void WritePrinterOffsets(const std::wstring& printer, const TPrintOffsets& v) {
    std::wstring text = L"[" + PrinterSectionName(printer) + L"]\r\n";
    for (const TOffsetKey& k : OffsetKeys()) text += std::wstring(k.name) + L"=" + std::to_wstring(v.*k.field) + L"\r\n";
    const auto section = ui::toCp1251(text);
    if (!section || printer.find_first_of(L"[]\r\n") != std::wstring::npos)
        throw ui::Error(L"Имя принтера «" + printer +
                        L"» нельзя записать в Blk.ini. Этот принтер печатает с подстройками для всех принтеров.");
    const std::wstring path = IniPath();
    std::string bytes;
    if (IniFileExists()) {
        const auto old = readWholeFile(path);
        if (!old) throw ui::Error(L"Unable to write to " + path);
        bytes = *old;
    } else {
        bytes = "[Settings]\r\n";
    }
    writeWholeFile(path, ReplaceIniSection(bytes, PrinterSectionName(printer), *section));
    remember(printer, v);
}

}  // namespace SettingsUnit
