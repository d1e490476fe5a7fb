#include "ui/timer.h"

#include <map>

#include "ui/window.h"

namespace ui {

namespace {
std::map<UINT_PTR, Timer*>& timers() {
    static std::map<UINT_PTR, Timer*> m;
    return m;
}
}  // namespace

Timer::Timer(UINT intervalMs, std::function<void()> onTimer) : interval_(intervalMs), onTimer_(std::move(onTimer)) {}

Timer::~Timer() { stop(); }

void Timer::start() {
    if (id_) return;
    id_ = SetTimer(nullptr, 0, interval_, proc);
    if (id_) timers()[id_] = this;
}

void Timer::stop() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    timers().erase(id_);
    id_ = 0;
}

void Timer::setInterval(UINT ms) {
    interval_ = ms;
    if (id_) {
        stop();
        start();
    }
}

void Timer::fire() {
    if (onTimer_) guarded(onTimer_);
}

void CALLBACK Timer::proc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = timers().find(id);
    if (it != timers().end()) it->second->fire();
}

}  // namespace ui
