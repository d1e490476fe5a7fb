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
    BOOL ok = kind_ == Kind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!ok) {
        DWORD err = CommDlgExtendedError();
        if (err != 0) throw Error(L"The file dialog failed (error " + std::to_wstring(err) + L")");
        return false;
    }
    args_.fileName = buf.data();
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}

}  // namespace ui
