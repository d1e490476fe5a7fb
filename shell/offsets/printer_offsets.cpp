#include "shell/offsets/printer_offsets.h"

#include <optional>
#include <utility>

#include "shell/offsets/blank_settings.h"
#include "shell/offsets/ini_sections.h"
#include "ui/error.h"

namespace SettingsUnit {

namespace {

constexpr wchar_t kPrefix[] = L"Printer:";

TPrinterSets ownSets;

void remember(const std::wstring& printer, const TPrintOffsets& v) {
    for (auto& [name, set] : ownSets)
        if (SameIniName(name, printer)) {
            set = v;
            return;
        }
    ownSets.emplace_back(printer, v);
}

// The sheets print with what this module and the blanks' keep of the settings file.
const struct TIniPrintSettings final : SetReportCommon::TPrintSettings {
    const TPrintOffsets& OffsetsFor(const std::wstring& printer) const override { return PrinterOffsets(printer); }
    bool HasOwnOffsets(const std::wstring& printer) const override { return OwnPrinterOffsets(printer) != nullptr; }
    const TBlankSettings& Blanks() const override { return BlankSettings; }
} iniPrintSettings;

}  // namespace

std::wstring PrinterSectionName(const std::wstring& printer) { return std::wstring(kPrefix) + L" " + printer; }

std::optional<std::wstring> PrinterOfSection(const std::wstring& section) {
    const std::wstring_view prefix = kPrefix;
    if (section.size() <= prefix.size() || !SameIniName(std::wstring_view(section).substr(0, prefix.size()), prefix))
        return std::nullopt;
    std::wstring name = section.substr(prefix.size());
    name.erase(0, name.find_first_not_of(L" \t"));
    if (name.empty()) return std::nullopt;
    return name;
}

bool IsPrinterSection(const std::wstring& section) { return PrinterOfSection(section).has_value(); }

TPrinterSets ReadPrinterOffsets() {
    TPrinterSets sets;
    const auto bytes = IniBytes();
    if (!bytes) return sets;
    for (const TIniSection& s : ParseIni(*bytes)) {
        const auto printer = PrinterOfSection(s.name);
        if (!printer) continue;
        // The first section of a printer counts, as the first of [Settings] does.
        bool seen = false;
        for (const auto& entry : sets) seen = seen || SameIniName(entry.first, *printer);
        if (!seen) sets.emplace_back(*printer, ReadOffsetSet(&s, s.name).Values);
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

void UseIniPrintSettings() { SetReportCommon::HandInPrintSettings(&iniPrintSettings); }

bool CanWritePrinterSection(const std::wstring& printer) {
    const auto bytes = IniBytes();
    return IniCanHoldName(bytes ? *bytes : std::string(), PrinterSectionName(printer));
}

void WritePrinterOffsets(const std::wstring& printer, const TPrintOffsets& v) {
    if (!CanWritePrinterSection(printer))
        throw ui::Error(L"Имя принтера «" + printer +
                        L"» нельзя записать в Blk.ini. Этот принтер печатает с подстройками для всех принтеров.");
    WriteOffsetSet(PrinterSectionName(printer), v);
    remember(printer, v);
}

}  // namespace SettingsUnit
