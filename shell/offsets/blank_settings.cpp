#include "shell/offsets/blank_settings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "shell/offsets/ini_sections.h"
#include "shell/offsets/print_offsets.h"
#include "ui/error.h"

namespace SettingsUnit {

TBlankSettings BlankSettings;

namespace {
constexpr wchar_t kSection[] = L"Blanks";
constexpr wchar_t kShrink[] = L"ShrinkToFit";
constexpr wchar_t kPicture1[] = L"Picture1";
constexpr wchar_t kPicture2[] = L"Picture2";

// The file is text in the system's code page, which may lack the letters of a folder's
// name: a path keeps them as "%uXXXX" (and "%" as "%25"), plain ASCII staying as it is.
std::wstring Escaped(const std::wstring& s) {
    std::wstring out;
    for (wchar_t c : s) {
        if (c == L'%') {
            out += L"%25";
        } else if (c < 0x20 || c > 0x7E) {
            wchar_t buf[8];
            swprintf(buf, 8, L"%%u%04X", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

bool IsHex4(const std::wstring& s) {
    return s.size() == 4 && std::all_of(s.begin(), s.end(), [](wchar_t c) { return std::iswxdigit(c) != 0; });
}

std::wstring Unescaped(const std::wstring& s) {
    std::wstring out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 3, L"%25") == 0) {
            out += L'%';
            i += 2;
        } else if (s[i] == L'%' && i + 6 <= s.size() && s[i + 1] == L'u' && IsHex4(s.substr(i + 2, 4))) {
            out += static_cast<wchar_t>(std::wcstoul(s.substr(i + 2, 4).c_str(), nullptr, 16));
            i += 5;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

TBlankSettings ReadBlankSettings() {
    TBlankSettings v;
    const auto bytes = IniBytes();
    if (!bytes) return v;
    const auto sections = ParseIni(*bytes);
    const TIniSection* section = FindIniSection(sections, kSection);
    if (!section) return v;
    const auto value = [section](const wchar_t* key) {
        const std::wstring* found = section->Find(key);
        return found ? *found : std::wstring();
    };
    v.ShrinkToFit = value(kShrink) == L"1";
    v.Picture1 = Unescaped(value(kPicture1));
    v.Picture2 = Unescaped(value(kPicture2));
    return v;
}

void LoadBlankSettings() { BlankSettings = ReadBlankSettings(); }

void WriteBlankSettings(const TBlankSettings& v) {
    WriteIniKeys(kSection, {{kShrink, v.ShrinkToFit ? L"1" : L"0"},
                            {kPicture1, Escaped(v.Picture1)},
                            {kPicture2, Escaped(v.Picture2)}});
}

}  // namespace SettingsUnit
