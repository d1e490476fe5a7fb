#include "shell/offsets/ini_sections.h"

#include <algorithm>

#include "ui/cp1251.h"
#include "ui/utf8.h"

namespace SettingsUnit {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

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
    std::string_view text;   // without the line end (and a byte-order mark), trimmed
};

std::vector<Line> linesOf(std::string_view bytes) {
    std::vector<Line> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t nl = bytes.find('\n', at);
        std::size_t end = nl == std::string_view::npos ? bytes.size() : nl + 1;
        std::string_view text = bytes.substr(at, (nl == std::string_view::npos ? bytes.size() : nl) - at);
        if (at == 0 && text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
        lines.push_back({at, end, trimmed(text)});
        at = end;
    }
    return lines;
}

class Codec {
public:
    explicit Codec(std::string_view bytes) : utf8_(IniIsUtf8(bytes)) {}
    std::wstring decode(std::string_view s) const { return utf8_ ? ui::fromUtf8(s) : ui::fromCp1251(s); }
    std::optional<std::string> encode(std::wstring_view s) const {
        if (utf8_) return ui::toUtf8(s);
        return ui::toCp1251(s);
    }

private:
    bool utf8_;
};

// The name of a section header line, or nothing for another line.
bool headerName(const Codec& codec, std::string_view line, std::wstring& name) {
    if (line.empty() || line.front() != '[') return false;
    std::string_view inner = line.substr(1);
    inner = inner.substr(0, inner.find(']'));
    name = codec.decode(trimmed(inner));
    return true;
}

// A key line's name, or nothing for a comment or a line without "=".
bool keyName(const Codec& codec, std::string_view line, std::wstring& name) {
    if (line.empty() || line.front() == ';') return false;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    name = codec.decode(trimmed(line.substr(0, eq)));
    return true;
}

std::string_view unquoted(std::string_view v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
    return v;
}

// How the file's lines end: as its first line does; CR LF for a file of one line or none.
std::string lineEnd(std::string_view bytes) {
    const auto nl = bytes.find('\n');
    if (nl == std::string_view::npos) return "\r\n";
    return nl > 0 && bytes[nl - 1] == '\r' ? "\r\n" : "\n";
}

}  // namespace

bool SameIniName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i])) return false;
    return true;
}

bool IniIsUtf8(std::string_view bytes) {
    if (bytes.substr(0, kBom.size()) == kBom) return true;
    const bool beyondAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    // Russian text in Windows-1251 is next to never valid UTF-8.
    return beyondAscii && ui::toUtf8(ui::fromUtf8(bytes)) == bytes;
}

const std::wstring* TIniSection::Find(std::wstring_view key) const {
    for (const auto& [k, v] : keys)
        if (SameIniName(k, key)) return &v;
    return nullptr;
}

std::vector<TIniSection> ParseIni(std::string_view bytes) {
    const Codec codec(bytes);
    std::vector<TIniSection> sections;
    for (const Line& line : linesOf(bytes)) {
        std::wstring name;
        if (headerName(codec, line.text, name)) {
            sections.push_back({name, {}});
            continue;
        }
        if (sections.empty() || !keyName(codec, line.text, name)) continue;
        sections.back().keys.emplace_back(name,
                                          codec.decode(unquoted(trimmed(line.text.substr(line.text.find('=') + 1)))));
    }
    return sections;
}

const TIniSection* FindIniSection(const std::vector<TIniSection>& sections, std::wstring_view name) {
    for (const TIniSection& s : sections)
        if (SameIniName(s.name, name)) return &s;
    return nullptr;
}

bool IniCanHoldName(std::string_view bytes, std::wstring_view name) {
    return name.find_first_of(L"[]\r\n") == std::wstring_view::npos && Codec(bytes).encode(name).has_value();
}

std::optional<std::string> SetIniKeys(std::string_view bytes, std::wstring_view section,
                                      const std::vector<std::pair<std::wstring, std::wstring>>& keys) {
    const Codec codec(bytes);
    const std::string eol = lineEnd(bytes);
    std::vector<std::pair<std::string, std::string>> encoded;  // name, value
    for (const auto& [k, v] : keys) {
        auto name = codec.encode(k);
        auto value = codec.encode(v);
        if (!name || !value || v.find_first_of(L"\r\n") != std::wstring::npos) return std::nullopt;
        encoded.emplace_back(*name, *value);
    }
    const std::vector<Line> lines = linesOf(bytes);
    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size() && header == lines.size(); ++i) {
        std::wstring found;
        if (headerName(codec, lines[i].text, found) && SameIniName(found, section)) header = i;
    }
    std::string out;
    if (header == lines.size()) {
        const auto name = codec.encode(section);
        if (!name || !IniCanHoldName(bytes, section)) return std::nullopt;
        out = std::string(bytes);
        if (!out.empty() && out.back() != '\n') out += eol;
        out += "[" + *name + "]" + eol;
        for (const auto& [k, v] : encoded) out += k + "=" + v + eol;
        return out;
    }
    std::vector<bool> done(encoded.size(), false);
    std::size_t last = header;  // the line after which missing keys go
    std::size_t end = lines.size();
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        std::wstring name;
        if (headerName(codec, lines[i].text, name)) {
            end = i;
            break;
        }
        if (keyName(codec, lines[i].text, name)) last = i;
    }
    std::size_t at = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        std::string_view raw = bytes.substr(l.begin, l.end - l.begin);
        std::wstring name;
        if (i > header && i < end && keyName(codec, l.text, name)) {
            for (std::size_t k = 0; k < keys.size(); ++k) {
                if (done[k] || !SameIniName(name, keys[k].first)) continue;
                done[k] = true;
                // The line up to its "=", the new value, the line's own end.
                const std::size_t eq = raw.find('=');
                const std::size_t body = raw.find_last_not_of("\r\n");
                const std::string_view ending = body == std::string_view::npos ? raw : raw.substr(body + 1);
                out += std::string(raw.substr(0, eq + 1)) + encoded[k].second + std::string(ending);
                raw = {};
                break;
            }
        }
        out += raw;
        at = l.end;
        if (i == last) {
            if (!out.empty() && out.back() != '\n') out += eol;
            for (std::size_t k = 0; k < encoded.size(); ++k)
                if (!done[k]) out += encoded[k].first + "=" + encoded[k].second + eol;
        }
    }
    out += bytes.substr(at);
    return out;
}

}  // namespace SettingsUnit
