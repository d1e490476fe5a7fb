#pragma once
// A spin edit: an integer field with two arrow buttons. Typed keys are filtered (digits,
// sign, decimal separator, control keys), refused keys beep; the buttons and the Up and
// Down keys step the value, a held button repeats; stepping and leaving clamp to the range.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "ui/auto_repeat.h"
#include "ui/window.h"

namespace ui {

class Edit;

struct SpinEditArgs {
    int x = 0, y = 0, w = 44, h = 22;
    int minValue = 0, maxValue = 100;
    int value = 0;
    int increment = 1;
};

class SpinEdit : public Window {
public:
    SpinEdit(Window& parent, const SpinEditArgs& a);
    ~SpinEdit() override;

    // The text read as an integer and clamped to the range; text that is no integer
    // counts as the minimum.
    int value() const;
    // Clamps and shows v.
    void setValue(int v);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    void step(int direction);

    Edit& field() const;
    HWND buttons() const;

    // Runs after a step changed the value.
    std::function<void()> onChange;
    // A typed character the field refuses; empty: the system beep.
    std::function<void(wchar_t)> onRefusedKey;

    // Whether the field takes a typed character.
    static bool acceptsChar(wchar_t c);
    // The integer syntax of the field: leading blanks, an optional sign, decimal digits.
    static std::optional<long long> parse(const std::wstring& text);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    class Field;
    class Buttons;
    friend class Field;
    friend class Buttons;
    void refuse(wchar_t c);
    void press(int direction);
    void release();
    void clampShown();

    int min_, max_, increment_;
    Field* field_ = nullptr;
    Buttons* buttons_ = nullptr;
    int held_ = 0;
    AutoRepeat repeat_;
};

}  // namespace ui
