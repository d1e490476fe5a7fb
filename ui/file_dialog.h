#pragma once
// The common open and save dialogs; each remembers the last name chosen in it.
#include <windows.h>

#include <string>
#include <vector>

namespace ui {

struct FileDialogArgs {
    std::wstring title;
    std::wstring filter;  // "Description|*.ext|..." as forms write it
    std::wstring defaultExt;
    std::wstring fileName;  // initial name
    bool hideReadOnly = true;
    bool overwritePrompt = false;
    bool fileMustExist = false;
    bool allowMultiSelect = false;  // Open only: several files of one folder
};

class FileDialog {
public:
    enum class Kind { Open, Save };
    FileDialog(Kind kind, FileDialogArgs args) : kind_(kind), args_(std::move(args)) {}
    // Shows the dialog; true when the user confirmed. fileName() then holds the choice.
    bool execute(HWND owner);
    const std::wstring& fileName() const { return args_.fileName; }
    void setFileName(const std::wstring& n) { args_.fileName = n; }
    // Every file chosen, full paths; fileName() is the first of them.
    const std::vector<std::wstring>& fileNames() const { return fileNames_; }
    // The dialog's answer "folder\0name\0name\0\0", or "path\0\0" for one file.
    static std::vector<std::wstring> splitMultiSelect(const wchar_t* buffer);
    int filterIndex() const { return filterIndex_; }
    void setFilterIndex(int i) { filterIndex_ = i; }
    // "A|B|C|D" -> "A\0B\0C\0D\0\0"
    static std::wstring filterString(const std::wstring& formFilter);

private:
    Kind kind_;
    FileDialogArgs args_;
    int filterIndex_ = 1;
    std::vector<std::wstring> fileNames_;
};

}  // namespace ui
