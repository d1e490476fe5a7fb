#pragma once
// An up-down (a pair of arrow buttons) joined to the value field on its left: the arrows,
// a held mouse button and the Up and Down keys in the field step the position, and the
// position is written into the field as decimal text.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/auto_repeat.h"
#include "ui/window.h"

namespace ui {

class Edit;

struct UpDownArgs {
    int x = 0, y = 0, w = 11, h = 21;
    int min = 0, max = 100;
    int position = 0;
    int increment = 1;
    bool wrap = false;       // past one end goes to the other
    bool arrowKeys = true;   // Up and Down in the joined field step too
    int fieldChars = 3;      // the field shows at least this many characters, blanks on the left
};

class UpDown : public Window {
public:
    UpDown(Window& parent, const UpDownArgs& a);
    ~UpDown() override;

    // Joins the value field; it shows the position from now on.
    void associate(Edit& field);
    Edit* associated() const { return field_; }

    int position() const { return pos_; }
    // Positions outside the range are clamped to it.
    void setPosition(int p);
    int min() const { return min_; }
    int max() const { return max_; }
    // One step up (+1) or down (-1), as a click on an arrow does.
    void step(int direction);
    // Runs after a step changed the position.
    std::function<void()> onChange;

    // The text a field of `chars` characters shows for v: right-aligned, padded with blanks;
    // a longer number is shown in full.
    static std::wstring format(int v, int chars);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static LRESULT CALLBACK fieldProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void showPosition();
    void paint(HDC dc);
    void release();

    int min_, max_, pos_, increment_;
    bool wrap_, arrowKeys_;
    int fieldChars_;
    Edit* field_ = nullptr;
    HWND fieldHwnd_ = nullptr;
    int pressed_ = 0;  // +1 upper arrow held, -1 lower arrow held
    AutoRepeat repeat_;
};

}  // namespace ui
