#pragma once
// Menus as data: items with mnemonics ("&"), separators and handlers.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/handles.h"

namespace ui {

struct MenuItem {
    std::wstring name;     // mnFile, mnOpen, ...
    std::wstring caption;  // "&Файл"; empty with separator
    std::function<void()> onClick;
    std::vector<MenuItem> items;  // a submenu when not empty
    bool separator = false;
};

inline MenuItem menuSeparator(const std::wstring& name) { return MenuItem{name, L"", nullptr, {}, true}; }

// Builds a menu bar; collects handlers and names by command id.
MenuHandle buildMenuBar(const std::vector<MenuItem>& items, std::map<UINT, std::function<void()>>& commands,
                        std::map<std::wstring, UINT>& ids);

}  // namespace ui
