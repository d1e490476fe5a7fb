// Controls that are not windows of their own but drawn by the panel that holds them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/gui/gui_util.h"
#include "ui/form.h"
#include "ui/tool_bar.h"

using namespace guitest;

namespace {

class BarForm : public ui::Form {
public:
    BarForm() {
        ui::FormArgs a;
        a.clientWidth = 200;
        a.clientHeight = 60;
        createForm(a);
        bar = &add<ui::ToolBar>(*this, ui::PanelArgs{0, 0, 200, 33});
    }
    ui::ToolBar* bar;
};

COLORREF PixelAt(const ui::ToolButton& b, int dx, int dy) {
    HDC dc = GetDC(b.bar().hwnd());
    const COLORREF c = GetPixel(dc, b.rect().left + dx, b.rect().top + dy);
    ReleaseDC(b.bar().hwnd(), dc);
    return c;
}

POINT Middle(const ui::ToolButton& b) {
    POINT p{(b.rect().left + b.rect().right) / 2, (b.rect().top + b.rect().bottom) / 2};
    ClientToScreen(b.bar().hwnd(), &p);
    return p;
}

}  // namespace

// A click counts only where the button that went down is let go; a button of a group stays
// down and lets the others of its group up; a button held when something else takes the
// mouse comes back up.
TEST(ToolBar, ClicksCountWhereLetGoAndAGroupKeepsOneDown) {
    BarForm f;
    std::wstring clicks;
    ui::ToolButton& a = f.bar->addButton(L"a", ui::ToolButtonArgs{4, 4, 25, 25, nullptr, L"", 1});
    ui::ToolButton& b = f.bar->addButton(L"b", ui::ToolButtonArgs{29, 4, 25, 25, nullptr, L"", 1});
    ui::ToolButton& c = f.bar->addButton(L"c", ui::ToolButtonArgs{60, 4, 25, 25, nullptr, L"", 0});
    for (ui::ToolButton* t : {&a, &b, &c}) t->onClick = [&clicks, t] { clicks += t->name; };
    f.show();
    activate(f.hwnd());

    click(a);
    click(b);
    click(c);
    EXPECT_EQ(clicks, L"abc");
    EXPECT_FALSE(a.down());
    EXPECT_TRUE(b.down());
    EXPECT_FALSE(c.down());
    const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(PixelAt(a, 5, 5), face);
    EXPECT_EQ(PixelAt(b, 5, 5), light);

    // Down on c, up over a: neither counts.
    INPUT slide[3] = {mouseAt(Middle(c), MOUSEEVENTF_LEFTDOWN), mouseAt(Middle(a)), mouseAt(Middle(a), MOUSEEVENTF_LEFTUP)};
    SendInput(3, slide, sizeof(INPUT));
    pump(40);
    EXPECT_EQ(clicks, L"abc");
    EXPECT_TRUE(b.down());

    INPUT press = mouseAt(Middle(c), MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &press, sizeof(INPUT));
    pump(40);
    EXPECT_EQ(PixelAt(c, 0, 0), GetSysColor(COLOR_BTNSHADOW));
    SetCapture(f.hwnd());
    pump(40);
    EXPECT_NE(PixelAt(c, 0, 0), GetSysColor(COLOR_BTNSHADOW));
    INPUT release = mouseAt(Middle(c), MOUSEEVENTF_LEFTUP);
    SendInput(1, &release, sizeof(INPUT));
    pump(40);
    ReleaseCapture();
    EXPECT_EQ(clicks, L"abc");
}

// A caption's text and place change on screen with the next paint, and nothing stays behind
// where it was.
TEST(Caption, NewTextAndPlaceShowOnScreen) {
    BarForm f;
    ui::Panel::Caption& c = f.bar->addCaption(L"c", ui::LabelArgs{L"", 110, 3, 80, 13});
    f.show();
    activate(f.hwnd());
    UpdateWindow(f.bar->hwnd());
    EXPECT_EQ(darkPixels(f.bar->hwnd(), c.rect()), 0);
    c.setText(L"Page 1 of 2");
    UpdateWindow(f.bar->hwnd());
    EXPECT_GT(darkPixels(f.bar->hwnd(), c.rect()), 20);
    const RECT before = c.rect();
    c.setBounds(110, 17, 80, 13);
    UpdateWindow(f.bar->hwnd());
    EXPECT_EQ(darkPixels(f.bar->hwnd(), before), 0);
    EXPECT_GT(darkPixels(f.bar->hwnd(), c.rect()), 20);
}
