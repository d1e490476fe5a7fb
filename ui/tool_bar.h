#pragma once
// Flat picture buttons drawn by the bar that holds them. Under Wine a child window costs about
// a millisecond to make and as much again to paint, and the preview opens with eleven buttons.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace ui {

class ToolBar;

struct ToolButtonArgs {
    int x = 0, y = 0, w = 25, h = 25;
    const Picture* glyph = nullptr;
    std::wstring hint;
    int groupIndex = 0;  // buttons of one group work as radio buttons
};

// A button that does not take the focus, with a hint on hover.
class ToolButton {
public:
    ToolButton(ToolBar& bar, const std::wstring& name, const ToolButtonArgs& a);
    ToolButton(const ToolButton&) = delete;
    ToolButton& operator=(const ToolButton&) = delete;

    const std::wstring name;
    std::function<void()> onClick;
    // What a click does: a button of a group stays down, then onClick.
    void click();
    void setDown(bool d);
    bool down() const { return down_; }
    const std::wstring& hint() const { return hint_; }
    // In the bar's client coordinates.
    const RECT& rect() const { return rect_; }
    ToolBar& bar() const { return bar_; }

private:
    friend class ToolBar;
    void paint(HDC dc, bool pressed, bool hot, bool enabled) const;
    ToolBar& bar_;
    RECT rect_;
    const Picture* glyph_;
    std::wstring hint_;
    int group_;
    bool down_ = false;
};

class ToolBar : public Panel {
public:
    ToolBar(Window& parent, const PanelArgs& a);
    ToolButton& addButton(const std::wstring& name, const ToolButtonArgs& a);
    ToolButton* button(const std::wstring& name) const;
    const std::vector<std::unique_ptr<ToolButton>>& buttons() const { return buttons_; }
    // The hints' window: made at the first hover over a button with a hint, since a hint is
    // a top-level window and would slow down the window that opens with the bar.
    HWND hintWindow() const { return tip_; }
    void redraw(const ToolButton& b);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc, const RECT& area) override;

private:
    ToolButton* at(POINT p) const;
    void makeHints(const MSG& first);
    void setHot(ToolButton* b);
    std::vector<std::unique_ptr<ToolButton>> buttons_;
    ToolButton* pressed_ = nullptr;
    ToolButton* hot_ = nullptr;
    bool tracking_ = false;
    HWND tip_ = nullptr;
};

}  // namespace ui
