#include "ui/auto_repeat.h"

namespace ui {

AutoRepeat::AutoRepeat(UINT firstDelayMs, UINT repeatMs)
    : firstDelay_(firstDelayMs), repeat_(repeatMs), timer_(firstDelayMs, [this] { tick(); }) {}

void AutoRepeat::start(std::function<void()> step) {
    stop();
    step_ = std::move(step);
    if (step_) step_();
    timer_.setInterval(firstDelay_);
    timer_.start();
}

void AutoRepeat::stop() {
    timer_.stop();
    step_ = nullptr;
}

void AutoRepeat::tick() {
    if (timer_.interval() != repeat_) timer_.setInterval(repeat_);
    if (step_) {
        // A step that throws ends the repeat, or its error box would come back every tick.
        try {
            step_();
        } catch (...) {
            stop();
            throw;
        }
    }
}

}  // namespace ui
