#include "ui/menu.h"

#include "ui/error.h"

namespace ui {

namespace {
UINT nextId = 100;

void fill(HMENU menu, const std::vector<MenuItem>& items, std::map<UINT, std::function<void()>>& commands,
          std::map<std::wstring, UINT>& ids) {
    for (const auto& it : items) {
        if (it.separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        if (!it.items.empty()) {
            HMENU sub = CreatePopupMenu();
            fill(sub, it.items, commands, ids);
            AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), it.caption.c_str());
            continue;
        }
        UINT id = nextId++;
        AppendMenuW(menu, MF_STRING, id, it.caption.c_str());
        commands[id] = it.onClick;
        ids[it.name] = id;
    }
}
}  // namespace

MenuHandle buildMenuBar(const std::vector<MenuItem>& items, std::map<UINT, std::function<void()>>& commands,
                        std::map<std::wstring, UINT>& ids) {
    MenuHandle bar(CreateMenu());
    if (!bar) throwLastError(L"Cannot create menu");
    fill(bar.get(), items, commands, ids);
    return bar;
}

}  // namespace ui
