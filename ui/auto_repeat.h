#pragma once
// The repeat of a held arrow button: one step at once, the next after a pause, then quicker.
#include <windows.h>

#include <functional>

#include "ui/timer.h"

namespace ui {

class AutoRepeat {
public:
    explicit AutoRepeat(UINT firstDelayMs = 400, UINT repeatMs = 100);
    // Runs step now, again after the first delay, then every repeat interval until stop().
    void start(std::function<void()> step);
    void stop();

private:
    void tick();
    UINT firstDelay_;
    UINT repeat_;
    std::function<void()> step_;
    Timer timer_;
};

}  // namespace ui
