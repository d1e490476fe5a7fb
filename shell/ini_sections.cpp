#include "shell/ini_sections.h"

#include "ui/cp1251.h"

namespace SettingsUnit {

namespace {

wchar_t folded(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
    if (c >= 0x410 && c <= 0x42F) return static_cast<wchar_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 80);
    return c;
}

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

struct Line {
    std::size_t begin, end;  // end: past the line's '\n' (or the file's end)
    std::string_view text;   // without the line end, trimmed
};

std::vector<Line> linesOf(std::string_view bytes) {
    std::vector<Line> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t nl = bytes.find('\n', at);
        std::size_t end = nl == std::string_view::npos ? bytes.size() : nl + 1;
        lines.push_back({at, end, trimmed(bytes.substr(at, (nl == std::string_view::npos ? bytes.size() : nl) - at))});
        at = end;
    }
    return lines;
}

// The name of a section header line, or nothing for another line.
bool headerName(std::string_view line, std::wstring& name) {
    if (line.empty() || line.front() != '[') return false;
    std::string_view inner = line.substr(1);
    inner = inner.substr(0, inner.find(']'));
    name = ui::fromCp1251(trimmed(inner));
    return true;
}

}  // namespace

bool SameIniName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i])) return false;
    return true;
}

const std::wstring* TIniSection::Find(std::wstring_view key) const {
    for (const auto& [k, v] : keys)
        if (SameIniName(k, key)) return &v;
    return nullptr;
}

std::vector<TIniSection> ParseIni(std::string_view bytes) {
    std::vector<TIniSection> sections;
    for (const Line& line : linesOf(bytes)) {
        std::wstring name;
        if (headerName(line.text, name)) {
            sections.push_back({name, {}});
            continue;
        }
        if (sections.empty() || line.text.empty() || line.text.front() == ';') continue;
        const auto eq = line.text.find('=');
        if (eq == std::string_view::npos) continue;
        sections.back().keys.emplace_back(ui::fromCp1251(trimmed(line.text.substr(0, eq))),
                                          ui::fromCp1251(trimmed(line.text.substr(eq + 1))));
    }
    return sections;
}

std::string ReplaceIniSection(std::string_view bytes, std::wstring_view name, std::string_view section) {
    const std::vector<Line> lines = linesOf(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::wstring found;
        if (!headerName(lines[i].text, found) || !SameIniName(found, name)) continue;
        std::size_t end = lines[i].end;
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            std::wstring next;
            if (headerName(lines[j].text, next)) break;
            if (!lines[j].text.empty()) end = lines[j].end;
        }
        std::string out(bytes.substr(0, lines[i].begin));
        out += section;
        // A last line without its line end was the file's end; the blank lines after the
        // section stay between it and the next.
        out += bytes.substr(end);
        return out;
    }
    std::string out(bytes);
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out += section;
    return out;
}

}  // namespace SettingsUnit
