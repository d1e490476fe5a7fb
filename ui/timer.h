#pragma once
// A timer that fires on the UI thread through the message loop; stops when destroyed.
#include <windows.h>

#include <functional>

namespace ui {

class Timer {
public:
    Timer(UINT intervalMs, std::function<void()> onTimer);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    void start();
    void stop();
    bool running() const { return id_ != 0; }
    void setInterval(UINT ms);
    UINT interval() const { return interval_; }
    // Runs the handler as a tick would.
    void fire();

private:
    static void CALLBACK proc(HWND, UINT, UINT_PTR, DWORD);
    UINT interval_;
    std::function<void()> onTimer_;
    UINT_PTR id_ = 0;
};

}  // namespace ui
