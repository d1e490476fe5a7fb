#include "shell/blank_settings.h"

#include <windows.h>

#include "shell/print_offsets.h"
#include "ui/error.h"

namespace SettingsUnit {

TBlankSettings BlankSettings;

namespace {
constexpr wchar_t kSection[] = L"Blanks";
constexpr wchar_t kShrink[] = L"ShrinkToFit";
constexpr wchar_t kPicture1[] = L"Picture1";
constexpr wchar_t kPicture2[] = L"Picture2";

std::wstring ReadKey(const std::wstring& path, const wchar_t* key) {
    wchar_t buf[MAX_PATH * 4] = {};
    GetPrivateProfileStringW(kSection, key, L"", buf, static_cast<DWORD>(std::size(buf)), path.c_str());
    return buf;
}

void WriteKey(const std::wstring& path, const wchar_t* key, const std::wstring& value) {
    if (!WritePrivateProfileStringW(kSection, key, value.c_str(), path.c_str()))
        throw ui::Error(L"Unable to write to " + path);
}
}  // namespace

TBlankSettings ReadBlankSettings() {
    TBlankSettings v;
    if (!IniFileExists()) return v;
    const std::wstring path = IniPath();
    v.ShrinkToFit = ReadKey(path, kShrink) == L"1";
    v.Picture1 = ReadKey(path, kPicture1);
    v.Picture2 = ReadKey(path, kPicture2);
    return v;
}

void LoadBlankSettings() { BlankSettings = ReadBlankSettings(); }

void WriteBlankSettings(const TBlankSettings& v) {
    const std::wstring path = IniPath();
    WriteKey(path, kShrink, v.ShrinkToFit ? L"1" : L"0");
    WriteKey(path, kPicture1, v.Picture1);
    WriteKey(path, kPicture2, v.Picture2);
}

}  // namespace SettingsUnit
