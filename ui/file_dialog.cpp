#include "ui/file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "ui/error.h"

namespace ui {

std::wstring FileDialog::filterString(const std::wstring& formFilter) {
    std::wstring s = formFilter;
    for (auto& c : s)
        if (c == L'|') c = L'\0';
    s.push_back(L'\0');
    s.push_back(L'\0');
    return s;
}

std::vector<std::wstring> FileDialog::splitMultiSelect(const wchar_t* buffer) {
    std::vector<std::wstring> parts;
    for (const wchar_t* p = buffer; *p; p += parts.back().size() + 1) parts.emplace_back(p);
    if (parts.size() < 2) return parts;
    std::wstring folder = parts.front();
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    std::vector<std::wstring> names;
    for (size_t i = 1; i < parts.size(); ++i) names.push_back(folder + parts[i]);
    return names;
}

bool FileDialog::execute(HWND owner) {
    std::vector<wchar_t> buf(32768, L'\0');
    args_.fileName.copy(buf.data(), std::min(args_.fileName.size(), buf.size() - 1));
    std::wstring filter = filterString(args_.filter);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = args_.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = buf.data();
    ofn.nMaxFile = static_cast<DWORD>(buf.size());
    ofn.lpstrTitle = args_.title.empty() ? nullptr : args_.title.c_str();
    ofn.lpstrDefExt = args_.defaultExt.empty() ? nullptr : args_.defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (args_.hideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
    if (args_.overwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (args_.fileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
    const bool multi = args_.allowMultiSelect && kind_ == Kind::Open;
    if (multi) {
        ofn.Flags |= OFN_ALLOWMULTISELECT;
        // The initial name would stand in the answer's place; a list starts afresh.
        buf[0] = L'\0';
    }
    BOOL ok = kind_ == Kind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!ok) {
        DWORD err = CommDlgExtendedError();
        if (err != 0) throw Error(L"The file dialog failed (error " + std::to_wstring(err) + L")");
        return false;
    }
    fileNames_ = multi ? splitMultiSelect(buf.data()) : std::vector<std::wstring>{buf.data()};
    args_.fileName = fileNames_.empty() ? std::wstring() : fileNames_.front();
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}

}  // namespace ui
