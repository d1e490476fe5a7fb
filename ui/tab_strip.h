#pragma once
// The row of page tabs above a page control and the raised frame around its pages, drawn by
// ourselves: the system's tab control would bring the common controls library into the start.
#include <functional>
#include <string>
#include <vector>

#include "ui/window.h"

namespace ui {

struct TabStripArgs {
    int w = 200, h = 200;  // the whole control: the tabs and the frame below them
    int tabWidth = 0, tabHeight = 0;  // 0: as wide as the caption, as high as the font
    HFONT font = nullptr;
};

class TabStrip : public Window {
public:
    TabStrip(Window& parent, const TabStripArgs& a);
    void addTab(const std::wstring& caption);
    int count() const { return static_cast<int>(captions_.size()); }
    int selected() const { return selected_; }
    // Draws the tab as chosen; calls nothing back.
    void select(int i);
    // Where tab i is while not chosen, in this window's coordinates.
    RECT tabRect(int i) const;
    // The part of the frame that the pages fill.
    RECT pageRect() const;
    // The user chose tab i, by a click or an arrow key.
    std::function<void(int)> onSelect;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void paint(HDC dc) const;
    int rowHeight() const;
    HFONT tabFont() const;
    int tabAt(POINT p) const;
    void choose(int i);

    int tabWidth_, tabHeight_;
    std::vector<std::wstring> captions_;
    std::vector<int> lefts_;  // each tab's left edge; one more for the right edge of the last
    int selected_ = -1;
};

}  // namespace ui
